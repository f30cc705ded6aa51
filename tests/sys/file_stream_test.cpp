#include "sys/file_stream.h"

#include <gtest/gtest.h>

#include "tests/sys/temp_folder.h"

namespace {

TEST(FileStream, WritesThenReadsBackWithSizeAndSeek) {
    TempFolder dir;
    const std::string path = dir.path() + "data.bin";
    FileStream out;
    ASSERT_EQ(out.open(path, FileStream::Mode::Create), kOk);
    ASSERT_EQ(out.write("0123456789", 10), kOk);
    ASSERT_EQ(out.close(), kOk);

    FileStream in;
    ASSERT_EQ(in.open(path, FileStream::Mode::Read), kOk);
    std::int64_t bytes = 0;
    ASSERT_EQ(in.size(bytes), kOk);
    EXPECT_EQ(bytes, 10);
    ASSERT_EQ(in.seek(4), kOk);
    char four[4];
    ASSERT_EQ(in.readExact(four, 4), kOk);
    EXPECT_EQ(std::string(four, 4), "4567");
}

TEST(FileStream, ShortReadIsReportedByReadSomeAndIsAnErrorForReadExact) {
    TempFolder dir;
    const std::string path = dir.writeFile("short.bin", "abc");
    FileStream in;
    ASSERT_EQ(in.open(path, FileStream::Mode::Read), kOk);
    char buffer[8];
    std::size_t got = 99;
    ASSERT_EQ(in.readSome(buffer, sizeof buffer, got), kOk);
    EXPECT_EQ(got, 3u);
    ASSERT_EQ(in.seek(1), kOk);
    EXPECT_EQ(in.readExact(buffer, 3), kIoReadBeyondEnd);
}

TEST(FileStream, EveryOperationOnAClosedStreamGives103) {
    FileStream closed;
    char buffer[1];
    std::size_t got = 0;
    std::int64_t bytes = 0;
    EXPECT_FALSE(closed.isOpen());
    EXPECT_EQ(closed.seek(0), kIoFileNotOpen);
    EXPECT_EQ(closed.size(bytes), kIoFileNotOpen);
    EXPECT_EQ(closed.readSome(buffer, 1, got), kIoFileNotOpen);
    EXPECT_EQ(closed.readExact(buffer, 1), kIoFileNotOpen);
    EXPECT_EQ(closed.write("x", 1), kIoFileNotOpen);
    EXPECT_EQ(closed.close(), kIoFileNotOpen);
}

TEST(FileStream, OpeningAMissingFileGivesTheWindowsError) {
    TempFolder dir;
    FileStream stream;
    EXPECT_EQ(stream.open(dir.path() + "missing.bin", FileStream::Mode::Read),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(stream.open(dir.path() + "missing.bin", FileStream::Mode::ReadWrite),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(stream.open(dir.path() + "no\\such\\folder.bin", FileStream::Mode::Create),
              ERROR_PATH_NOT_FOUND);
    EXPECT_FALSE(stream.isOpen());
}

TEST(FileStream, ReadersShareButAWriterIsRefusedWhileOneReads) {
    TempFolder dir;
    const std::string path = dir.writeFile("shared.bin", "abc");
    FileStream first;
    FileStream second;
    ASSERT_EQ(first.open(path, FileStream::Mode::Read), kOk);
    EXPECT_EQ(second.open(path, FileStream::Mode::Read), kOk);
    FileStream writer;
    EXPECT_EQ(writer.open(path, FileStream::Mode::Create), ERROR_SHARING_VIOLATION);
}

TEST(FileStream, CreateReplacesAndReadWriteChangesInPlace) {
    TempFolder dir;
    const std::string path = dir.writeFile("replace.bin", "a long old content");
    {
        FileStream stream;
        ASSERT_EQ(stream.open(path, FileStream::Mode::Create), kOk);
        ASSERT_EQ(stream.write("new!", 4), kOk);
    }  // closed by its owner
    EXPECT_EQ(readWholeFile(path), "new!");
    {
        FileStream stream;
        ASSERT_EQ(stream.open(path, FileStream::Mode::ReadWrite), kOk);
        ASSERT_EQ(stream.seek(1), kOk);
        ASSERT_EQ(stream.write("EW", 2), kOk);
        char first;
        ASSERT_EQ(stream.readExact(&first, 1), kOk);
        EXPECT_EQ(first, '!');
    }
    EXPECT_EQ(readWholeFile(path), "nEW!");
}

}  // namespace
