#include "sys/path_text.h"

std::string folderPartOf(const std::string& path) {
    const auto cut = path.find_last_of("\\:");
    return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

std::string parentFolderOf(const std::string& folder) {
    return folderPartOf(withoutTrailingBackslash(folder));
}

std::string lowerCaseExtension(const std::string& path) {
    const auto nameStart = path.find_last_of("\\:");
    const auto dot = path.find_last_of('.');
    if (dot == std::string::npos || (nameStart != std::string::npos && dot < nameStart)) return {};
    std::string extension = path.substr(dot);
    for (char& c : extension) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return extension;
}

std::string withoutTrailingBackslash(const std::string& path) {
    if (!path.empty() && path.back() == '\\') return path.substr(0, path.size() - 1);
    return path;
}
