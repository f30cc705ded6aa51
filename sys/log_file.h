// logFile: the trace points the installer calls at its main steps. The installer writes no
// trace file and shows no trace output, so every entry point discards what it receives; the
// calls stay so that a diagnostic build can give them a body in one place.
#pragma once

#include <string_view>

void traceLine(std::string_view text);                              // a line of text
void traceText(std::string_view text, std::string_view detail);     // a text with a second text
void traceEnter(std::string_view operation);                        // entering an operation
void traceLeave(std::string_view operation);                        // leaving it
void traceLeaveWithResult(std::string_view operation, int result);  // leaving with a result
void traceMark();                                                   // a bare mark
