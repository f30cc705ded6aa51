#include "package/extraction_rules.h"

#include <limits>

namespace {
bool isSeparator(char c) {
    return c == '\\' || c == '/';
}

// Windows drops trailing dots and blanks from a path part, so "..", ".. " and ". ." all name
// the parent, and "." or " " the folder itself.
bool isDotsOnly(const std::string& part) {
    return part.find_first_not_of(". ") == std::string::npos;
}

std::size_t fileNameStart(const std::string& path) {
    const std::size_t slash = path.find_last_of("\\/:");
    return slash == std::string::npos ? 0 : slash + 1;
}
}  // namespace

Destination destinationFor(const PackageEntry& entry, const InstallerFolders& folders,
                           const std::string& saverDataDir, int osCode) {
    Destination d;
    const std::string& name = entry.name;
    switch (entry.kind) {
        case 1:
        case 5:
        case 6:
        case 10:
            d.path = saverDataDir + name;
            break;
        case 2:
            d.path = folders.systemDir + name;
            if (osCode == kOsWow64) d.secondPath = folders.sysNativeDir + name;
            break;
        case 3:
            if (name == kFlashInstallerName10 || name == kFlashInstallerName) {
                d.path = folders.workDir + name;
            } else {
                d.path = folders.vendorDataDir + replaceExtension(name, ".dll");
            }
            break;
        case 4:
            d.path = folders.workDir +
                     (name == kImplodeLibraryStoredName ? std::string(kImplodeLibraryName) : name);
            break;
        case 7:
            d.path = folders.workDir + name;
            break;
        default:
            d.result = kErrNoDestination;
            break;
    }
    return d;
}

std::string extensionOf(const std::string& path) {
    const std::size_t start = fileNameStart(path);
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || dot < start) return std::string();
    return path.substr(dot);
}

std::string replaceExtension(const std::string& name, const std::string& extension) {
    const std::size_t start = fileNameStart(name);
    const std::size_t dot = name.rfind('.');
    if (dot == std::string::npos || dot < start) return name + extension;
    return name.substr(0, dot) + extension;
}

bool deletedOnceBeforeExtraction(const std::string& destination) {
    return extensionOf(destination) == ".dll";
}

std::string previewEntryName(const std::string& name, std::uint8_t installMode) {
    std::string renamed = name;
    if (installMode == 1) renamed = replaceExtension(name, ".BMP");
    if (installMode == 8) renamed = replaceExtension(name, ".jpg");
    if (renamed.size() > 255) renamed.resize(255);
    return renamed;
}

bool isSafeEntryName(const std::string& name) {
    if (name.find_first_of("\\/:") != std::string::npos) return false;
    return !isDotsOnly(name);
}

bool isSafeDataFileName(const std::string& name) {
    if (name.empty()) return true;                          // an empty name writes nothing
    if (isSeparator(name[0])) return false;                 // rooted, or a "\\server\share" path
    if (name.find(':') != std::string::npos) return false;  // a drive or an NTFS stream
    std::size_t partStart = 0;
    while (partStart <= name.size()) {
        std::size_t partEnd = partStart;
        while (partEnd < name.size() && !isSeparator(name[partEnd])) ++partEnd;
        const std::string part = name.substr(partStart, partEnd - partStart);
        if (!part.empty() && isDotsOnly(part) && part.find("..") != std::string::npos) {
            return false;
        }
        partStart = partEnd + 1;
    }
    return true;
}

ResultCode storedSizeOf(std::int32_t startOffset, std::int32_t endOffset, std::uint32_t& size) {
    const std::int64_t wide = std::int64_t{endOffset} - std::int64_t{startOffset} + 1;
    if (wide <= 0 || wide > std::numeric_limits<std::int32_t>::max()) return kErrNoMemory;
    size = static_cast<std::uint32_t>(wide);
    return kOk;
}
