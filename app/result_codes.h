// Result codes: every operation that can fail returns one instead of raising.
//   0         success
//   > 0       a Windows error number, or a file I/O error number (100 read beyond end of
//             file, 101 short write, 103 file not open)
//   < 0       one of the installer's own codes below
#pragma once

#include <cstdint>

using ResultCode = std::int32_t;

constexpr ResultCode kOk = 0;

// File I/O error numbers, as the guarded file operations report them.
constexpr ResultCode kIoReadBeyondEnd = 100;
constexpr ResultCode kIoShortWrite = 101;
constexpr ResultCode kIoFileNotOpen = 103;

// The installer's own codes.
constexpr ResultCode kErrFolderNotRemoved = -1;  // also: empty folder text, no attempt asked
constexpr ResultCode kErrNoMemory = -7;
constexpr ResultCode kErrDataFileNumber = -12;
constexpr ResultCode kErrExplodedSize = -13;
constexpr ResultCode kErrDataFileNotOpen = -15;
constexpr ResultCode kErrFileMissing = -16;
constexpr ResultCode kErrShortRead = -30;
constexpr ResultCode kErrShortHeader = -31;
constexpr ResultCode kErrFileInUse = -32;
constexpr ResultCode kErrLibraryNotLoaded = -35;
constexpr ResultCode kErrSaverInUse = -38;
constexpr ResultCode kErrNoFlashControl = -401;
constexpr ResultCode kErrFlashPlayerNeeded = -402;
constexpr ResultCode kErrFlashControlNotCreated = -403;
constexpr ResultCode kErrNotSwf = -404;
constexpr ResultCode kErrSwfTooNew = -405;
constexpr ResultCode kErrSwfTooOld = -406;
constexpr ResultCode kErrFlashPlayerTooOld = -410;
constexpr ResultCode kErrFlashUpdateFailed = -416;
constexpr ResultCode kErrOverwriteDeclined = -454;
constexpr ResultCode kErrFlashInstallerIncompatible = -455;
constexpr ResultCode kErrWorkingCopy = -523;
constexpr ResultCode kErrEmptySlot = -531;
constexpr ResultCode kErrDataFileCopy = -532;
constexpr ResultCode kErrUninstallNotWritten = -2201;
constexpr ResultCode kErrUninstallNotRemoved = -2202;

// Codes of this implementation for conditions the original catalogue leaves open.
constexpr ResultCode kErrUnsafeName = -533;       // a packaged name would leave its folder
constexpr ResultCode kErrNoDestination = -534;    // an entry's kind has no destination folder
constexpr ResultCode kErrDataFileCount = -535;    // dataFileCount below 0 or above 1010
constexpr ResultCode kErrFolderUnknown = -540;    // a system folder resolved to empty text
constexpr ResultCode kErrBadProcessHandle = -541; // the WOW64 test itself failed
