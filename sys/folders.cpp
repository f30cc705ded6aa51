#include "sys/folders.h"

#include "sys/path_text.h"

namespace {

constexpr const char* kVendorFolder = "Norvale\\";
constexpr const char* kWorkFolderBase = "NRX";
constexpr int kMaxWorkFolderNumber = 1000;
// Reported when every numbered candidate already exists, so no creation was attempted and the
// system's last error says nothing: the names are taken.
constexpr ResultCode kErrAllCandidatesTaken = 183;  // ERROR_ALREADY_EXISTS

// A non-empty value gets its backslash; an empty one stays empty, so that the caller can
// tell that the folder is unknown instead of going on with "\".
std::string folderValue(const std::string& text) {
    return text.empty() ? std::string() : withTrailingBackslash(text);
}

}  // namespace

std::string withTrailingBackslash(const std::string& folder) {
    if (!folder.empty() && folder.back() == '\\') return folder;
    return folder + "\\";
}

std::string getWindowsDir(FolderPlatform& platform) {
    return folderValue(platform.environment("WINDIR"));
}

std::string getSystemDir(FolderPlatform& platform) {
    return folderValue(platform.systemDirectory());
}

std::string getSysNativeDir(FolderPlatform& platform) {
    // Computed on every system; only a 32-bit process on 64-bit Windows uses it, where the
    // file system redirector maps this alias to the native system folder.
    const std::string root = folderValue(platform.environment("SystemRoot"));
    return root.empty() ? root : root + "Sysnative\\";
}

ResultCode createNumberedWorkFolder(FolderPlatform& platform, const std::string& baseName,
                                    std::string& folder) {
    const std::string localAppData = folderValue(platform.specialFolder(kCsidlLocalAppData));
    if (localAppData.empty()) return kErrFolderUnknown;
    const std::string parent = localAppData + kVendorFolder;
    // If this fails, every candidate below fails too and reports why.
    if (!platform.folderExists(withoutTrailingBackslash(parent))) {
        platform.createFolder(withoutTrailingBackslash(parent));
    }

    bool attempted = false;
    for (int n = 1; n <= kMaxWorkFolderNumber; ++n) {
        // An existing folder, perhaps left by an earlier run, is never reused: its content
        // is not ours to trust or to delete.
        const std::string candidate = parent + baseName + std::to_string(n);
        if (platform.folderExists(candidate)) continue;
        attempted = true;
        if (platform.createFolder(candidate)) {
            folder = candidate + "\\";
            return kOk;
        }
    }
    if (!attempted) return kErrAllCandidatesTaken;
    const auto error = static_cast<ResultCode>(platform.lastError());
    return error != kOk ? error : kErrAllCandidatesTaken;
}

ResultCode resolveInstallerFolders(FolderPlatform& platform, InstallerFolders& folders) {
    folders.windowsDir = getWindowsDir(platform);
    if (folders.windowsDir.empty()) return kErrFolderUnknown;
    folders.systemDir = getSystemDir(platform);
    if (folders.systemDir.empty()) return kErrFolderUnknown;
    folders.sysNativeDir = getSysNativeDir(platform);
    if (folders.sysNativeDir.empty()) return kErrFolderUnknown;
    // Only named here; the install creates it when it prepares the saver's folder.
    const std::string commonAppData = folderValue(platform.specialFolder(kCsidlCommonAppData));
    if (commonAppData.empty()) return kErrFolderUnknown;
    folders.vendorDataDir = commonAppData + kVendorFolder;
    return createNumberedWorkFolder(platform, kWorkFolderBase, folders.workDir);
}
