#include "package/saver_files.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <new>

#include "app/form_feedback.h"
#include "app/install_error.h"
#include "app/message_boxes.h"
#include "package/extraction_rules.h"
#include "package/pk_stuff.h"
#include "package/system_message.h"
#include "sys/file_operations.h"
#include "sys/win_handle.h"

namespace {

const std::string kBrandPrefix = "Norvale Error: ";

void showOpeningError(const std::string& path, ResultCode code) {
    showMessage({MessageKind::Error, MessageButtons::Abort,
                 "Problem opening screen saver data file.\r\n\r\nFile: " + path + "\r\n\r\n" +
                     std::to_string(code)});
}

void showReadingError(ResultCode code) {
    showMessage(
        {MessageKind::Error, MessageButtons::Abort,
         kBrandPrefix + "Problem reading screen saver data file. " + systemMessageText(code)});
}


std::string folderPartOf(const std::string& path) {
    const std::size_t slash = path.find_last_of("\\:");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// How a data file's write ended: a file I/O error gets the reading box, a target that cannot
// be created the install error box with its path, anything else is only returned.
enum class Failure { None, Io, Target };

struct Outcome {
    ResultCode result = kOk;
    Failure failure = Failure::None;
};

// Reads count bytes at the file's position, refusing a count the file cannot hold before
// asking for memory (a damaged block header must not allocate gigabytes).
Outcome readBlock(FileStream& file, std::int32_t count, std::vector<std::uint8_t>& buffer) {
    if (count <= 0) return {kErrNoMemory};
    try {
        buffer.resize(static_cast<std::size_t>(count));
    } catch (const std::bad_alloc&) {
        return {kErrNoMemory};
    }
    if (const ResultCode rc = file.readExact(buffer.data(), buffer.size()); rc != kOk) {
        return {rc, Failure::Io};
    }
    return {};
}

bool fitsInFile(FileStream& file, std::int64_t position, std::int32_t count) {
    std::int64_t size = 0;
    return count <= 0 || (file.size(size) == kOk && position + count <= size);
}

Outcome writeBlock(SaverDataReader& reader, const std::string& libraryFolder,
                   const std::string& target, std::int64_t blockData, const DataBlockHeader& block,
                   bool& written) {
    std::vector<std::uint8_t> buffer;
    if (block.compressed != 0) {
        if (!fitsInFile(reader.file, blockData, block.compressedSize)) {
            return {kIoReadBeyondEnd, Failure::Io};
        }
        if (Outcome o = readBlock(reader.file, block.compressedSize, buffer); o.result != kOk) {
            return o;
        }
        TCompressor compressor(libraryFolder);
        if (!compressor.loaded()) return {kErrLibraryNotLoaded};
        const ResultCode rc = compressor.ExplodeToFile(target, buffer.data(), block.compressedSize);
        if (rc != kOk) return {rc, Failure::Target};
        std::int64_t size = 0;
        if (!lookUpFileSize(target, size)) return {kErrFileMissing};
        written = true;
        if (size != block.fileSize) return {kErrExplodedSize};
        return {};
    }

    FileStream out;
    if (const ResultCode rc = out.open(target, FileStream::Mode::Create); rc != kOk) {
        return {rc, Failure::Target};
    }
    written = true;
    if (!fitsInFile(reader.file, blockData, block.fileSize)) {
        return {kIoReadBeyondEnd, Failure::Io};
    }
    if (Outcome o = readBlock(reader.file, block.fileSize, buffer); o.result != kOk) return o;
    if (const ResultCode rc = out.write(buffer.data(), buffer.size()); rc != kOk) {
        return {rc, Failure::Io};
    }
    if (const ResultCode rc = out.close(); rc != kOk) return {rc, Failure::Io};
    return {};
}

}  // namespace

ResultCode openSaverDataFile(SaverDataReader& reader, const std::string& path, bool showErrors) {
    if (reader.dataFileOpen) {
        showMessage({MessageKind::Information, MessageButtons::Abort,
                     kBrandPrefix + "Screen saver data file already in use."});
        return kOk;
    }
    ResultCode result = reader.file.open(path, FileStream::Mode::ReadWrite);
    if (result == kOk) {
        reader.dataFileOpen = true;
        result = reader.file.readExact(reader.record.bytes.data(), reader.record.bytes.size());
    }
    if (result == kOk) {
        const std::int32_t count = reader.record.dataFileCount();
        if (count < 0 || count > kMaxDataFiles) {
            // The table holds 1010 records; a file that claims more (or fewer than none) is
            // damaged, and nothing of it is used.
            reader.file.close();
            reader.dataFileOpen = false;
            result = kErrDataFileCount;
        } else {
            std::fill(reader.table.begin(), reader.table.end(), DataFileRecord{});
            std::array<std::uint8_t, kDataFileRecordSize> bytes{};
            for (std::int32_t number = 1; number <= count && result == kOk; ++number) {
                result = reader.file.readExact(bytes.data(), bytes.size());
                if (result == kOk) reader.table[number] = decodeDataFileRecord(bytes);
            }
        }
    }
    if (result != kOk && showErrors) showOpeningError(path, result);
    return result;
}

ResultCode expandDataFile(SaverDataReader& reader, const std::string& libraryFolder,
                          const std::string& targetFolder, int number) {
    if (number < 1 || number > reader.record.dataFileCount() || number > kMaxDataFiles) {
        return kErrDataFileNumber;
    }
    if (!reader.dataFileOpen) return kErrDataFileNotOpen;

    const DataFileRecord& record = reader.table[number];
    if (!isSafeDataFileName(record.fileName)) {
        showInstallError(kErrUnsafeName, record.fileName);
        return kErrUnsafeName;
    }
    const std::string target = targetFolder + record.fileName;

    std::array<std::uint8_t, kDataBlockHeaderSize> headerBytes{};
    Outcome outcome;
    if (record.dataOffset < 0) {
        outcome = {ERROR_NEGATIVE_SEEK, Failure::Io};
    } else if (ResultCode rc = reader.file.seek(record.dataOffset); rc != kOk) {
        outcome = {rc, Failure::Io};
    } else if (rc = reader.file.readExact(headerBytes.data(), headerBytes.size()); rc != kOk) {
        outcome = {rc, Failure::Io};
    }
    if (outcome.result != kOk) {
        showReadingError(outcome.result);
        return outcome.result;
    }
    const DataBlockHeader block = decodeDataBlockHeader(headerBytes);
    if (block.fileSize == 0) return kOk;  // nothing to write

    const std::string folder = folderPartOf(target);
    if (!folder.empty() && !folderExists(folder)) createFolderTree(folder);

    bool written = false;
    outcome = writeBlock(reader, libraryFolder, target,
                         std::int64_t{record.dataOffset} + kDataBlockHeaderSize, block, written);
    if (outcome.result == kOk) return kOk;

    if (outcome.failure == Failure::Io) showReadingError(outcome.result);
    if (outcome.failure == Failure::Target) showInstallError(outcome.result, target);
    if (written) deleteFileClearingAttributes(target);
    return outcome.result;
}

ResultCode closeSaverDataFile(SaverDataReader& reader, const std::string& path) {
    if (!reader.dataFileOpen) return kOk;
    reader.dataFileOpen = false;
    const ResultCode result = reader.file.close();
    if (result != kOk) {
        showMessage(
            {MessageKind::Error, MessageButtons::Abort,
             "Problem closing file.\r\n\r\nFile: " + path + "\r\n" + systemMessageText(result)});
    }
    return result;
}

ResultCode writeSaverFiles(RunState& run) {
    if (!run.saverDataReader) run.saverDataReader = std::make_shared<SaverDataReader>();
    return writeSaverFiles(run, *run.saverDataReader);
}

ResultCode writeSaverFiles(RunState& run, SaverDataReader& reader) {
    if (run.feedback) run.feedback->showStatus(kExpandingFilesStatus);

    ResultCode result = openSaverDataFile(reader, run.saverDataFilePath, true);
    std::string firstName;
    if (result == kOk) {
        if (reader.record.firstDataFileMode() == 3) reader.table[1].fileType = kDataFileTypeCopy;
        firstName = reader.table[1].fileName;
    }

    const std::int32_t count = result == kOk ? reader.record.dataFileCount() : 0;
    // A file left open by an earlier attempt is used as it is ("already in use"), and a
    // record cut short there was read without the count check of a complete one.
    if (count < 0 || count > kMaxDataFiles) result = kErrDataFileCount;
    for (std::int32_t number = 1; number <= count && result == kOk; ++number) {
        const DataFileRecord& record = reader.table[number];
        if (record.fileName.empty()) continue;
        if (!isSafeDataFileName(record.fileName)) {
            showInstallError(kErrUnsafeName, record.fileName);
            result = kErrUnsafeName;
            break;
        }
        if (record.fileType != kDataFileTypeCopy) {
            result = expandDataFile(reader, run.folders.workDir, run.saverDataDir, number);
            continue;
        }
        // Data file 1 is the preview movie start-up extracted; later copies duplicate data
        // file 1, which already lies in SaverDataDir.
        const std::string source =
            number == 1 ? run.folders.workDir + kPreviewMovieName : run.saverDataDir + firstName;
        const std::string target = run.saverDataDir + record.fileName;
        if (!copyFileClearingAttributes(source, target) && source != target) {
            showInstallError(kErrDataFileCopy, source);
            result = kErrDataFileCopy;
        }
    }

    if (result == kOk) {
        result = closeSaverDataFile(reader, run.saverDataFilePath);
        if (run.feedback) run.feedback->stepProgress();
    }

    // A name that would leave SaverDataDir gets no attribute either.
    if (isSafeDataFileName(firstName)) {
        const std::string first = run.saverDataDir + firstName;
        const DWORD attributes = GetFileAttributesA(first.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES) {
            SetFileAttributesA(first.c_str(), attributes | FILE_ATTRIBUTE_ARCHIVE);
        }
    }
    return result;
}
