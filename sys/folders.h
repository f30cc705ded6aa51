// Folder resolution: every folder value the installer uses, each an absolute path ending with
// exactly one "\", and the numbered per-run work folder.
#pragma once

#include <cstdint>
#include <string>

#include "app/result_codes.h"

struct InstallerFolders {
    std::string windowsDir;
    std::string systemDir;
    std::string sysNativeDir;
    std::string vendorDataDir;
    std::string workDir;
};

constexpr int kCsidlStartup = 7;
constexpr int kCsidlLocalAppData = 28;
constexpr int kCsidlCommonAppData = 35;

// The calls resolution makes, so that its rules run and are tested apart from Windows.
class FolderPlatform {
public:
    virtual ~FolderPlatform() = default;
    virtual std::string environment(const std::string& name) = 0;  // "" when unset
    virtual std::string systemDirectory() = 0;                      // "" on failure
    virtual std::string specialFolder(int csidl) = 0;               // no trailing "\"; "" if none
    virtual bool folderExists(const std::string& path) = 0;
    virtual bool createFolder(const std::string& path) = 0;  // one level
    virtual std::uint32_t lastError() = 0;
};

std::string withTrailingBackslash(const std::string& folder);

std::string getWindowsDir(FolderPlatform& platform);
std::string getSystemDir(FolderPlatform& platform);
std::string getSysNativeDir(FolderPlatform& platform);
ResultCode createNumberedWorkFolder(FolderPlatform& platform, const std::string& baseName,
                                    std::string& folder);
// 0, a Windows error number from the work folder's creation, or kErrFolderUnknown when a
// folder value would be empty.
ResultCode resolveInstallerFolders(FolderPlatform& platform, InstallerFolders& folders);

#ifdef _WIN32
FolderPlatform& win32FolderPlatform();
std::string getSpecialFolderPath(int csidl);
#endif
