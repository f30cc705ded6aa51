#include "package/entry_extraction.h"

#include <windows.h>

#include <cstdint>
#include <new>
#include <vector>

#include "app/form_feedback.h"
#include "app/install_error.h"
#include "package/extraction_rules.h"
#include "package/pk_stuff.h"
#include "sys/file_operations.h"
#include "sys/win_handle.h"

namespace {

constexpr std::size_t kCopyBlockSize = 64 * 1024;


// The outcome of the writing step, with whether a failure is always reported here (a file I/O
// error, a destination that cannot be created) or left to the ordinary rule.
struct WriteOutcome {
    ResultCode result = kOk;
    bool alwaysReport = false;
};

WriteOutcome ioFailure(ResultCode code) {
    return {code, true};
}

WriteOutcome explodeEntry(const RunState& run, FileStream& stream, const PackageEntry& entry,
                          const std::string& destination, std::uint32_t storedSize, bool& written) {
    TCompressor compressor(run.folders.workDir);
    if (!compressor.loaded()) return {kErrLibraryNotLoaded};

    std::vector<std::uint8_t> buffer;
    try {
        buffer.resize(storedSize);
    } catch (const std::bad_alloc&) {
        return {kErrNoMemory};
    }
    std::size_t got = 0;
    if (const ResultCode rc = stream.readSome(buffer.data(), buffer.size(), got); rc != kOk) {
        return ioFailure(rc);
    }
    if (got != buffer.size()) return {kErrShortRead};

    // The file left behind is judged, not the library's result; but a destination that could
    // not even be created is reported with its path, as a stored entry's would be.
    const ResultCode exploded =
        compressor.ExplodeToFile(destination, buffer.data(), static_cast<std::int32_t>(storedSize));

    std::int64_t size = 0;
    if (!lookUpFileSize(destination, size)) return {kErrFileMissing, exploded != kOk};
    written = true;
    if (size != entry.expandedSize) return {kErrExplodedSize};
    return {};
}

WriteOutcome copyStoredEntry(FileStream& stream, const std::string& destination,
                             std::uint32_t storedSize, bool& written) {
    FileStream target;
    if (const ResultCode rc = target.open(destination, FileStream::Mode::Create); rc != kOk) {
        return ioFailure(rc);
    }
    written = true;

    std::vector<std::uint8_t> block(kCopyBlockSize);
    std::uint32_t left = storedSize;
    while (left > 0) {
        const std::size_t want = left < block.size() ? left : block.size();
        std::size_t got = 0;
        if (const ResultCode rc = stream.readSome(block.data(), want, got); rc != kOk) {
            return ioFailure(rc);
        }
        if (got != 0) {
            if (const ResultCode rc = target.write(block.data(), got); rc != kOk) {
                return ioFailure(rc);
            }
        }
        left -= static_cast<std::uint32_t>(got);
        if (got < want) break;
    }
    if (const ResultCode rc = target.close(); rc != kOk) return ioFailure(rc);
    return {left == 0 ? kOk : kErrShortRead};
}

}  // namespace

ResultCode extractEntry(RunState& run, FileStream& stream, int slot, bool showProgress) {
    if (showProgress && run.feedback) run.feedback->showStatus(kWritingFilesStatus);

    if (slot < 0 || slot >= static_cast<int>(kSlotCount)) {
        showInstallError(kErrEmptySlot, "");
        return kErrEmptySlot;
    }
    const PackageEntry entry = run.header.entries[slot];
    if (entry.name.empty()) {
        showInstallError(kErrEmptySlot, "");
        return kErrEmptySlot;
    }
    // A packaged name is a bare file name; anything else could write outside its folder.
    if (!isSafeEntryName(entry.name)) {
        showInstallError(kErrUnsafeName, entry.name);
        return kErrUnsafeName;
    }
    const Destination destination =
        destinationFor(entry, run.folders, run.saverDataDir, run.osCode);
    if (destination.result != kOk) {
        showInstallError(destination.result, entry.name);
        return destination.result;
    }
    const std::string& path = destination.path;

    if (const ResultCode rc = stream.seek(entry.startOffset); rc != kOk) {
        showInstallError(rc, path);
        return rc;
    }
    if (showProgress && run.feedback) run.feedback->stepProgress();

    // Clear the way. An old library in use (impborl.dll loaded by this very process) is worth
    // one attempt only; anything else is retried, and its caller reports.
    ResultCode result = kOk;
    bool reportNothing = false;
    if (deletedOnceBeforeExtraction(path)) {
        result = deleteFileClearingAttributes(path);
    } else {
        result = deleteFileWithRetries(path, kDeleteAttemptsBeforeExtraction);
        reportNothing = true;
    }

    bool alwaysReport = false;
    bool written = false;
    std::uint32_t storedSize = 0;
    if (result == kOk) {
        result = storedSizeOf(entry.startOffset, entry.endOffset, storedSize);
        // A run that does not fit 32 bits is a damaged entry, not a lack of memory.
        if (result != kOk && std::int64_t{entry.endOffset} - entry.startOffset + 1 > 0) {
            alwaysReport = true;
        }
    }
    if (result == kOk) {
        const WriteOutcome outcome =
            entry.compressed ? explodeEntry(run, stream, entry, path, storedSize, written)
                             : copyStoredEntry(stream, path, storedSize, written);
        result = outcome.result;
        alwaysReport = outcome.alwaysReport;
    }

    if (result == kErrFileInUse) return kOk;  // the old file stays and counts as extracted

    if (result != kOk) {
        if (alwaysReport || (!reportNothing && result != kErrSaverInUse)) {
            showInstallError(result, path);
        }
        if (written) deleteFileClearingAttributes(path);
        return result;
    }
    // The copy's outcome is not judged: the engine in the system folder is what counts.
    if (!destination.secondPath.empty()) copyFileClearingAttributes(path, destination.secondPath);
    return kOk;
}

namespace {

ResultCode extractOneSlot(RunState& run, int slot) {
    PackageEntry& entry = run.header.entries[slot];
    if (entry.name.empty()) return kErrEmptySlot;
    if (slot == kSlotPreview) entry.name = previewEntryName(entry.name, run.header.installMode);

    FileStream stream;
    if (const ResultCode rc = stream.open(run.workingCopy, FileStream::Mode::Read); rc != kOk) {
        showInstallError(rc, run.workingCopy);
        return rc;
    }
    const ResultCode result = extractEntry(run, stream, slot, false);
    if (const ResultCode rc = stream.close(); rc != kOk && result == kOk) {
        showInstallError(rc, run.folders.workDir);
        return rc;
    }
    return result;
}

}  // namespace

ResultCode extractFlashInstallerEntry(RunState& run) {
    return extractOneSlot(run, kSlotFlashInstaller);
}
ResultCode extractPreviewEntry(RunState& run) {
    return extractOneSlot(run, kSlotPreview);
}
ResultCode extractLicenseEntry(RunState& run) {
    return extractOneSlot(run, kSlotLicense);
}
ResultCode extractPostInstallEntry(RunState& run) {
    return extractOneSlot(run, kSlotPostInstall);
}

ResultCode extractInstallEntries(RunState& run, const std::string& path) {
    const int first = run.postInstallFile ? kSlotPostInstall : kSlotEngine;
    FileStream stream;
    if (const ResultCode rc = stream.open(path, FileStream::Mode::Read); rc != kOk) {
        showInstallError(rc, path);
        return rc;
    }
    ResultCode result = kOk;
    for (int slot = first; slot < static_cast<int>(kSlotCount) && result == kOk; ++slot) {
        if (run.feedback && run.feedback->cancelRequested()) break;
        result = extractEntry(run, stream, slot, true);
    }
    stream.close();
    return result;
}
