// Explicit little-endian reading and writing of the package records: the host's struct layout and
// byte order never matter, so the stub (i686 or x86_64) and the tool (any host) agree byte for
// byte.
#include "package/package_format.h"

#include <algorithm>
#include <cstring>

namespace {

// Header field offsets.
constexpr std::size_t kInstallModeAt = 0;
constexpr std::size_t kHasLicenseAt = 1;
constexpr std::size_t kHasPostInstallFileAt = 2;
constexpr std::size_t kCarriesFlashInstallerAt = 3;
constexpr std::size_t kFlashAXInstallerVersionAt = 4;
constexpr std::size_t kOfferControlPanelAt = 5;
constexpr std::size_t kSaverNameAt = 6;

// PackageEntry field offsets.
constexpr std::size_t kNameFieldSize = 256;
constexpr std::size_t kStartOffsetAt = 256;
constexpr std::size_t kEndOffsetAt = 260;
constexpr std::size_t kKindAt = 264;
constexpr std::size_t kCompressedAt = 268;
constexpr std::size_t kExpandedSizeAt = 276;

// SaverDataRecord field offsets.
constexpr std::size_t kDataFileCountAt = 212;
constexpr std::size_t kFirstDataFileModeAt = 1204;

// DataFileRecord field offsets.
constexpr std::size_t kFileTypeAt = 0;
constexpr std::size_t kFileNameAt = 2;
constexpr std::size_t kFileNameSize = 256;
constexpr std::size_t kDataOffsetAt = 260;

// DataBlockHeader field offsets.
constexpr std::size_t kFileSizeAt = 8;
constexpr std::size_t kCompressedSizeAt = 12;
constexpr std::size_t kBlockCompressedAt = 16;

PackageEntry decodeEntry(std::span<const std::uint8_t, kPackageEntrySize> bytes) {
    PackageEntry entry;
    const std::size_t length = bytes[0];  // 0..255, always inside the 256-byte field
    entry.name.assign(reinterpret_cast<const char*>(bytes.data() + 1), length);
    entry.startOffset = loadLittleEndian32(bytes, kStartOffsetAt);
    entry.endOffset = loadLittleEndian32(bytes, kEndOffsetAt);
    entry.kind = loadLittleEndian32(bytes, kKindAt);
    entry.compressed = bytes[kCompressedAt] != 0;
    entry.expandedSize = loadLittleEndian32(bytes, kExpandedSizeAt);
    return entry;
}

void encodeEntry(const PackageEntry& entry, std::span<std::uint8_t, kPackageEntrySize> bytes) {
    std::fill(bytes.begin(), bytes.end(), std::uint8_t{0});
    const std::size_t length = std::min(entry.name.size(), kMaxEntryNameLength);
    bytes[0] = static_cast<std::uint8_t>(length);
    std::memcpy(bytes.data() + 1, entry.name.data(), length);
    storeLittleEndian32(bytes, kStartOffsetAt, entry.startOffset);
    storeLittleEndian32(bytes, kEndOffsetAt, entry.endOffset);
    storeLittleEndian32(bytes, kKindAt, entry.kind);
    bytes[kCompressedAt] = entry.compressed ? 1 : 0;
    storeLittleEndian32(bytes, kExpandedSizeAt, entry.expandedSize);
}

}  // namespace

std::int32_t loadLittleEndian32(std::span<const std::uint8_t> bytes, std::size_t offset) {
    if (offset > bytes.size() || bytes.size() - offset < 4) return 0;
    const std::uint32_t value =
        std::uint32_t{bytes[offset]} | (std::uint32_t{bytes[offset + 1]} << 8) |
        (std::uint32_t{bytes[offset + 2]} << 16) | (std::uint32_t{bytes[offset + 3]} << 24);
    return static_cast<std::int32_t>(value);  // two's complement, defined since C++20
}

void storeLittleEndian32(std::span<std::uint8_t> bytes, std::size_t offset, std::int32_t value) {
    if (offset > bytes.size() || bytes.size() - offset < 4) return;
    const auto bits = static_cast<std::uint32_t>(value);
    bytes[offset] = static_cast<std::uint8_t>(bits);
    bytes[offset + 1] = static_cast<std::uint8_t>(bits >> 8);
    bytes[offset + 2] = static_cast<std::uint8_t>(bits >> 16);
    bytes[offset + 3] = static_cast<std::uint8_t>(bits >> 24);
}

std::size_t slotOffset(std::size_t slot) {
    return kEntriesOffset + kPackageEntrySize * slot;
}

InstallerHeader decodeInstallerHeader(HeaderBytes bytes) {
    InstallerHeader header;
    header.installMode = bytes[kInstallModeAt];
    header.hasLicense = bytes[kHasLicenseAt];
    header.hasPostInstallFile = bytes[kHasPostInstallFileAt];
    header.carriesFlashInstaller = bytes[kCarriesFlashInstallerAt];
    header.flashAXInstallerVersion = bytes[kFlashAXInstallerVersionAt];
    header.offerControlPanel = bytes[kOfferControlPanelAt];
    std::memcpy(header.saverName.data(), bytes.data() + kSaverNameAt, kSaverNameSize);
    for (std::size_t slot = 0; slot < kSlotCount; ++slot) {
        header.entries[slot] =
            decodeEntry(bytes.subspan(slotOffset(slot)).first<kPackageEntrySize>());
    }
    return header;
}

void encodeInstallerHeader(const InstallerHeader& header, MutableHeaderBytes bytes) {
    std::fill(bytes.begin(), bytes.end(), std::uint8_t{0});
    bytes[kInstallModeAt] = header.installMode;
    bytes[kHasLicenseAt] = header.hasLicense;
    bytes[kHasPostInstallFileAt] = header.hasPostInstallFile;
    bytes[kCarriesFlashInstallerAt] = header.carriesFlashInstaller;
    bytes[kFlashAXInstallerVersionAt] = header.flashAXInstallerVersion;
    bytes[kOfferControlPanelAt] = header.offerControlPanel;
    std::memcpy(bytes.data() + kSaverNameAt, header.saverName.data(), kSaverNameSize);
    for (std::size_t slot = 0; slot < kSlotCount; ++slot) {
        encodeEntry(header.entries[slot],
                    bytes.subspan(slotOffset(slot)).first<kPackageEntrySize>());
    }
}

std::string saverNameOf(const InstallerHeader& header) {
    const char* begin = header.saverName.data();
    const char* end = std::find(begin, begin + kSaverNameSize, '\0');
    return std::string(begin, end);
}

void setSaverName(InstallerHeader& header, std::string_view name) {
    header.saverName.fill('\0');
    std::memcpy(header.saverName.data(), name.data(), std::min(name.size(), kSaverNameSize));
}

std::int32_t SaverDataRecord::dataFileCount() const {
    return loadLittleEndian32(bytes, kDataFileCountAt);
}

std::int32_t SaverDataRecord::firstDataFileMode() const {
    return loadLittleEndian32(bytes, kFirstDataFileModeAt);
}

void SaverDataRecord::setDataFileCount(std::int32_t count) {
    storeLittleEndian32(bytes, kDataFileCountAt, count);
}

void SaverDataRecord::setFirstDataFileMode(std::int32_t mode) {
    storeLittleEndian32(bytes, kFirstDataFileModeAt, mode);
}

DataFileRecord decodeDataFileRecord(std::span<const std::uint8_t, kDataFileRecordSize> bytes) {
    DataFileRecord record;
    record.fileType = bytes[kFileTypeAt];
    const auto* name = reinterpret_cast<const char*>(bytes.data() + kFileNameAt);
    record.fileName.assign(name, std::find(name, name + kFileNameSize, '\0'));
    record.dataOffset = loadLittleEndian32(bytes, kDataOffsetAt);
    return record;
}

void encodeDataFileRecord(const DataFileRecord& record,
                          std::span<std::uint8_t, kDataFileRecordSize> bytes) {
    std::fill(bytes.begin(), bytes.end(), std::uint8_t{0});
    bytes[kFileTypeAt] = record.fileType;
    std::memcpy(bytes.data() + kFileNameAt, record.fileName.data(),
                std::min(record.fileName.size(), kFileNameSize));
    storeLittleEndian32(bytes, kDataOffsetAt, record.dataOffset);
}

DataBlockHeader decodeDataBlockHeader(std::span<const std::uint8_t, kDataBlockHeaderSize> bytes) {
    DataBlockHeader header;
    header.fileSize = loadLittleEndian32(bytes, kFileSizeAt);
    header.compressedSize = loadLittleEndian32(bytes, kCompressedSizeAt);
    header.compressed = loadLittleEndian32(bytes, kBlockCompressedAt);
    return header;
}

void encodeDataBlockHeader(const DataBlockHeader& header,
                           std::span<std::uint8_t, kDataBlockHeaderSize> bytes) {
    std::fill(bytes.begin(), bytes.end(), std::uint8_t{0});
    storeLittleEndian32(bytes, kFileSizeAt, header.fileSize);
    storeLittleEndian32(bytes, kCompressedSizeAt, header.compressedSize);
    storeLittleEndian32(bytes, kBlockCompressedAt, header.compressed);
}
