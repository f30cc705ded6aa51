#include "package/saver_files.h"

#include <gtest/gtest.h>

#include "app/install_error.h"
#include "package_test_support.h"
#include "tool/saver_data_builder.h"

namespace {

class SaverFiles : public PackageTest {
  protected:
    void SetUp() override {
        PackageTest::SetUp();
        run_.saverDataFilePath = run_.folders.workDir + "saver.dat";
    }

    // Builds the saver data file with every data file stored as it is.
    Bytes build(SaverDataInput input, Storage storage = Storage::Stored) {
        input.storage.storage = storage;
        Bytes bytes;
        std::string error;
        EXPECT_TRUE(buildSaverDataFile(input, bytes, error)) << error;
        return bytes;
    }
    static std::span<std::uint8_t, kDataFileRecordSize> recordBytes(Bytes& bytes, int number) {
        return std::span(bytes)
            .subspan(kSaverDataRecordSize + kDataFileRecordSize * (number - 1))
            .first<kDataFileRecordSize>();
    }
    static void renameRecord(Bytes& bytes, int number, const std::string& name) {
        DataFileRecord record = decodeDataFileRecord(recordBytes(bytes, number));
        record.fileName = name;
        encodeDataFileRecord(record, recordBytes(bytes, number));
    }
    static void changeFileSize(Bytes& bytes, int number, std::int32_t delta) {
        const DataFileRecord record = decodeDataFileRecord(recordBytes(bytes, number));
        auto blockBytes = std::span(bytes).subspan(record.dataOffset).first<kDataBlockHeaderSize>();
        DataBlockHeader block = decodeDataBlockHeader(blockBytes);
        block.fileSize += delta;
        encodeDataBlockHeader(block, blockBytes);
    }
    ResultCode write(const Bytes& bytes) {
        writeFile(run_.saverDataFilePath, bytes);
        return writeSaverFiles(run_, reader_);
    }
    std::string saverFile(const std::string& name) const { return run_.saverDataDir + name; }

    SaverDataReader reader_;
};

TEST_F(SaverFiles, NoDataFiles) {
    EXPECT_EQ(write(build({})), kOk);
    EXPECT_FALSE(reader_.dataFileOpen);
    EXPECT_TRUE(DeleteFileA(run_.saverDataFilePath.c_str()));  // closed
    EXPECT_EQ(feedback_.statuses, std::vector<std::string>{kExpandingFilesStatus});
    EXPECT_EQ(feedback_.steps, 1);
    EXPECT_TRUE(boxes().empty());
}

TEST_F(SaverFiles, WritesEveryKindOfRecord) {
    SaverDataInput input;
    input.files = {{"first.txt", bytesOf("first")},
                   {"placeholder", bytesOf("never read")},
                   {"images\\two.bin", patternBytes(100000)},
                   {"zero.txt", {}},
                   {"copy one.txt", {}, true},
                   {"images\\copy two.txt", {}, true}};
    Bytes bytes = build(input);
    renameRecord(bytes, 2, "");

    EXPECT_EQ(write(bytes), kOk);
    EXPECT_EQ(readFile(saverFile("first.txt")), bytesOf("first"));
    EXPECT_FALSE(exists(saverFile("placeholder")));
    EXPECT_EQ(readFile(saverFile("images\\two.bin")), patternBytes(100000));
    EXPECT_FALSE(exists(saverFile("zero.txt")));
    EXPECT_EQ(readFile(saverFile("copy one.txt")), bytesOf("first"));
    EXPECT_EQ(readFile(saverFile("images\\copy two.txt")), bytesOf("first"));
    EXPECT_TRUE(GetFileAttributesA(saverFile("first.txt").c_str()) & FILE_ATTRIBUTE_ARCHIVE);
    EXPECT_FALSE(reader_.dataFileOpen);
    EXPECT_TRUE(boxes().empty());
}

TEST_F(SaverFiles, TheFirstFileCanBeThePreviewMovie) {
    SaverDataInput input;
    input.firstDataFileMode = 3;
    input.files = {{"movie.swf", {}, true}, {"again.swf", {}, true}};
    const Bytes bytes = build(input);

    EXPECT_EQ(write(bytes), kErrDataFileCopy);
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text,
              installErrorText(kErrDataFileCopy, run_.folders.workDir + "installer.swf"));

    SaverDataReader fresh;
    reader_.file.close();
    reader_ = std::move(fresh);
    writeFile(run_.folders.workDir + "installer.swf", bytesOf("FWS movie"));
    EXPECT_EQ(write(bytes), kOk);
    EXPECT_EQ(readFile(saverFile("movie.swf")), bytesOf("FWS movie"));
    EXPECT_EQ(readFile(saverFile("again.swf")), bytesOf("FWS movie"));
}

TEST_F(SaverFiles, AFileCutInsideItsTable) {
    SaverDataInput input;
    input.files = {{"a.txt", bytesOf("a")}, {"b.txt", bytesOf("b")}};
    const Bytes whole = build(input);
    const Bytes cut(whole.begin(), whole.begin() + kSaverDataRecordSize + kDataFileRecordSize + 10);

    EXPECT_EQ(write(cut), kIoReadBeyondEnd);
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, "Problem opening screen saver data file.\r\n\r\nFile: " +
                                   run_.saverDataFilePath + "\r\n\r\n100");
    EXPECT_EQ(boxes()[0].kind, MessageKind::Error);
    EXPECT_FALSE(exists(saverFile("a.txt")));
}

TEST_F(SaverFiles, AFileCutInsideADataBlock) {
    SaverDataInput input;
    input.files = {{"big.bin", patternBytes(5000)}};
    const Bytes whole = build(input);
    EXPECT_EQ(write(Bytes(whole.begin(), whole.end() - 1)), kIoReadBeyondEnd);
    EXPECT_FALSE(exists(saverFile("big.bin")));
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text.rfind("Norvale Error: Problem reading screen saver data file. ", 0),
              0u);
}

TEST_F(SaverFiles, ACountBeyondTheTableIsRefused) {
    for (std::int32_t count : {1011, -1}) {
        SCOPED_TRACE(count);
        boxes().clear();
        Bytes bytes = build({});
        SaverDataRecord record;
        std::copy(bytes.begin(), bytes.begin() + kSaverDataRecordSize, record.bytes.begin());
        record.setDataFileCount(count);
        std::copy(record.bytes.begin(), record.bytes.end(), bytes.begin());

        EXPECT_EQ(write(bytes), kErrDataFileCount);
        EXPECT_EQ(boxes().size(), 1u);
        EXPECT_FALSE(reader_.dataFileOpen);
    }
}

TEST_F(SaverFiles, ARetryAfterACutRecordStaysInsideTheTable) {
    // The record is cut after its count: the count came from the file but was never checked,
    // and the file stays open for the next install attempt.
    Bytes bytes = build({});
    SaverDataRecord record;
    record.setDataFileCount(5000);
    std::copy(record.bytes.begin(), record.bytes.begin() + 300, bytes.begin());
    bytes.resize(300);

    EXPECT_EQ(write(bytes), kIoReadBeyondEnd);
    EXPECT_TRUE(reader_.dataFileOpen);
    boxes().clear();

    EXPECT_EQ(writeSaverFiles(run_, reader_), kErrDataFileCount);
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, "Norvale Error: Screen saver data file already in use.");
    reader_.file.close();  // so that the test's folder can go
}

TEST_F(SaverFiles, UnsafeNamesAreRefused) {
    for (const char* name :
         {"..\\escaped.txt", "images\\..\\..\\escaped.txt", "\\escaped.txt", "C:\\escaped.txt",
          "\\\\server\\share\\escaped.txt", "escaped.txt:stream"}) {
        SCOPED_TRACE(name);
        boxes().clear();
        SaverDataReader fresh;
        reader_.file.close();
        reader_ = std::move(fresh);
        SaverDataInput input;
        input.files = {{"safe.txt", bytesOf("x")}};
        Bytes bytes = build(input);
        renameRecord(bytes, 1, name);

        EXPECT_EQ(write(bytes), kErrUnsafeName);
        ASSERT_EQ(boxes().size(), 1u);
        EXPECT_EQ(boxes()[0].text, installErrorText(kErrUnsafeName, name));
    }
    EXPECT_FALSE(exists(run_.folders.vendorDataDir + "escaped.txt"));
    EXPECT_FALSE(exists(root_ + "escaped.txt"));
}

TEST_F(SaverFiles, ATargetThatCannotBeCreatedIsShownWithItsPath) {
    CreateDirectoryA(saverFile("taken.txt").c_str(), nullptr);  // a folder holds the name
    SaverDataInput input;
    input.files = {{"taken.txt", bytesOf("x")}};
    const ResultCode result = write(build(input));
    EXPECT_GT(result, 0);
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, installErrorText(result, saverFile("taken.txt")));
}

TEST_F(SaverFiles, ImplodedDataFiles) {
    if (!haveImplodeLibrary()) GTEST_SKIP() << "no impborl.dll in this build";
    installImplodeLibrary();
    SaverDataInput input;
    input.files = {{"one.bin", patternBytes(40000)}, {"two.bin", patternBytes(30000, 2)}};
    Bytes bytes = build(input, Storage::Imploded);
    EXPECT_EQ(write(bytes), kOk);
    EXPECT_EQ(readFile(saverFile("two.bin")), patternBytes(30000, 2));

    // A block whose recorded size is one more than it explodes to: that file goes.
    SaverDataReader fresh;
    reader_ = std::move(fresh);
    changeFileSize(bytes, 2, 1);
    DeleteFileA(saverFile("two.bin").c_str());
    EXPECT_EQ(write(bytes), kErrExplodedSize);
    EXPECT_TRUE(exists(saverFile("one.bin")));
    EXPECT_FALSE(exists(saverFile("two.bin")));
}

TEST_F(SaverFiles, TheReaderKeepsOneFileOpen) {
    SaverDataInput input;
    input.files = {{"a.txt", bytesOf("a")}};
    writeFile(run_.saverDataFilePath, build(input));

    EXPECT_EQ(expandDataFile(reader_, run_.folders.workDir, run_.saverDataDir, 1),
              kErrDataFileNumber);  // nothing read yet: no data files
    ASSERT_EQ(openSaverDataFile(reader_, run_.saverDataFilePath, true), kOk);
    EXPECT_EQ(expandDataFile(reader_, run_.folders.workDir, run_.saverDataDir, 2),
              kErrDataFileNumber);
    EXPECT_EQ(openSaverDataFile(reader_, run_.saverDataFilePath, true), kOk);
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, "Norvale Error: Screen saver data file already in use.");
    EXPECT_EQ(boxes()[0].kind, MessageKind::Information);

    EXPECT_EQ(closeSaverDataFile(reader_, run_.saverDataFilePath), kOk);
    EXPECT_EQ(expandDataFile(reader_, run_.folders.workDir, run_.saverDataDir, 1),
              kErrDataFileNotOpen);
    EXPECT_EQ(closeSaverDataFile(reader_, run_.saverDataFilePath), kOk);
}

}  // namespace
