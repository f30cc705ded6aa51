// A fresh folder under the Windows temporary folder for one test, removed afterwards.
#pragma once

#include <windows.h>

#include <string>

#include "sys/file_operations.h"

class TempFolder {
  public:
    TempFolder() {
        static int counter = 0;
        char base[MAX_PATH + 1] = {};
        ::GetTempPathA(sizeof base, base);
        path_ = std::string(base) + "nrv_sys_" + std::to_string(::GetCurrentProcessId()) + "_" +
                std::to_string(++counter) + "\\";
        ::CreateDirectoryA(path_.c_str(), nullptr);
    }
    ~TempFolder() { deleteFolderTree(path_); }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder, ending with "\".
    const std::string& path() const { return path_; }

    // Writes a file below the folder (its folders must exist) and gives its full path.
    std::string writeFile(const std::string& name, const std::string& content = "x",
                          DWORD attributes = FILE_ATTRIBUTE_NORMAL) const {
        const std::string full = path_ + name;
        HANDLE h = ::CreateFileA(full.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h != INVALID_HANDLE_VALUE) {
            DWORD done = 0;
            ::WriteFile(h, content.data(), static_cast<DWORD>(content.size()), &done, nullptr);
            ::CloseHandle(h);
        }
        ::SetFileAttributesA(full.c_str(), attributes);
        return full;
    }

    std::string makeFolder(const std::string& name) const {
        const std::string full = path_ + name;
        ::CreateDirectoryA(full.c_str(), nullptr);
        return full + "\\";
    }

  private:
    std::string path_;
};

inline std::string readWholeFile(const std::string& path) {
    std::string content;
    HANDLE h = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return content;
    char buffer[4096];
    DWORD done = 0;
    while (::ReadFile(h, buffer, sizeof buffer, &done, nullptr) && done > 0) {
        content.append(buffer, done);
    }
    ::CloseHandle(h);
    return content;
}
