// The saver's data files: the saver data file (slot 8, extracted into WorkDir) holds the
// SaverDataRecord, a file table and the data blocks; writeSaverFiles writes every data file of
// its table into SaverDataDir.
#pragma once

#include <string>
#include <vector>

#include "app/result_codes.h"
#include "package/package_format.h"
#include "package/run_state.h"
#include "sys/file_stream.h"

inline constexpr char kExpandingFilesStatus[] = "Expanding files...";
inline constexpr char kPreviewMovieName[] = "installer.swf";

// The reader's state for the run: the open saver data file and what was read from it. One
// object, owned by whoever owns the run (the installer form), kept across install attempts.
struct SaverDataReader {
    FileStream file;
    bool dataFileOpen = false;
    SaverDataRecord record;
    // Slots 1 to 1010; slot 0 is unused so that numbers index directly.
    std::vector<DataFileRecord> table = std::vector<DataFileRecord>(kMaxDataFiles + 1);
};

// With the run's reader (run.saverDataReader, made when missing).
ResultCode writeSaverFiles(RunState& run);
ResultCode writeSaverFiles(RunState& run, SaverDataReader& reader);

// Reads the SaverDataRecord and the file table and leaves the file open.
ResultCode openSaverDataFile(SaverDataReader& reader, const std::string& path, bool showErrors);

// Writes data file `number` (1 to dataFileCount) into targetFolder, exploding imploded blocks
// with the library in libraryFolder (WorkDir).
ResultCode expandDataFile(SaverDataReader& reader, const std::string& libraryFolder,
                          const std::string& targetFolder, int number);

// path is only for the message when closing fails.
ResultCode closeSaverDataFile(SaverDataReader& reader, const std::string& path);
