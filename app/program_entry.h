// The process entry: the preparation window first (it becomes the main window), then the
// installer form, whose creation runs the start-up, then the message loop.
#pragma once

#include <windows.h>

#include "app/result_codes.h"

// Returns the process exit code.
int runInstallerProgram(HINSTANCE instance);

// The exit code: 0, or the result code of a quiet install.
void setProcessExitCode(ResultCode code);
