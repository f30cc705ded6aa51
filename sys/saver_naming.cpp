#include "sys/saver_naming.h"

namespace {

std::string asciiLowerCase(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

bool namesItselfASaver(const std::string& name) {
    return containsIgnoringCase(name, "screen saver") ||
           containsIgnoringCase(name, "screensaver") || containsIgnoringCase(name, "saver");
}

}  // namespace

bool containsIgnoringCase(const std::string& text, const std::string& word) {
    return asciiLowerCase(text).find(asciiLowerCase(word)) != std::string::npos;
}

std::string makeInstallerTitle(const std::string& saverName) {
    // The string-table text counts too: a translated table may word it differently.
    if (namesItselfASaver(saverName) || containsIgnoringCase(saverName, kTextScreenSaver)) {
        return std::string(kTextInstall) + ": " + saverName;
    }
    return std::string(kTextInstall) + " " + kTextScreenSaver + ": " + saverName;
}

std::string makeSaverDisplayName(const std::string& saverName) {
    if (namesItselfASaver(saverName)) return saverName;
    return saverName + " " + kTextScreenSaver;
}
