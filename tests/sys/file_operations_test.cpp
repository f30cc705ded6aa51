#include "sys/file_operations.h"

#include <gtest/gtest.h>

#include "sys/win_handle.h"
#include "tests/sys/temp_folder.h"

namespace {

// Holds a file open with share mode 0: DeleteFileA then fails with a sharing violation, as it
// does while another program (a running screen saver) has the file open.
UniqueFile holdWithoutSharing(const std::string& path) {
    return UniqueFile(::CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
}

struct AttributeCase {
    const char* name;
    DWORD attributes;
};

TEST(DeleteFileClearingAttributes, DeletesFilesWhateverTheirAttributes) {
    const AttributeCase cases[] = {
        {"plain.txt", FILE_ATTRIBUTE_NORMAL},
        {"readonly.txt", FILE_ATTRIBUTE_READONLY},
        {"hidden.txt", FILE_ATTRIBUTE_HIDDEN},
        {"system.txt", FILE_ATTRIBUTE_SYSTEM},
        {"all.txt", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM},
    };
    TempFolder dir;
    for (const auto& c : cases) {
        const std::string path = dir.writeFile(c.name, "x", c.attributes);
        ASSERT_TRUE(fileExists(path)) << c.name;
        EXPECT_EQ(deleteFileClearingAttributes(path), kOk) << c.name;
        EXPECT_FALSE(fileExists(path)) << c.name;
    }
}

TEST(DeleteFileClearingAttributes, AMissingFileCountsAsDeleted) {
    TempFolder dir;
    EXPECT_EQ(deleteFileClearingAttributes(dir.path() + "never-there.txt"), kOk);
    EXPECT_EQ(deleteFileWithRetries(dir.path() + "never-there.scr", 1), kOk);
}

TEST(DeleteFileClearingAttributes, AFileHeldOpenStaysAndGives32) {
    TempFolder dir;
    const std::string path = dir.writeFile("held.scr");
    UniqueFile holder = holdWithoutSharing(path);
    ASSERT_TRUE(holder.valid());
    EXPECT_EQ(deleteFileClearingAttributes(path), kErrFileInUse);
    EXPECT_TRUE(fileExists(path));
}

TEST(DeleteFileWithRetries, AFileHeldOpenGivesTheCodeOfItsExtension) {
    const struct {
        const char* name;
        ResultCode expected;
    } cases[] = {
        {"engine.scr", kErrSaverInUse}, {"ENGINE.SCR", kErrSaverInUse},
        {"engine.Scr", kErrSaverInUse}, {"settings.dat", kErrFileInUse},
        {"scr", kErrFileInUse},
    };
    TempFolder dir;
    for (const auto& c : cases) {
        const std::string path = dir.writeFile(c.name, "x", FILE_ATTRIBUTE_READONLY);
        {
            UniqueFile holder = holdWithoutSharing(path);
            ASSERT_TRUE(holder.valid()) << c.name;
            EXPECT_EQ(deleteFileWithRetries(path, 1000), c.expected) << c.name;
            EXPECT_TRUE(fileExists(path)) << c.name;
        }
        // Once the holder lets go, one attempt is enough, read-only or not.
        EXPECT_EQ(deleteFileWithRetries(path, 1), kOk) << c.name;
        EXPECT_FALSE(fileExists(path)) << c.name;
    }
}

TEST(DeleteFileWithRetries, NoAttemptAskedGivesMinusOneAndTouchesNothing) {
    TempFolder dir;
    const std::string path = dir.writeFile("keep.dat", "x", FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(deleteFileWithRetries(path, 0), kErrFolderNotRemoved);
    EXPECT_EQ(deleteFileWithRetries(path, -5), kErrFolderNotRemoved);
    EXPECT_TRUE(fileExists(path));
    EXPECT_EQ(::GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_READONLY,
              static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
}

TEST(DeleteFolderTree, RemovesTwoLevelsWithProtectedFiles) {
    TempFolder dir;
    const std::string root = dir.makeFolder("tree");
    dir.makeFolder("tree\\one");
    dir.makeFolder("tree\\one\\two");
    dir.makeFolder("tree\\empty");
    dir.writeFile("tree\\top.txt", "x", FILE_ATTRIBUTE_HIDDEN);
    dir.writeFile("tree\\one\\ro.txt", "x", FILE_ATTRIBUTE_READONLY);
    dir.writeFile("tree\\one\\two\\deep.txt", "x",
                  FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    ::SetFileAttributesA((root + "one\\two").c_str(), FILE_ATTRIBUTE_READONLY);

    EXPECT_EQ(deleteFolderTree(root), kOk);
    EXPECT_FALSE(folderExists(root));
}

TEST(DeleteFolderTree, MissingFolderGivesZeroAndEmptyTextGivesMinusOne) {
    TempFolder dir;
    EXPECT_EQ(deleteFolderTree(dir.path() + "absent\\"), kOk);
    EXPECT_EQ(deleteFolderTree(""), kErrFolderNotRemoved);
}

TEST(DeleteFolderTree, StopsAtAFileHeldOpenAndKeepsTheFolder) {
    TempFolder dir;
    const std::string root = dir.makeFolder("busy");
    const std::string held = dir.writeFile("busy\\held.dat");
    UniqueFile holder = holdWithoutSharing(held);
    ASSERT_TRUE(holder.valid());
    EXPECT_EQ(deleteFolderTree(root), kErrFileInUse);
    EXPECT_TRUE(folderExists(root));
    EXPECT_TRUE(fileExists(held));
}

TEST(DeleteFolderTree, ASubFolderThatStaysMakesTheParentFailWithMinusOne) {
    TempFolder dir;
    const std::string root = dir.makeFolder("parent");
    dir.makeFolder("parent\\child");
    const std::string held = dir.writeFile("parent\\child\\held.dat");
    UniqueFile holder = holdWithoutSharing(held);
    ASSERT_TRUE(holder.valid());
    EXPECT_EQ(deleteFolderTree(root), kErrFolderNotRemoved);
    EXPECT_TRUE(fileExists(held));
}

TEST(CopyFileClearingAttributes, CreatesTwoMissingFolderLevels) {
    TempFolder dir;
    const std::string source = dir.writeFile("source.txt", "payload", FILE_ATTRIBUTE_READONLY);
    const std::string target = dir.path() + "a\\b\\target.txt";
    ASSERT_TRUE(copyFileClearingAttributes(source, target));
    EXPECT_EQ(readWholeFile(target), "payload");
    // The source's read-only attribute was dropped first, so the copy is writable too.
    EXPECT_EQ(::GetFileAttributesA(target.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
}

TEST(CopyFileClearingAttributes, OverwritesAHiddenReadOnlyTarget) {
    TempFolder dir;
    const std::string source = dir.writeFile("new.txt", "new");
    const std::string target =
        dir.writeFile("old.txt", "old", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    ASSERT_TRUE(copyFileClearingAttributes(source, target));
    EXPECT_EQ(readWholeFile(target), "new");
}

TEST(CopyFileClearingAttributes, AMissingSourceGivesNoAndLeavesTheReason) {
    TempFolder dir;
    EXPECT_FALSE(copyFileClearingAttributes(dir.path() + "none.txt", dir.path() + "t.txt"));
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST(CopyFileClearingAttributes, ATargetHeldOpenGivesNoWithASharingViolation) {
    TempFolder dir;
    const std::string source = dir.writeFile("new.txt", "new");
    const std::string target = dir.writeFile("held.txt", "old");
    UniqueFile holder = holdWithoutSharing(target);
    ASSERT_TRUE(holder.valid());
    EXPECT_FALSE(copyFileClearingAttributes(source, target));
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
}

TEST(CreateFolderTree, CreatesEveryMissingLevelWithOrWithoutBackslash) {
    TempFolder dir;
    createFolderTree(dir.path() + "x\\y\\z\\");
    EXPECT_TRUE(folderExists(dir.path() + "x\\y\\z"));
    createFolderTree(dir.path() + "p\\q");
    EXPECT_TRUE(folderExists(dir.path() + "p\\q"));
    createFolderTree(dir.path() + "p\\q");  // exists already: nothing happens
    EXPECT_TRUE(folderExists(dir.path() + "p\\q"));
}

TEST(CreateFolderTree, AMissingDriveOrEmptyTextEndsTheClimb) {
    // Returning at all is the point: the climb used to loop on a root with no parent.
    createFolderTree("Q:\\a\\b\\");
    createFolderTree("");
    createFolderTree("\\\\nosuchserver\\share\\x\\");
    createFolderTree("relative-name-only");
    EXPECT_FALSE(folderExists("Q:\\a\\b\\"));
    ::RemoveDirectoryA("relative-name-only");
}

TEST(FileAndFolderExists, TellFilesAndFoldersApart) {
    TempFolder dir;
    const std::string file = dir.writeFile("f.txt", "x", FILE_ATTRIBUTE_HIDDEN);
    EXPECT_TRUE(fileExists(file));
    EXPECT_FALSE(folderExists(file));
    EXPECT_TRUE(folderExists(dir.path()));
    EXPECT_FALSE(fileExists(dir.path()));
    EXPECT_FALSE(fileExists(dir.path() + "none"));
    EXPECT_FALSE(folderExists(dir.path() + "none"));
}

std::string besideThisProgram(const std::string& name) {
    char self[MAX_PATH + 1] = {};
    ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string path = self;
    return path.substr(0, path.find_last_of('\\') + 1) + name;
}

TEST(MyGetFileVersion, ReadsMajorAndTheThirdNumber) {
    int major = -1;
    int revision = -1;
    myGetFileVersion(besideThisProgram("sys_version_fixture.dll"), major, revision);
    EXPECT_EQ(major, 9);
    EXPECT_EQ(revision, 124);
}

TEST(MyGetFileVersion, LeavesTheOutputsAloneWithoutAVersionResource) {
    TempFolder dir;
    const struct {
        std::string path;
    } cases[] = {{dir.writeFile("plain.txt", "no resource here")},
                 {dir.path() + "missing.dll"},
                 {besideThisProgram("sys_win_tests.exe")}};
    for (const auto& c : cases) {
        int major = 7;
        int revision = 42;
        myGetFileVersion(c.path, major, revision);
        EXPECT_EQ(major, 7) << c.path;
        EXPECT_EQ(revision, 42) << c.path;
    }
}

}  // namespace
