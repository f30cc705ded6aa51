#include "package/working_copy.h"

#include <windows.h>

#include <array>
#include <cstdint>

#include "app/install_error.h"
#include "package/entry_extraction.h"
#include "package/extraction_rules.h"
#include "package/header_position.h"
#include "package/installer_size.h"
#include "sys/file_operations.h"
#include "sys/file_stream.h"

namespace {

constexpr int kWorkingCopyDeleteAttempts = 100;

std::string runningExecutablePath() {
    char path[MAX_PATH + 1] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    if (length == 0 || length >= sizeof path) return {};
    return std::string(path, length);
}

}  // namespace

std::int64_t packageHeaderPosition() {
    return installerSizeInBytes();
}

void setInstallerPaths(RunState& run) {
    if (run.installerPath.empty()) run.installerPath = runningExecutablePath();
    run.workingCopy = run.folders.workDir + "temp.dat";
}

ResultCode makeWorkingCopy(const RunState& run) {
    ResultCode result = deleteFileWithRetries(run.workingCopy, kWorkingCopyDeleteAttempts);
    if (result == kOk && !copyFileClearingAttributes(run.installerPath, run.workingCopy)) {
        result = static_cast<ResultCode>(GetLastError());
        if (result == kOk) result = ERROR_GEN_FAILURE;  // a failure must not read as success
    }
    // The message does not depend on the failure; the caller gets the real code.
    if (result != kOk) showInstallError(kErrWorkingCopy, run.workingCopy);
    return result;
}

ResultCode readInstallerHeader(RunState& run) {
    FileStream stream;
    if (const ResultCode rc = stream.open(run.workingCopy, FileStream::Mode::Read); rc != kOk) {
        showInstallError(rc, run.workingCopy);
        return rc;
    }
    std::array<std::uint8_t, kInstallerHeaderSize> bytes{};
    std::size_t got = 0;
    ResultCode result = stream.seek(packageHeaderPosition());
    if (result == kOk) result = stream.readSome(bytes.data(), bytes.size(), got);
    if (result != kOk) {
        showInstallError(result, run.workingCopy);
        return result;  // the stream closes the file
    }
    if (got < bytes.size()) {
        showInstallError(kErrShortHeader, run.workingCopy);
        return kErrShortHeader;
    }
    run.header = decodeInstallerHeader(HeaderBytes(bytes));
    result = extractEntry(run, stream, kSlotImplodeLibrary, false);
    if (const ResultCode rc = stream.close(); rc != kOk && result == kOk) {
        showInstallError(rc, run.workingCopy);
        result = rc;
    }
    return result;
}

void setSaverPaths(RunState& run) {
    run.saverName = saverNameOf(run.header);
    run.saverDataDir = run.folders.vendorDataDir + run.saverName + "\\";
    run.saverDataFilePath = run.folders.workDir + run.header.entries[kSlotSaverData].name;
}

ResultCode checkSaverName(const RunState& run) {
    if (isSafeEntryName(run.saverName)) return kOk;
    showInstallError(kErrUnsafeName, run.saverName);
    return kErrUnsafeName;
}
