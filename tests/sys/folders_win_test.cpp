#include <windows.h>

#include <gtest/gtest.h>

#include "sys/file_operations.h"
#include "sys/folders.h"

namespace {

bool endsWithOneBackslash(const std::string& folder) {
    return folder.size() >= 2 && folder.back() == '\\' && folder[folder.size() - 2] != '\\';
}

std::string lowerCase(std::string text) {
    for (char& c : text) c = static_cast<char>(::tolower(static_cast<unsigned char>(c)));
    return text;
}

TEST(SpecialFolders, ComeWithoutBackslashAndExist) {
    for (int csidl : {kCsidlStartup, kCsidlLocalAppData, kCsidlCommonAppData}) {
        const std::string path = getSpecialFolderPath(csidl);
        ASSERT_FALSE(path.empty()) << csidl;
        EXPECT_NE(path.back(), '\\') << path;
        EXPECT_TRUE(folderExists(path)) << path;
    }
    EXPECT_EQ(getSpecialFolderPath(0x7F), "");  // no such folder
}

TEST(ResolveInstallerFolders, GivesEveryFolderAndAFreshWorkFolder) {
    InstallerFolders folders;
    ASSERT_EQ(resolveInstallerFolders(win32FolderPlatform(), folders), kOk);
    for (const std::string* value : {&folders.windowsDir, &folders.systemDir, &folders.sysNativeDir,
                                     &folders.vendorDataDir, &folders.workDir}) {
        EXPECT_TRUE(endsWithOneBackslash(*value)) << *value;
    }
    EXPECT_EQ(lowerCase(folders.windowsDir), "c:\\windows\\");
    EXPECT_EQ(lowerCase(folders.systemDir), "c:\\windows\\system32\\");
    EXPECT_EQ(lowerCase(folders.sysNativeDir), "c:\\windows\\sysnative\\");
    EXPECT_EQ(folders.vendorDataDir, getSpecialFolderPath(kCsidlCommonAppData) + "\\Norvale\\");
    const std::string parent = getSpecialFolderPath(kCsidlLocalAppData) + "\\Norvale\\NRX";
    EXPECT_EQ(folders.workDir.compare(0, parent.size(), parent), 0) << folders.workDir;
    EXPECT_TRUE(folderExists(folders.workDir));
    EXPECT_FALSE(folderExists(folders.vendorDataDir)) << "created too early";
    EXPECT_EQ(deleteFolderTree(folders.workDir), kOk);
}

TEST(CreateNumberedWorkFolder, NumbersFollowOnTheRealFileSystem) {
    const std::string parent = getSpecialFolderPath(kCsidlLocalAppData) + "\\Norvale\\";
    createFolderTree(parent);
    // A file where the first folder would go is passed over.
    const std::string blocker = parent + "SysTestRun1";
    ::CloseHandle(::CreateFileA(blocker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    std::string first;
    std::string second;
    ASSERT_EQ(createNumberedWorkFolder(win32FolderPlatform(), "SysTestRun", first), kOk);
    ASSERT_EQ(createNumberedWorkFolder(win32FolderPlatform(), "SysTestRun", second), kOk);
    EXPECT_EQ(first, parent + "SysTestRun2\\");
    EXPECT_EQ(second, parent + "SysTestRun3\\");
    EXPECT_TRUE(folderExists(first));
    EXPECT_TRUE(folderExists(second));
    deleteFolderTree(first);
    deleteFolderTree(second);
    deleteFileClearingAttributes(blocker);
}

}  // namespace
