#include "package/startup_shortcut.h"

#include <gtest/gtest.h>

#include "package/crc_utils.h"
#include "package_test_support.h"
#include "sys/file_operations.h"
#include "sys/folders.h"
#include "sys/win_handle.h"

namespace {

std::string ownPath() {
    char path[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    return path;
}

std::string shortcutFor(const std::string& installerPath) {
    std::uint32_t crc = 0;
    EXPECT_TRUE(crc32OfText(installerPath, crc));
    return withTrailingBackslash(getSpecialFolderPath(kCsidlStartup)) + startupShortcutName(crc);
}

class StartupShortcut : public PackageTest {};

// Also what the copy of this program runs in the test below.
TEST_F(StartupShortcut, RemoveOnce) {
    removeStartupShortcut();
}

TEST_F(StartupShortcut, AReadOnlyShortcutOfThisPathIsRemoved) {
    const std::string shortcut = shortcutFor(ownPath());
    createFolderTree(getSpecialFolderPath(kCsidlStartup));
    writeFile(shortcut, bytesOf("shortcut"));
    ASSERT_TRUE(
        SetFileAttributesA(shortcut.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
    removeStartupShortcut();
    EXPECT_FALSE(exists(shortcut));
    EXPECT_TRUE(boxes().empty());
}

TEST_F(StartupShortcut, TheSameProgramElsewhereRemovesOnlyItsOwnShortcut) {
    const std::string copy = root_ + "copy of installer.exe";
    ASSERT_TRUE(CopyFileA(ownPath().c_str(), copy.c_str(), FALSE));
    const std::string mine = shortcutFor(ownPath());
    const std::string theCopys = shortcutFor(copy);
    ASSERT_NE(mine, theCopys);
    createFolderTree(getSpecialFolderPath(kCsidlStartup));
    writeFile(mine, bytesOf("mine"));
    writeFile(theCopys, bytesOf("the copy's"));

    std::string commandLine = "\"" + copy + "\" --gtest_filter=StartupShortcut.RemoveOnce";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(CreateProcessA(copy.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                               nullptr, nullptr, &startup, &process));
    UniqueProcess processHandle(process.hProcess);
    UniqueProcess threadHandle(process.hThread);
    ASSERT_EQ(WaitForSingleObject(process.hProcess, 60000), WAIT_OBJECT_0);

    EXPECT_FALSE(exists(theCopys));
    EXPECT_TRUE(exists(mine));
    DeleteFileA(mine.c_str());
}

}  // namespace
