#include "app/command_line.h"

namespace {
bool isSeparator(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}
}  // namespace

std::vector<std::string> commandLineParameters(const std::string& commandLine) {
    std::vector<std::string> parameters;
    std::size_t at = 0;
    const std::size_t end = commandLine.size();
    bool first = true;
    while (true) {
        while (at < end && isSeparator(commandLine[at])) ++at;
        if (at >= end) break;
        std::string parameter;
        while (at < end && !isSeparator(commandLine[at])) {
            if (commandLine[at] == '"') {
                ++at;
                while (at < end && commandLine[at] != '"') parameter += commandLine[at++];
                if (at < end) ++at;  // the closing quote
            } else {
                parameter += commandLine[at++];
            }
        }
        // The first item is the program's own name.
        if (!first) parameters.push_back(parameter);
        first = false;
    }
    return parameters;
}

bool isQuietSwitch(const std::string& parameter) {
    return parameter.size() == 2 && parameter[0] == '/' && (parameter[1] == 'q' || parameter[1] == 'Q');
}
