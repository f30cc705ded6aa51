// Reading a finished installer the way the stub does: INSTALLER_SIZE_IN_BYTES from the program,
// the header there, each slot's bytes, and the saver data file in slot 8. Every problem the
// stub would fail on is collected; nothing is assumed to be well-formed.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "package/package_format.h"

struct SlotView {
    PackageEntry entry;
    std::int64_t storedSize = 0;  // endOffset - startOffset + 1, without overflow
    bool inFile = false;          // the stored bytes lie after the header, inside the file
    int literalMode = -1;         // imploded entries: the stream's first two bytes
    int dictionaryBytes = 0;
};

struct DataFileView {
    DataFileRecord record;
    bool hasBlock = false;  // not a copy record and the block header lies inside the file
    DataBlockHeader block;
};

struct SaverDataView {
    SaverDataRecord record;
    std::vector<DataFileView> files;  // the table as far as it could be read
};

struct InstallerView {
    std::size_t fileSize = 0;
    std::int32_t installerSize = 0;
    bool pe32Plus = false;
    InstallerHeader header;
    std::array<SlotView, kSlotCount> slots{};
    std::optional<SaverDataView> saverData;
    std::vector<std::string> problems;  // one line each; empty when the stub would manage
};

// False only when there is no package to read (not a stub, or no header at
// INSTALLER_SIZE_IN_BYTES); everything else becomes a problem line.
bool readInstaller(std::span<const std::uint8_t> file, InstallerView& view, std::string& error,
                   const std::function<void(const std::string&)>& progress = {});
