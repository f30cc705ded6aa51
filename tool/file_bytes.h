// Whole-file reads and writes for the tool; messages name the path.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

bool readFileBytes(const std::filesystem::path& path, std::vector<std::uint8_t>& bytes,
                   std::string& error);
bool writeFileBytes(const std::filesystem::path& path, std::span<const std::uint8_t> bytes,
                    std::string& error);

// The path as UTF-8, for messages and stored names.
std::string utf8Of(const std::filesystem::path& path);
