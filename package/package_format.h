// The package appended to the installer program, shared by the stub that reads it and the
// authoring tool that writes it. All integers little-endian, all texts single-byte ANSI.
//
//   file offset                 content
//   0                           the installer program, INSTALLER_SIZE_IN_BYTES long
//   INSTALLER_SIZE_IN_BYTES     InstallerHeader, 3152 bytes
//   anywhere after it           each entry's bytes, located by absolute offsets
//
//   InstallerHeader              PackageEntry (280)              SaverDataRecord (1240)
//     0  installMode       u8      0  name: length byte + text     212  dataFileCount     i32
//     1  hasLicense        u8    256  startOffset            i32  1204  firstDataFileMode i32
//     2  hasPostInstallFile u8   260  endOffset (inclusive)  i32  else  engine settings, opaque
//     3  carriesFlashInstaller   264  kind                   i32
//     4  flashAXInstallerVersion 268  compressed             u8
//     5  offerControlPanel u8    276  expandedSize           i32
//     6  saverName, 64 bytes, NUL-padded
//    72  entries: 11 x PackageEntry, slot i at 72 + 280 * i
//
//   Saver data file: SaverDataRecord, then dataFileCount x DataFileRecord (264), then blocks.
//   DataFileRecord: 0 fileType u8 (3 = copy), 2 fileName (256, NUL-terminated), 260 dataOffset i32
//   DataBlockHeader (44): 8 fileSize i32, 12 compressedSize i32, 16 compressed i32; data follows.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

constexpr std::size_t kInstallerHeaderSize = 3152;
constexpr std::size_t kPackageEntrySize = 280;
constexpr std::size_t kSlotCount = 11;
constexpr std::size_t kEntriesOffset = 72;
constexpr std::size_t kSaverNameSize = 64;
constexpr std::size_t kSaverDataRecordSize = 1240;
constexpr std::size_t kDataFileRecordSize = 264;
constexpr std::size_t kDataBlockHeaderSize = 44;
constexpr std::int32_t kMaxDataFiles = 1010;
constexpr std::size_t kMaxEntryNameLength = 255;  // the name's length byte
constexpr std::size_t kMaxDataFileNameLength = 256;

// Little-endian 32-bit fields at a byte offset. Out-of-range offsets load 0 and store nothing,
// so no caller can read or write past its span.
std::int32_t loadLittleEndian32(std::span<const std::uint8_t> bytes, std::size_t offset);
void storeLittleEndian32(std::span<std::uint8_t> bytes, std::size_t offset, std::int32_t value);

// Header offset of slot i's PackageEntry: 72 + 280 * i.
std::size_t slotOffset(std::size_t slot);

// Slot roles.
enum Slot : int {
    kSlotImplodeLibrary = 1,
    kSlotFlashInstaller = 2,
    kSlotPreview = 3,
    kSlotLicense = 4,
    kSlotPostInstall = 5,
    kSlotEngine = 6,
    kSlotSaverData = 8,
};

struct PackageEntry {
    std::string name;  // at most 255 bytes; empty marks an empty slot
    std::int32_t startOffset = 0;
    std::int32_t endOffset = -1;
    std::int32_t kind = 0;
    bool compressed = false;
    std::int32_t expandedSize = 0;
};

struct InstallerHeader {
    std::uint8_t installMode = 0;
    std::uint8_t hasLicense = 0;
    std::uint8_t hasPostInstallFile = 0;
    std::uint8_t carriesFlashInstaller = 0;
    std::uint8_t flashAXInstallerVersion = 0;
    std::uint8_t offerControlPanel = 0;
    std::array<char, kSaverNameSize> saverName{};  // raw bytes, NUL-padded, maybe unterminated
    std::array<PackageEntry, kSlotCount> entries{};
};

using HeaderBytes = std::span<const std::uint8_t, kInstallerHeaderSize>;
using MutableHeaderBytes = std::span<std::uint8_t, kInstallerHeaderSize>;

InstallerHeader decodeInstallerHeader(HeaderBytes bytes);
void encodeInstallerHeader(const InstallerHeader& header, MutableHeaderBytes bytes);

// The saver name: bytes up to the first NUL, all 64 when there is none.
std::string saverNameOf(const InstallerHeader& header);
// Stores the name NUL-padded; a name of 64 bytes or more is cut to 64 with no NUL.
void setSaverName(InstallerHeader& header, std::string_view name);

struct SaverDataRecord {
    std::array<std::uint8_t, kSaverDataRecordSize> bytes{};  // passed through unchanged
    std::int32_t dataFileCount() const;
    std::int32_t firstDataFileMode() const;
    void setDataFileCount(std::int32_t count);
    void setFirstDataFileMode(std::int32_t mode);
};

struct DataFileRecord {
    std::uint8_t fileType = 0;  // 3: a copy of another file
    std::string fileName;       // relative to SaverDataDir; up to the first NUL, at most 256
    std::int32_t dataOffset = 0;
};

struct DataBlockHeader {
    std::int32_t fileSize = 0;
    std::int32_t compressedSize = 0;
    std::int32_t compressed = 0;
};

constexpr std::uint8_t kDataFileTypeCopy = 3;

DataFileRecord decodeDataFileRecord(std::span<const std::uint8_t, kDataFileRecordSize> bytes);
void encodeDataFileRecord(const DataFileRecord& record,
                          std::span<std::uint8_t, kDataFileRecordSize> bytes);
DataBlockHeader decodeDataBlockHeader(std::span<const std::uint8_t, kDataBlockHeaderSize> bytes);
void encodeDataBlockHeader(const DataBlockHeader& header,
                           std::span<std::uint8_t, kDataBlockHeaderSize> bytes);
