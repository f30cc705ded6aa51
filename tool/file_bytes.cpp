#include "tool/file_bytes.h"

#include <fstream>
#include <limits>

std::string utf8Of(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

bool readFileBytes(const std::filesystem::path& path, std::vector<std::uint8_t>& bytes,
                   std::string& error) {
    bytes.clear();
    std::error_code code;
    if (!std::filesystem::is_regular_file(path, code)) {
        error = "\"" + utf8Of(path) + "\" is not a file that can be read";
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    const auto size = std::filesystem::file_size(path, code);
    if (!in || code) {
        error = "cannot open \"" + utf8Of(path) + "\"";
        return false;
    }
    // A 32-bit build would otherwise wrap the size of a file of 4 GiB or more and read a part.
    if (size > std::numeric_limits<std::size_t>::max() / 2) {
        error = "\"" + utf8Of(path) + "\" is too large to read";
        return false;
    }
    bytes.resize(static_cast<std::size_t>(size));
    if (size > 0 && !in.read(reinterpret_cast<char*>(bytes.data()),
                             static_cast<std::streamsize>(bytes.size()))) {
        error = "cannot read \"" + utf8Of(path) + "\"";
        bytes.clear();
        return false;
    }
    return true;
}

bool writeFileBytes(const std::filesystem::path& path, std::span<const std::uint8_t> bytes,
                    std::string& error) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (out) {
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
    }
    out.close();
    if (!out) {
        error = "cannot write \"" + utf8Of(path) + "\"";
        return false;
    }
    return true;
}
