#include "sys/folders.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <vector>

namespace {

constexpr std::uint32_t kErrorAlreadyExists = 183;
constexpr std::uint32_t kErrorAccessDenied = 5;

// A file system of folder names and file names, with the environment and shell folders of a
// typical Windows XP machine installed on D:.
class FakeFolderPlatform : public FolderPlatform {
  public:
    std::map<std::string, std::string> variables{{"WINDIR", "D:\\WINDOWS"},
                                                 {"SystemRoot", "D:\\WINDOWS"}};
    std::string systemDir = "D:\\WINDOWS\\system32";
    std::map<int, std::string> specialFolders{
        {kCsidlCommonAppData, "D:\\Documents and Settings\\All Users\\Application Data"},
        {kCsidlLocalAppData, "D:\\Documents and Settings\\Ann\\Local Settings\\Application Data"},
    };
    std::set<std::string> folders;
    std::set<std::string> files;
    bool denyCreation = false;
    std::vector<std::string> created;

    std::string environment(const std::string& name) override {
        const auto it = variables.find(name);
        return it == variables.end() ? "" : it->second;
    }
    std::string systemDirectory() override { return systemDir; }
    std::string specialFolder(int csidl) override {
        const auto it = specialFolders.find(csidl);
        return it == specialFolders.end() ? "" : it->second;
    }
    bool folderExists(const std::string& path) override { return folders.count(path) != 0; }
    bool createFolder(const std::string& path) override {
        if (denyCreation) {
            error_ = kErrorAccessDenied;
            return false;
        }
        if (folders.count(path) || files.count(path)) {
            error_ = kErrorAlreadyExists;
            return false;
        }
        folders.insert(path);
        created.push_back(path);
        return true;
    }
    std::uint32_t lastError() override { return error_; }

  private:
    std::uint32_t error_ = 0;
};

const std::string kVendorParent =
    "D:\\Documents and Settings\\Ann\\Local Settings\\Application Data\\Norvale";

TEST(FolderValues, GetOneBackslashWhateverTheSourceEndsWith) {
    const struct {
        const char* windows;
        const char* system;
    } cases[] = {{"D:\\WINDOWS", "D:\\WINDOWS\\system32"},
                 {"D:\\WINDOWS\\", "D:\\WINDOWS\\system32\\"}};
    for (const auto& c : cases) {
        FakeFolderPlatform platform;
        platform.variables["WINDIR"] = c.windows;
        platform.variables["SystemRoot"] = c.windows;
        platform.systemDir = c.system;
        EXPECT_EQ(getWindowsDir(platform), "D:\\WINDOWS\\") << c.windows;
        EXPECT_EQ(getSystemDir(platform), "D:\\WINDOWS\\system32\\") << c.system;
        // Named on every system, although only 64-bit Windows has such an alias.
        EXPECT_EQ(getSysNativeDir(platform), "D:\\WINDOWS\\Sysnative\\") << c.windows;
    }
    EXPECT_EQ(withTrailingBackslash("C:"), "C:\\");
}

TEST(ResolveInstallerFolders, FirstRunOnAnAccountCreatesTheVendorFolderThenNrx1) {
    FakeFolderPlatform platform;
    InstallerFolders folders;
    ASSERT_EQ(resolveInstallerFolders(platform, folders), kOk);
    EXPECT_EQ(folders.windowsDir, "D:\\WINDOWS\\");
    EXPECT_EQ(folders.systemDir, "D:\\WINDOWS\\system32\\");
    EXPECT_EQ(folders.sysNativeDir, "D:\\WINDOWS\\Sysnative\\");
    EXPECT_EQ(folders.vendorDataDir,
              "D:\\Documents and Settings\\All Users\\Application Data\\Norvale\\");
    EXPECT_EQ(folders.workDir, kVendorParent + "\\NRX1\\");
    // Only the work folder and its parent: the vendor data folder is left to the install.
    EXPECT_EQ(platform.created,
              (std::vector<std::string>{kVendorParent, kVendorParent + "\\NRX1"}));
}

TEST(CreateNumberedWorkFolder, SkipsExistingFoldersAndNeverReusesOne) {
    FakeFolderPlatform platform;
    platform.folders = {kVendorParent, kVendorParent + "\\NRX1", kVendorParent + "\\NRX2",
                        kVendorParent + "\\NRX3"};
    std::string folder;
    ASSERT_EQ(createNumberedWorkFolder(platform, "NRX", folder), kOk);
    EXPECT_EQ(folder, kVendorParent + "\\NRX4\\");
    EXPECT_EQ(platform.created, std::vector<std::string>{kVendorParent + "\\NRX4"});
}

TEST(CreateNumberedWorkFolder, AFileInTheWayIsSkipped) {
    FakeFolderPlatform platform;
    platform.folders = {kVendorParent};
    platform.files = {kVendorParent + "\\NRX1"};
    std::string folder;
    ASSERT_EQ(createNumberedWorkFolder(platform, "NRX", folder), kOk);
    EXPECT_EQ(folder, kVendorParent + "\\NRX2\\");
}

TEST(CreateNumberedWorkFolder, OtherBaseNamesNumberTheirOwnFolders) {
    FakeFolderPlatform platform;
    platform.folders = {kVendorParent, kVendorParent + "\\NRX1"};
    std::string folder;
    ASSERT_EQ(createNumberedWorkFolder(platform, "FlashPanel", folder), kOk);
    EXPECT_EQ(folder, kVendorParent + "\\FlashPanel1\\");
}

TEST(CreateNumberedWorkFolder, AllThousandTakenReportsAlreadyExists) {
    FakeFolderPlatform platform;
    platform.folders.insert(kVendorParent);
    for (int n = 1; n <= 1000; ++n)
        platform.folders.insert(kVendorParent + "\\NRX" + std::to_string(n));
    std::string folder = "unchanged";
    EXPECT_EQ(createNumberedWorkFolder(platform, "NRX", folder), 183);
    EXPECT_EQ(folder, "unchanged");
    EXPECT_TRUE(platform.created.empty());
}

TEST(CreateNumberedWorkFolder, NumberThousandIsTheLastTried) {
    FakeFolderPlatform platform;
    platform.folders.insert(kVendorParent);
    for (int n = 1; n <= 999; ++n)
        platform.folders.insert(kVendorParent + "\\NRX" + std::to_string(n));
    std::string folder;
    ASSERT_EQ(createNumberedWorkFolder(platform, "NRX", folder), kOk);
    EXPECT_EQ(folder, kVendorParent + "\\NRX1000\\");
}

TEST(CreateNumberedWorkFolder, RefusedCreationReportsTheSystemError) {
    FakeFolderPlatform platform;
    platform.denyCreation = true;
    std::string folder = "unchanged";
    EXPECT_EQ(createNumberedWorkFolder(platform, "NRX", folder), 5);
    EXPECT_EQ(folder, "unchanged");
}

TEST(ResolveInstallerFolders, AnEmptySourceStopsWithFolderUnknownBeforeCreatingAnything) {
    const struct {
        const char* what;
        void (*empty)(FakeFolderPlatform&);
    } cases[] = {
        {"WINDIR", [](FakeFolderPlatform& p) { p.variables.erase("WINDIR"); }},
        {"system directory", [](FakeFolderPlatform& p) { p.systemDir.clear(); }},
        {"SystemRoot", [](FakeFolderPlatform& p) { p.variables["SystemRoot"] = ""; }},
        {"common app data",
         [](FakeFolderPlatform& p) { p.specialFolders.erase(kCsidlCommonAppData); }},
        {"local app data",
         [](FakeFolderPlatform& p) { p.specialFolders.erase(kCsidlLocalAppData); }},
    };
    for (const auto& c : cases) {
        FakeFolderPlatform platform;
        c.empty(platform);
        InstallerFolders folders;
        EXPECT_EQ(resolveInstallerFolders(platform, folders), kErrFolderUnknown) << c.what;
        EXPECT_TRUE(platform.created.empty()) << c.what;
        EXPECT_TRUE(folders.workDir.empty()) << c.what;
    }
}

}  // namespace
