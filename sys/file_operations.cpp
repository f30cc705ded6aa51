#include "sys/file_operations.h"

#include <windows.h>

#include <vector>

#include "sys/folders.h"
#include "sys/path_text.h"
#include "sys/win_handle.h"

namespace {

DWORD attributesOf(const std::string& path) {
    return ::GetFileAttributesA(path.c_str());
}

// A junction or a symbolic link to a folder: Windows reports the link's own attributes,
// directory plus reparse point, without following it.
bool isFolderLink(DWORD attributes) {
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
           (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

// One deletion: DeleteFileA refuses read-only files (error 5), so a failure is followed by
// a reset of the attributes and a second try.
ResultCode deleteOnce(const std::string& path, ResultCode failure) {
    if (!fileExists(path)) return kOk;
    if (::DeleteFileA(path.c_str())) return kOk;
    ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (::DeleteFileA(path.c_str())) return kOk;
    return failure;
}

ResultCode busyFileCode(const std::string& path) {
    return lowerCaseExtension(path) == ".scr" ? kErrSaverInUse : kErrFileInUse;
}

}  // namespace

bool fileExists(const std::string& path) {
    const DWORD attributes = attributesOf(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool folderExists(const std::string& path) {
    const DWORD attributes = attributesOf(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool lookUpFileSize(const std::string& path, std::int64_t& size) {
    WIN32_FIND_DATAA data{};
    UniqueFind find(::FindFirstFileA(path.c_str(), &data));
    if (!find.valid() || (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
    size = (static_cast<std::int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return true;
}

ResultCode deleteFileClearingAttributes(const std::string& path) {
    return deleteOnce(path, kErrFileInUse);
}

ResultCode deleteFileWithRetries(const std::string& path, int attempts) {
    // The attempts follow one another at once: a file that another program is closing is
    // usually free again within a few of them.
    ResultCode result = kErrFolderNotRemoved;
    const ResultCode failure = busyFileCode(path);
    while (attempts > 0 && result != kOk) {
        result = deleteOnce(path, failure);
        --attempts;
    }
    return result;
}

ResultCode deleteFolderTree(const std::string& folderText) {
    if (folderText.empty()) return kErrFolderNotRemoved;
    const std::string folder = withTrailingBackslash(folderText);
    const std::string bare = withoutTrailingBackslash(folder);

    // The common application data folder is writable by every user: a link planted where a
    // saver folder is expected must go, but what it points to must not be touched.
    if (isFolderLink(attributesOf(bare))) {
        return ::RemoveDirectoryA(bare.c_str()) ? kOk : kErrFolderNotRemoved;
    }

    ResultCode err = kOk;
    {
        WIN32_FIND_DATAA entry;
        UniqueFind find(::FindFirstFileA((folder + "*.*").c_str(), &entry));
        if (find.valid()) {
            do {
                const std::string name = entry.cFileName;
                if (name == "." || name == "..") continue;
                const std::string full = folder + name;
                if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                    // A sub-folder that stays behind shows when the folder itself is removed.
                    if (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
                        ::RemoveDirectoryA(full.c_str());
                    } else {
                        deleteFolderTree(full + "\\");
                    }
                } else {
                    err = deleteFileClearingAttributes(full);
                }
            } while (err == kOk && ::FindNextFileA(find.get(), &entry));
        }
    }
    if (err != kOk) return err;
    if (!folderExists(bare)) return kOk;
    ::SetFileAttributesA(bare.c_str(), FILE_ATTRIBUTE_NORMAL);
    return ::RemoveDirectoryA(bare.c_str()) ? kOk : kErrFolderNotRemoved;
}

bool copyFileClearingAttributes(const std::string& source, const std::string& target) {
    const std::string targetFolder = folderPartOf(target);
    // CopyFileA refuses to overwrite a read-only or hidden target, and a read-only source
    // would hand its attribute on to the copy.
    if (fileExists(source)) ::SetFileAttributesA(source.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (folderExists(targetFolder)) {
        if (fileExists(target)) ::SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    } else {
        createFolderTree(targetFolder);
    }
    return ::CopyFileA(source.c_str(), target.c_str(), FALSE) != FALSE;
}

void createFolderTree(const std::string& folder) {
    if (!folderExists(folder)) {
        // A drive or share that does not exist has itself as parent: stop there, and let
        // the creation below simply fail.
        const std::string parent = parentFolderOf(folder);
        if (parent != folder && !parent.empty()) createFolderTree(parent);
    }
    ::CreateDirectoryA(folder.c_str(), nullptr);
}

void myGetFileVersion(const std::string& path, int& major, int& revision) {
    DWORD handle = 0;
    const DWORD size = ::GetFileVersionInfoSizeA(path.c_str(), &handle);
    if (size == 0) return;
    std::vector<unsigned char> buffer(size);
    if (!::GetFileVersionInfoA(path.c_str(), handle, size, buffer.data())) return;
    void* fixed = nullptr;
    UINT length = 0;
    if (!::VerQueryValueA(buffer.data(), "\\", &fixed, &length) || fixed == nullptr ||
        length < sizeof(VS_FIXEDFILEINFO)) {
        return;
    }
    const auto* info = static_cast<const VS_FIXEDFILEINFO*>(fixed);
    major = static_cast<int>(HIWORD(info->dwFileVersionMS));
    revision = static_cast<int>(HIWORD(info->dwFileVersionLS));
}
