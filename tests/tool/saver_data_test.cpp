#include <gtest/gtest.h>

#include "tests/tool/temp_folder.h"
#include "tests/tool/test_packages.h"
#include "tool/saver_data_builder.h"

namespace {

struct Table {
    SaverDataRecord record;
    std::vector<DataFileRecord> files;
};

Table tableOf(const std::vector<std::uint8_t>& data) {
    Table table;
    std::copy_n(data.begin(), kSaverDataRecordSize, table.record.bytes.begin());
    for (std::int32_t i = 0; i < table.record.dataFileCount(); ++i) {
        table.files.push_back(
            decodeDataFileRecord(std::span(data)
                                     .subspan(kSaverDataRecordSize + kDataFileRecordSize * i)
                                     .first<kDataFileRecordSize>()));
    }
    return table;
}

// What the stub's expandDataFile writes for a record.
std::vector<std::uint8_t> fileOf(const std::vector<std::uint8_t>& data,
                                 const DataFileRecord& record) {
    const DataBlockHeader block = decodeDataBlockHeader(
        std::span(data).subspan(record.dataOffset).first<kDataBlockHeaderSize>());
    const auto bytesAt = data.begin() + record.dataOffset + kDataBlockHeaderSize;
    if (block.compressed == 0) return {bytesAt, bytesAt + block.fileSize};
    std::vector<std::uint8_t> out;
    EXPECT_EQ(dcl::explode(std::span(data).subspan(record.dataOffset + kDataBlockHeaderSize,
                                                   block.compressedSize),
                           out, block.fileSize),
              dcl::Status::Ok);
    EXPECT_EQ(out.size(), static_cast<std::size_t>(block.fileSize));
    return out;
}

TEST(SaverData, RecordTableAndBlocksRoundTrip) {
    const SaverDataInput input = sampleSaverData();
    std::vector<std::uint8_t> data;
    std::string error;
    ASSERT_TRUE(buildSaverDataFile(input, data, error)) << error;

    const Table table = tableOf(data);
    EXPECT_EQ(table.record.dataFileCount(), 3);
    EXPECT_EQ(table.record.firstDataFileMode(), 0);
    EXPECT_EQ(table.record.bytes[0], 0x11);  // the engine's settings pass through
    EXPECT_EQ(table.record.bytes[1239], 0x11);
    ASSERT_EQ(table.files.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(input.files[i].name);
        EXPECT_EQ(table.files[i].fileName, input.files[i].name);
        EXPECT_NE(table.files[i].fileType, kDataFileTypeCopy);
        EXPECT_GE(table.files[i].dataOffset,
                  static_cast<std::int32_t>(kSaverDataRecordSize + 3 * kDataFileRecordSize));
        EXPECT_EQ(fileOf(data, table.files[i]), input.files[i].bytes);
    }
    // The 5000-byte text was worth imploding, the 5-byte file was not.
    EXPECT_EQ(decodeDataBlockHeader(
                  std::span(data).subspan(table.files[1].dataOffset).first<kDataBlockHeaderSize>())
                  .compressed,
              1);
    EXPECT_EQ(decodeDataBlockHeader(
                  std::span(data).subspan(table.files[0].dataOffset).first<kDataBlockHeaderSize>())
                  .compressed,
              0);
}

TEST(SaverData, SettingsOfZerosAndCopyRecords) {
    SaverDataInput input;
    input.firstDataFileMode = 3;
    input.files = {{"movie.swf", {}, true}, {"one.bin", bytesOf("1")}, {"again.swf", {}, true}};
    std::vector<std::uint8_t> data;
    std::string error;
    ASSERT_TRUE(buildSaverDataFile(input, data, error)) << error;
    const Table table = tableOf(data);
    EXPECT_EQ(table.record.firstDataFileMode(), 3);
    EXPECT_EQ(table.record.bytes[0], 0);
    EXPECT_EQ(table.files[0].fileType, kDataFileTypeCopy);
    EXPECT_EQ(table.files[0].dataOffset, 0);
    EXPECT_EQ(table.files[2].fileType, kDataFileTypeCopy);
    EXPECT_EQ(fileOf(data, table.files[1]), bytesOf("1"));
}

TEST(SaverData, EmptyDataFileHasABlockOfSizeZero) {
    SaverDataInput input;
    input.files = {{"empty.txt", {}}};
    std::vector<std::uint8_t> data;
    std::string error;
    ASSERT_TRUE(buildSaverDataFile(input, data, error)) << error;
    const Table table = tableOf(data);
    const DataBlockHeader block = decodeDataBlockHeader(
        std::span(data).subspan(table.files[0].dataOffset).first<kDataBlockHeaderSize>());
    EXPECT_EQ(block.fileSize, 0);
    EXPECT_EQ(data.size(), kSaverDataRecordSize + kDataFileRecordSize + kDataBlockHeaderSize);
}

TEST(SaverData, Refusals) {
    struct Case {
        const char* what;
        std::function<void(SaverDataInput&)> change;
        const char* message;
    };
    const std::vector<Case> cases = {
        {"1011 files",
         [](SaverDataInput& d) {
             d.files.clear();
             for (int i = 0; i < 1011; ++i)
                 d.files.push_back({"f" + std::to_string(i), bytesOf("x")});
         },
         "there are 1011 data files; the installer reads at most 1010"},
        {"absolute", [](SaverDataInput& d) { d.files[0].name = "\\Windows\\evil.dll"; },
         "data file 1 \"\\Windows\\evil.dll\": the name is absolute"},
        {"drive", [](SaverDataInput& d) { d.files[1].name = "D:\\x"; },
         "data file 2 \"D:\\x\": the name names a drive or a stream"},
        {"share", [](SaverDataInput& d) { d.files[1].name = "\\\\host\\share\\x"; }, "is absolute"},
        {"parent", [](SaverDataInput& d) { d.files[2].name = "pics\\..\\..\\x"; },
         "data file 3 \"pics\\..\\..\\x\": the name leaves the saver's folder"},
        {"not ANSI", [](SaverDataInput& d) { d.files[2].name = "\xE2\x98\x85.txt"; },
         "the name has characters the ANSI code page"},
        {"duplicate", [](SaverDataInput& d) { d.files[2].name = "A.BIN"; },
         "data file 3 \"A.BIN\": another data file has the same name"},
        {"settings size", [](SaverDataInput& d) { d.settings.resize(1000); },
         "the settings record has 1000 bytes; it must have 1240"},
        {"mode 3 without copy", [](SaverDataInput& d) { d.firstDataFileMode = 3; },
         "firstDataFileMode 3 makes data file 1 a copy of the preview movie"},
        {"copy without mode 3", [](SaverDataInput& d) { d.files[0].copy = true; },
         "data file 1 is a copy of the preview movie; that needs firstDataFileMode 3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SaverDataInput input = sampleSaverData();
        c.change(input);
        std::vector<std::uint8_t> data;
        std::string error;
        EXPECT_FALSE(buildSaverDataFile(input, data, error));
        EXPECT_NE(error.find(c.message), std::string::npos) << error;
        EXPECT_TRUE(data.empty());
    }
    // Exactly 1010 is allowed.
    SaverDataInput most;
    for (int i = 0; i < 1010; ++i) most.files.push_back({"f" + std::to_string(i), bytesOf("x")});
    std::vector<std::uint8_t> data;
    std::string error;
    EXPECT_TRUE(buildSaverDataFile(most, data, error)) << error;
}

TEST(SaverData, FolderWalkIsSortedAndUsesBackslashes) {
    TempFolder folder;
    folder.write("zeta.txt", "z");
    folder.write("alpha.txt", "a");
    folder.write("scenes/night.txt", "n");
    folder.write("scenes/deep/x.bin", "x");
    std::filesystem::create_directories(folder.path() / "empty-folder");
    std::vector<DataFileInput> files;
    std::string error;
    ASSERT_TRUE(readDataFolder(folder.path(), files, error)) << error;
    std::vector<std::string> names;
    for (const auto& file : files) names.push_back(file.name);
    EXPECT_EQ(names, (std::vector<std::string>{"alpha.txt", "scenes\\deep\\x.bin",
                                               "scenes\\night.txt", "zeta.txt"}));
    EXPECT_EQ(files[2].bytes, bytesOf("n"));

    EXPECT_FALSE(readDataFolder(folder.path() / "missing", files, error));
    EXPECT_NE(error.find("does not exist"), std::string::npos);
}

}  // namespace
