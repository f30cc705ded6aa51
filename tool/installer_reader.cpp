#include "tool/installer_reader.h"

#include <algorithm>

#include "codec/dcl.h"
#include "tool/package_checks.h"
#include "tool/pe_patch.h"

namespace {

std::string slotLabel(std::size_t slot) {
    return "slot " + std::to_string(slot);
}

// The bytes the stub would extract for an entry, or nullopt with a problem line.
std::optional<std::vector<std::uint8_t>> expandEntry(std::span<const std::uint8_t> file,
                                                     std::size_t slot, const SlotView& view,
                                                     std::vector<std::string>& problems) {
    const std::string label = slotLabel(slot) + " \"" + view.entry.name + "\"";
    if (!view.inFile) return std::nullopt;
    const auto stored = file.subspan(static_cast<std::size_t>(view.entry.startOffset),
                                     static_cast<std::size_t>(view.storedSize));
    if (!view.entry.compressed) return std::vector<std::uint8_t>(stored.begin(), stored.end());
    if (view.entry.expandedSize < 0) {
        problems.push_back(label + ": expandedSize " + std::to_string(view.entry.expandedSize) +
                           " is negative");
        return std::nullopt;
    }
    std::vector<std::uint8_t> out;
    const auto expected = static_cast<std::size_t>(view.entry.expandedSize);
    const dcl::Status status = dcl::explode(stored, out, expected);
    if (status != dcl::Status::Ok || out.size() != expected) {
        problems.push_back(label + ": the imploded bytes do not explode to expandedSize " +
                           std::to_string(expected) +
                           (status == dcl::Status::Ok ? " (got " + std::to_string(out.size()) + ")"
                                                      : " (corrupt data)"));
        return std::nullopt;
    }
    return out;
}

void readSaverData(std::span<const std::uint8_t> data, const InstallerHeader& header,
                   InstallerView& view) {
    auto& problems = view.problems;
    const std::string label =
        slotLabel(kSlotSaverData) + " \"" + header.entries[kSlotSaverData].name + "\"";
    if (data.size() < kSaverDataRecordSize) {
        problems.push_back(label + ": the saver data file has " + std::to_string(data.size()) +
                           " bytes, fewer than its 1240-byte record");
        return;
    }
    SaverDataView saver;
    std::copy_n(data.begin(), kSaverDataRecordSize, saver.record.bytes.begin());
    const std::int32_t count = saver.record.dataFileCount();
    // The count itself is judged with the header; read no more than the stub's table holds.
    const std::int64_t readable = std::clamp<std::int64_t>(count, 0, kMaxDataFiles);
    for (std::int64_t i = 0; i < readable; ++i) {
        const std::size_t at =
            kSaverDataRecordSize + kDataFileRecordSize * static_cast<std::size_t>(i);
        const std::string fileLabel = label + " data file " + std::to_string(i + 1);
        if (at + kDataFileRecordSize > data.size()) {
            problems.push_back(fileLabel +
                               ": the file table ends early (the stub reports I/O error 100)");
            break;
        }
        DataFileView file;
        file.record = decodeDataFileRecord(data.subspan(at).first<kDataFileRecordSize>());
        const bool copy = file.record.fileType == kDataFileTypeCopy ||
                          (i == 0 && saver.record.firstDataFileMode() == 3);
        const std::string named = fileLabel + " \"" + file.record.fileName + "\"";
        if (!file.record.fileName.empty()) {
            if (auto problem = dataFileNameProblem(file.record.fileName)) {
                problems.push_back(named + ": the name " + *problem);
            }
        }
        if (copy && i == 0 && header.entries[kSlotPreview].name != kPreviewMovieName &&
            saver.record.firstDataFileMode() != 3) {
            problems.push_back(named +
                               ": a copy as data file 1 needs slot 3 named \"installer.swf\"");
        }
        if (!copy && !file.record.fileName.empty()) {
            const auto blockAt = static_cast<std::int64_t>(file.record.dataOffset);
            if (blockAt < 0 || blockAt + static_cast<std::int64_t>(kDataBlockHeaderSize) >
                                   static_cast<std::int64_t>(data.size())) {
                problems.push_back(named + ": dataOffset " + std::to_string(blockAt) +
                                   " is outside the saver data file");
            } else {
                file.hasBlock = true;
                file.block = decodeDataBlockHeader(
                    data.subspan(static_cast<std::size_t>(blockAt)).first<kDataBlockHeaderSize>());
                const std::int64_t bytesAt =
                    blockAt + static_cast<std::int64_t>(kDataBlockHeaderSize);
                const std::int64_t available = static_cast<std::int64_t>(data.size()) - bytesAt;
                const DataBlockHeader& block = file.block;
                if (block.fileSize < 0) {
                    problems.push_back(named + ": fileSize is negative");
                } else if (block.fileSize == 0) {
                    // The stub writes no file; nothing to read.
                } else if (block.compressed == 0) {
                    if (block.fileSize > available) {
                        problems.push_back(
                            named + ": the stored bytes run past the end of the saver data file");
                    }
                } else if (block.compressedSize <= 0 || block.compressedSize > available) {
                    problems.push_back(named + ": compressedSize " +
                                       std::to_string(block.compressedSize) +
                                       " does not fit in the saver data file");
                } else {
                    std::vector<std::uint8_t> out;
                    const auto expected = static_cast<std::size_t>(block.fileSize);
                    const auto status =
                        dcl::explode(data.subspan(static_cast<std::size_t>(bytesAt),
                                                  static_cast<std::size_t>(block.compressedSize)),
                                     out, expected);
                    if (status != dcl::Status::Ok || out.size() != expected) {
                        problems.push_back(named +
                                           ": the imploded bytes do not explode to fileSize " +
                                           std::to_string(expected));
                    }
                }
            }
        }
        saver.files.push_back(std::move(file));
    }
    view.saverData = std::move(saver);
}

}  // namespace

bool readInstaller(std::span<const std::uint8_t> file, InstallerView& view, std::string& error,
                   const std::function<void(const std::string&)>& progress) {
    view = InstallerView{};
    view.fileSize = file.size();
    InstallerSizeField field;
    if (!findInstallerSizeField(file, field, error)) return false;
    view.pe32Plus = field.pe32Plus;
    view.installerSize = loadLittleEndian32(file, field.fileOffset);
    const std::int64_t headerAt = view.installerSize;
    const std::int64_t headerEnd = headerAt + static_cast<std::int64_t>(kInstallerHeaderSize);
    if (headerAt < 0 || headerEnd > static_cast<std::int64_t>(file.size())) {
        error = "no package: INSTALLER_SIZE_IN_BYTES is " + std::to_string(view.installerSize) +
                " and the file has " + std::to_string(file.size()) +
                " bytes, so no whole header lies there";
        return false;
    }
    view.header = decodeInstallerHeader(
        file.subspan(static_cast<std::size_t>(headerAt)).first<kInstallerHeaderSize>());

    std::optional<std::vector<std::uint8_t>> saverData;
    for (std::size_t slot = 1; slot < kSlotCount; ++slot) {
        SlotView& slotView = view.slots[slot];
        slotView.entry = view.header.entries[slot];
        const PackageEntry& entry = slotView.entry;
        if (entry.name.empty()) continue;
        const std::string label = slotLabel(slot) + " \"" + entry.name + "\"";
        slotView.storedSize = std::int64_t{entry.endOffset} - entry.startOffset + 1;
        if (slotView.storedSize <= 0) {
            view.problems.push_back(label + ": holds no bytes (endOffset " +
                                    std::to_string(entry.endOffset) + " before startOffset " +
                                    std::to_string(entry.startOffset) + ")");
        } else if (entry.startOffset < headerEnd) {
            view.problems.push_back(label + ": startOffset " + std::to_string(entry.startOffset) +
                                    " lies inside the program or the header");
        } else if (entry.endOffset >= static_cast<std::int64_t>(file.size())) {
            view.problems.push_back(label + ": endOffset " + std::to_string(entry.endOffset) +
                                    " lies past the end of the file (" +
                                    std::to_string(file.size()) + " bytes)");
        } else {
            slotView.inFile = true;
        }
        if (slotView.inFile && entry.compressed && slotView.storedSize >= 2) {
            slotView.literalMode = file[static_cast<std::size_t>(entry.startOffset)];
            const int code = file[static_cast<std::size_t>(entry.startOffset) + 1];
            slotView.dictionaryBytes = code >= 4 && code <= 6 ? 64 << code : 0;
        }
        if (progress && slotView.inFile) {
            progress("checking slot " + std::to_string(slot) + " " + entry.name);
        }
        auto bytes = expandEntry(file, slot, slotView, view.problems);
        if (slot == kSlotSaverData) saverData = std::move(bytes);
    }

    if (saverData) readSaverData(*saverData, view.header, view);
    const SaverDataRecord* record = view.saverData ? &view.saverData->record : nullptr;
    auto more = headerProblems(view.header, record, slotLabel);
    view.problems.insert(view.problems.begin(), more.begin(), more.end());
    return true;
}
