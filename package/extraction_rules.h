// The decisions of extraction as plain functions: where an entry goes, how extensions are
// rewritten, which packaged names are safe to write, and how big an entry's stored run is.
#pragma once

#include <cstdint>
#include <string>

#include "app/result_codes.h"
#include "package/package_format.h"
#include "sys/folders.h"

inline constexpr char kFlashInstallerName10[] = "install_flash_player_10_active_x.exe";
inline constexpr char kFlashInstallerName[] = "install_flash_player_active_x.exe";
inline constexpr char kImplodeLibraryStoredName[] = "impborl.dat";
inline constexpr char kImplodeLibraryName[] = "impborl.dll";
inline constexpr int kOsWow64 = 7;  // a 32-bit process on 64-bit Windows

struct Destination {
    ResultCode result = kOk;  // kErrNoDestination for a kind without a folder
    std::string path;
    std::string secondPath;  // kind 2 under WOW64: the engine's copy in the native system folder
};

// saverDataDir is the run's VendorDataDir + saverName + "\\".
Destination destinationFor(const PackageEntry& entry, const InstallerFolders& folders,
                           const std::string& saverDataDir, int osCode);

// Replaces the text from the last "." of the file name on by extension (which includes its
// dot), or appends extension when the name has none.
std::string replaceExtension(const std::string& name, const std::string& extension);

// The extension of the path's file name, from its last "." on; "" when there is none.
std::string extensionOf(const std::string& path);

// An old ".dll" destination (exactly so, letter case included) is deleted once; anything else
// with the retrying delete.
bool deletedOnceBeforeExtraction(const std::string& destination);

// Slot 3's name for the preview mode: ".BMP" for 1, ".jpg" for 8, otherwise unchanged. The
// result is at most 255 bytes, what a PackageEntry name can hold.
std::string previewEntryName(const std::string& name, std::uint8_t installMode);

// A PackageEntry name is a bare file name: no "\" or "/", no ":" (drive or stream), and not
// "." or "..".
bool isSafeEntryName(const std::string& name);

// A DataFileRecord name stays inside SaverDataDir: relative, no drive, share or stream, no
// ".." part.
bool isSafeDataFileName(const std::string& name);

// The inclusive run endOffset - startOffset + 1, computed without overflow. kErrNoMemory when
// it is zero or less, or too big for any buffer (above 2^31 - 1).
ResultCode storedSizeOf(std::int32_t startOffset, std::int32_t endOffset, std::uint32_t& size);
