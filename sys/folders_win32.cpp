#include <shlobj.h>
#include <windows.h>

#include "sys/file_operations.h"
#include "sys/folders.h"

namespace {

class Win32FolderPlatform final : public FolderPlatform {
  public:
    std::string environment(const std::string& name) override {
        char small[MAX_PATH + 1];
        DWORD length = ::GetEnvironmentVariableA(name.c_str(), small, sizeof small);
        if (length == 0) return {};
        if (length < sizeof small) return std::string(small, length);
        // Too small: the answer is the size needed, terminating zero included.
        std::string value(length, '\0');
        length = ::GetEnvironmentVariableA(name.c_str(), value.data(), length);
        if (length == 0 || length >= value.size()) return {};
        value.resize(length);
        return value;
    }

    std::string systemDirectory() override {
        char buffer[301];
        const UINT length = ::GetSystemDirectoryA(buffer, sizeof buffer);
        // Zero is a failure; a length at or above the buffer size is the size it would need.
        if (length == 0 || length >= sizeof buffer) return {};
        return std::string(buffer, length);
    }

    std::string specialFolder(int csidl) override { return getSpecialFolderPath(csidl); }

    bool folderExists(const std::string& path) override { return ::folderExists(path); }

    bool createFolder(const std::string& path) override {
        return ::CreateDirectoryA(path.c_str(), nullptr) != FALSE;
    }

    std::uint32_t lastError() override { return ::GetLastError(); }
};

}  // namespace

FolderPlatform& win32FolderPlatform() {
    static Win32FolderPlatform platform;
    return platform;
}

std::string getSpecialFolderPath(int csidl) {
    // SHGetSpecialFolderLocation and SHGetPathFromIDListA exist from the first shell32 on;
    // the newer SHGetFolderPathA does not exist on a plain Windows 95.
    LPITEMIDLIST list = nullptr;
    if (FAILED(::SHGetSpecialFolderLocation(nullptr, csidl, &list)) || list == nullptr) return {};
    std::string path;
    char buffer[MAX_PATH + 1] = {};
    if (::SHGetPathFromIDListA(list, buffer)) path = buffer;
    // The list belongs to the shell's allocator.
    IMalloc* allocator = nullptr;
    if (SUCCEEDED(::SHGetMalloc(&allocator)) && allocator != nullptr) {
        allocator->Free(list);
        allocator->Release();
    }
    return path;
}
