#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "package/package_format.h"

namespace {

using Bytes = std::array<std::uint8_t, kInstallerHeaderSize>;

std::int32_t le32(const std::uint8_t* p) {
    return static_cast<std::int32_t>(std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8) |
                                     (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[3]} << 24));
}

TEST(PackageFormat, SlotsSitAt72Plus280PerSlot) {
    const std::array<std::size_t, kSlotCount> expected{72,   352,  632,  912,  1192, 1472,
                                                       1752, 2032, 2312, 2592, 2872};
    for (std::size_t slot = 0; slot < kSlotCount; ++slot)
        EXPECT_EQ(slotOffset(slot), expected[slot]);
    EXPECT_EQ(slotOffset(kSlotCount - 1) + kPackageEntrySize, kInstallerHeaderSize);
}

TEST(PackageFormat, EncodesEveryHeaderFieldAtItsOffset) {
    InstallerHeader header;
    header.installMode = 8;
    header.hasLicense = 1;
    header.hasPostInstallFile = 2;
    header.carriesFlashInstaller = 3;
    header.flashAXInstallerVersion = 1;
    header.offerControlPanel = 0xFF;
    setSaverName(header, "Aquarium");
    PackageEntry& entry = header.entries[7];
    entry.name = "engine.scr";
    entry.startOffset = 0x01020304;
    entry.endOffset = -2;
    entry.kind = 10;
    entry.compressed = true;
    entry.expandedSize = 0x7FFFFFFF;

    Bytes bytes;
    bytes.fill(0xAA);  // the encoder must clear padding, not leave old bytes
    encodeInstallerHeader(header, bytes);

    EXPECT_EQ(bytes[0], 8);
    EXPECT_EQ(bytes[1], 1);
    EXPECT_EQ(bytes[2], 2);
    EXPECT_EQ(bytes[3], 3);
    EXPECT_EQ(bytes[4], 1);
    EXPECT_EQ(bytes[5], 0xFF);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&bytes[6]), 8), "Aquarium");
    for (std::size_t i = 6 + 8; i < 72; ++i) EXPECT_EQ(bytes[i], 0) << "byte " << i;

    const std::uint8_t* e = &bytes[72 + 280 * 7];
    EXPECT_EQ(e[0], 10);  // the name's length byte
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(e + 1), 10), "engine.scr");
    EXPECT_EQ(e[11], 0);
    EXPECT_EQ(le32(e + 256), 0x01020304);
    EXPECT_EQ(e[256], 0x04);  // little-endian, lowest byte first
    EXPECT_EQ(le32(e + 260), -2);
    EXPECT_EQ(le32(e + 264), 10);
    EXPECT_EQ(e[268], 1);
    EXPECT_EQ(e[269] | e[270] | e[271] | e[272] | e[273] | e[274] | e[275], 0);
    EXPECT_EQ(le32(e + 276), 0x7FFFFFFF);
    // Neighbouring slots stay empty.
    EXPECT_EQ(bytes[72 + 280 * 6], 0);
    EXPECT_EQ(bytes[72 + 280 * 8], 0);

    const InstallerHeader back = decodeInstallerHeader(bytes);
    EXPECT_EQ(back.installMode, 8);
    EXPECT_EQ(back.offerControlPanel, 0xFF);
    EXPECT_EQ(saverNameOf(back), "Aquarium");
    EXPECT_EQ(back.entries[7].name, "engine.scr");
    EXPECT_EQ(back.entries[7].startOffset, 0x01020304);
    EXPECT_EQ(back.entries[7].endOffset, -2);
    EXPECT_EQ(back.entries[7].kind, 10);
    EXPECT_TRUE(back.entries[7].compressed);
    EXPECT_EQ(back.entries[7].expandedSize, 0x7FFFFFFF);
    EXPECT_TRUE(back.entries[6].name.empty());
}

TEST(PackageFormat, SaverNameWithAndWithoutNul) {
    Bytes bytes{};
    // 64 characters and no NUL: used whole; the padding bytes after it are not part of it.
    for (std::size_t i = 0; i < 64; ++i) bytes[6 + i] = static_cast<std::uint8_t>('a' + i % 26);
    bytes[70] = 'X';
    bytes[71] = 'Y';
    EXPECT_EQ(saverNameOf(decodeInstallerHeader(bytes)).size(), 64u);
    EXPECT_EQ(saverNameOf(decodeInstallerHeader(bytes)).back(), 'a' + 63 % 26);

    // 10 characters, then NUL, then stray bytes: 10 characters.
    bytes[16] = 0;
    EXPECT_EQ(saverNameOf(decodeInstallerHeader(bytes)), "abcdefghij");
}

TEST(PackageFormat, NameLengthByteIsTheOnlyLimit) {
    Bytes bytes{};
    std::uint8_t* e = &bytes[slotOffset(10)];
    e[0] = 255;
    for (int i = 1; i <= 255; ++i) e[i] = 'n';
    EXPECT_EQ(decodeInstallerHeader(bytes).entries[10].name, std::string(255, 'n'));

    // Bytes past the length are ignored, NUL inside the length is kept.
    e[0] = 3;
    e[2] = 0;
    EXPECT_EQ(decodeInstallerHeader(bytes).entries[10].name, std::string("n\0n", 3));

    // An over-long name is cut to what the length byte can say.
    InstallerHeader header;
    header.entries[10].name = std::string(300, 'z');
    encodeInstallerHeader(header, bytes);
    EXPECT_EQ(e[0], 255);
    EXPECT_EQ(decodeInstallerHeader(bytes).entries[10].name, std::string(255, 'z'));
    EXPECT_EQ(le32(e + 256), 0);  // the name did not spill into startOffset
}

TEST(PackageFormat, EndOffsetIsInclusive) {
    // One stored byte: end == start. None: end == start - 1.
    InstallerHeader header;
    header.entries[1] = {"impborl.dat", 4000, 4000, 4, false, 0};
    header.entries[2] = {"x", 4000, 3999, 4, false, 0};
    Bytes bytes{};
    encodeInstallerHeader(header, bytes);
    const InstallerHeader back = decodeInstallerHeader(bytes);
    EXPECT_EQ(back.entries[1].endOffset - back.entries[1].startOffset + 1, 1);
    EXPECT_EQ(back.entries[2].endOffset - back.entries[2].startOffset + 1, 0);
}

TEST(PackageFormat, SaverDataRecordFields) {
    SaverDataRecord record;
    record.bytes.fill(0x5A);
    record.setDataFileCount(1010);
    record.setFirstDataFileMode(3);
    EXPECT_EQ(le32(&record.bytes[212]), 1010);
    EXPECT_EQ(le32(&record.bytes[1204]), 3);
    EXPECT_EQ(record.dataFileCount(), 1010);
    EXPECT_EQ(record.firstDataFileMode(), 3);
    // The engine's settings around the two fields pass through untouched.
    EXPECT_EQ(record.bytes[211], 0x5A);
    EXPECT_EQ(record.bytes[216], 0x5A);
    EXPECT_EQ(record.bytes[1203], 0x5A);
    EXPECT_EQ(record.bytes[1208], 0x5A);
    record.setDataFileCount(-1);
    EXPECT_EQ(record.dataFileCount(), -1);
}

TEST(PackageFormat, DataFileRecordLayout) {
    std::array<std::uint8_t, kDataFileRecordSize> bytes;
    bytes.fill(0xEE);
    encodeDataFileRecord({kDataFileTypeCopy, "pics\\a.jpg", 0x00ABCDEF}, bytes);
    EXPECT_EQ(bytes[0], 3);
    EXPECT_EQ(bytes[1], 0);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&bytes[2])), "pics\\a.jpg");
    EXPECT_EQ(le32(&bytes[260]), 0x00ABCDEF);
    const DataFileRecord back = decodeDataFileRecord(bytes);
    EXPECT_EQ(back.fileType, 3);
    EXPECT_EQ(back.fileName, "pics\\a.jpg");
    EXPECT_EQ(back.dataOffset, 0x00ABCDEF);

    // A name that fills all 256 bytes has no NUL; decoding stops at the field's end.
    encodeDataFileRecord({0, std::string(256, 'q'), 7}, bytes);
    const DataFileRecord full = decodeDataFileRecord(bytes);
    EXPECT_EQ(full.fileName, std::string(256, 'q'));
    EXPECT_EQ(full.dataOffset, 7);
}

TEST(PackageFormat, DataBlockHeaderLayout) {
    std::array<std::uint8_t, kDataBlockHeaderSize> bytes;
    bytes.fill(0x11);
    encodeDataBlockHeader({1000, 600, 1}, bytes);
    EXPECT_EQ(le32(&bytes[8]), 1000);
    EXPECT_EQ(le32(&bytes[12]), 600);
    EXPECT_EQ(le32(&bytes[16]), 1);
    for (std::size_t i : {0u, 7u, 20u, 43u}) EXPECT_EQ(bytes[i], 0) << i;
    const DataBlockHeader back = decodeDataBlockHeader(bytes);
    EXPECT_EQ(back.fileSize, 1000);
    EXPECT_EQ(back.compressedSize, 600);
    EXPECT_EQ(back.compressed, 1);
}

TEST(PackageFormat, LittleEndianHelpersStayInsideTheSpan) {
    std::vector<std::uint8_t> bytes{1, 2, 3, 4, 5};
    EXPECT_EQ(loadLittleEndian32(bytes, 1), 0x05040302);
    EXPECT_EQ(loadLittleEndian32(bytes, 2), 0);  // would need bytes 2..5
    EXPECT_EQ(loadLittleEndian32(bytes, 99), 0);
    storeLittleEndian32(bytes, 2, -1);  // refused: would write past the end
    EXPECT_EQ(bytes[4], 5);
    storeLittleEndian32(bytes, 0, -1);
    EXPECT_EQ(bytes[3], 0xFF);
    EXPECT_EQ(bytes[4], 5);
}

}  // namespace
