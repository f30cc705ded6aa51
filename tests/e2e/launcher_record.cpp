#include "tests/e2e/launcher_record.h"

#include <windows.h>

#include <fstream>

namespace e2e {
namespace {

std::string hexOf(const std::string& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    for (unsigned char c : bytes) {
        hex += digits[c >> 4];
        hex += digits[c & 15];
    }
    return hex;
}

}  // namespace

std::string tempFolder() {
    char path[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, path);
    return path;
}

std::vector<std::string> readLines(const std::string& path) {
    std::vector<std::string> lines;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::string noticeLine(const std::string& text) {
    const std::string data = text + '\0';
    return "copydata dwData=0 cbData=" + std::to_string(data.size()) + " bytes=" + hexOf(data);
}

std::string withoutSender(const std::string& line) {
    const std::size_t from = line.find("sender=");
    const std::size_t to = line.find(' ', from);
    if (from == std::string::npos || to == std::string::npos) return line;
    return line.substr(0, from) + line.substr(to + 1);
}

std::string senderOf(const std::string& line) {
    const std::size_t from = line.find("sender=") + 7;
    return line.substr(from, line.find(' ', from) - from);
}

}  // namespace e2e
