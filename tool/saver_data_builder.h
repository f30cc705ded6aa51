// The saver data file carried in slot 8: SaverDataRecord, file table, then one data block per
// stored data file (DataBlockHeader + stored or imploded bytes).
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "package/package_format.h"
#include "tool/stored_form.h"

struct DataFileInput {
    std::string name;  // relative to the saver's folder, "\" between folders; UTF-8
    std::vector<std::uint8_t> bytes;
    bool copy = false;  // a type-3 record: made at install by copying (bytes unused)
};

struct SaverDataInput {
    std::vector<std::uint8_t> settings;  // the engine's 1240-byte record; empty: all zeros
    std::int32_t firstDataFileMode = 0;  // 3: data file 1 is a copy of the preview movie
    std::vector<DataFileInput> files;    // in table order
    StorageChoice storage{};             // for every stored data file
};

// Reads every file under folder, sub-folders included, in a fixed order (names compared byte by
// byte), so the same folder always gives the same table. Names come back "\"-separated.
bool readDataFolder(const std::filesystem::path& folder, std::vector<DataFileInput>& files,
                    std::string& error);

// Problems with the data files the stub would fail on or be harmed by, one line each.
std::vector<std::string> saverDataProblems(const SaverDataInput& input);

bool buildSaverDataFile(const SaverDataInput& input, std::vector<std::uint8_t>& output,
                        std::string& error,
                        const std::function<void(const std::string&)>& progress = {});
