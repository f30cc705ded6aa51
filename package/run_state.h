// The values the start-up sequence sets once and every later step reads: the folders, the OS
// code, the package header and the run-wide strings, and the form's copies of header flags.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "package/package_format.h"
#include "sys/folders.h"

class FormFeedback;
struct SaverDataReader;  // package/saver_files.h

struct RunState {
    InstallerFolders folders;
    int osCode = -1;  // GetOperatingSystem; 7: a 32-bit process on 64-bit Windows
    InstallerHeader header;

    std::string installerPath;      // the running executable, as the process was started
    std::string workingCopy;        // WorkDir + "temp.dat"
    std::string saverName;          // setSaverPaths
    std::string saverDataDir;       // VendorDataDir + saverName + "\"
    std::string saverDataFilePath;  // WorkDir + slot 8's name

    std::uint8_t displayMode = 0;     // installMode, or 4 with "/q"; 4 is quiet everywhere
    bool postInstallFile = false;     // the form's copy of hasPostInstallFile
    bool licenseShown = false;        // the form's copy of hasLicense (never in quiet mode)

    FormFeedback* feedback = nullptr;  // status, progress and cancel; never null once running

    // The saver data file's reader: its open file stays open from one install attempt to the
    // next. Made by writeSaverFiles on first use.
    std::shared_ptr<SaverDataReader> saverDataReader;
};

constexpr std::uint8_t kDisplayQuiet = 4;
