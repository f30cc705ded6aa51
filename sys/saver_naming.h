// NRV_StringUtils: the window title and the listed display name built from the saver name,
// each adding the words Screen Saver only when the name does not already mention a saver.
#pragma once

#include <string>

// The string-table texts the names are built from.
constexpr const char* kTextInstall = "Install";
constexpr const char* kTextScreenSaver = "Screen Saver";

// Yes when word occurs in text, also inside a longer word; case is ignored by the ASCII rule
// (A to Z only, accented letters are left alone).
bool containsIgnoringCase(const std::string& text, const std::string& word);

// "Install: <name>" or "Install Screen Saver: <name>".
std::string makeInstallerTitle(const std::string& saverName);
// "<name>" or "<name> Screen Saver".
std::string makeSaverDisplayName(const std::string& saverName);
