// File operations where Windows refuses an ordinary user what Wine lets root do. Run through
// run-unprivileged.sh, which also names a folder of root's in NRV_PROTECTED_FOLDER.
// Not covered here: deleting a file in a folder of another user. Wine 8 reports DeleteFileA
// as successful there although the file stays, so the result could not be checked.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "sys/file_operations.h"
#include "sys/file_stream.h"
#include "tests/sys/temp_folder.h"

namespace {

DWORD readOnly(const std::string& path) {
    return ::GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_READONLY;
}

TEST(Unprivileged, TheRunRefusesWritesLikeWindows) {
    // Without this the cases below would prove nothing.
    TempFolder dir;
    const std::string source = dir.writeFile("new.txt", "new");
    const std::string target = dir.writeFile("old.txt", "old", FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(::CopyFileA(source.c_str(), target.c_str(), FALSE));
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
}

TEST(Unprivileged, CopyOverAReadOnlyTargetResetsItAndOverwrites) {
    TempFolder dir;
    const std::string source = dir.writeFile("new.txt", "new", FILE_ATTRIBUTE_READONLY);
    const std::string target =
        dir.writeFile("old.txt", "old", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    ASSERT_TRUE(copyFileClearingAttributes(source, target));
    EXPECT_EQ(readWholeFile(target), "new");
    EXPECT_EQ(readOnly(target), 0u);
}

TEST(Unprivileged, ReadOnlyFilesAndTreesAreDeleted) {
    TempFolder dir;
    const std::string file = dir.writeFile("ro.scr", "x", FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(deleteFileWithRetries(file, 1), kOk);
    EXPECT_FALSE(fileExists(file));

    const std::string tree = dir.makeFolder("tree");
    dir.makeFolder("tree\\sub");
    dir.writeFile("tree\\sub\\ro.txt", "x", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM);
    EXPECT_EQ(deleteFolderTree(tree), kOk);
    EXPECT_FALSE(folderExists(tree));
}

TEST(Unprivileged, AReadOnlyFileCannotBeOpenedForWriting) {
    TempFolder dir;
    const std::string path = dir.writeFile("ro.dat", "x", FILE_ATTRIBUTE_READONLY);
    FileStream stream;
    EXPECT_EQ(stream.open(path, FileStream::Mode::ReadWrite), ERROR_ACCESS_DENIED);
    EXPECT_EQ(stream.open(path, FileStream::Mode::Create), ERROR_ACCESS_DENIED);
    EXPECT_EQ(stream.open(path, FileStream::Mode::Read), kOk);
}

class ProtectedFolder : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* folder = std::getenv("NRV_PROTECTED_FOLDER");
        ASSERT_NE(folder, nullptr) << "run through tests/sys/run-unprivileged.sh";
        folder_ = folder;
    }
    std::string folder_;
};

TEST_F(ProtectedFolder, CopyIntoItFailsWithAccessDenied) {
    TempFolder dir;
    const std::string source = dir.writeFile("new.txt", "new");
    EXPECT_FALSE(copyFileClearingAttributes(source, folder_ + "protected.txt"));
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_FALSE(copyFileClearingAttributes(source, folder_ + "a\\b\\new.txt"));
    EXPECT_FALSE(folderExists(folder_ + "a"));
}

}  // namespace
