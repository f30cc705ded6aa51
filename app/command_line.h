// The program's parameters as the command line gives them: separated by blanks or control
// characters, double quotes group blanks into one parameter and are themselves dropped.
#pragma once

#include <string>
#include <vector>

// Every parameter after the program's own name.
std::vector<std::string> commandLineParameters(const std::string& commandLine);

// "/q" in any letter case, and nothing longer: the quiet-install switch.
bool isQuietSwitch(const std::string& parameter);
