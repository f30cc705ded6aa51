// Extraction of packaged files: every slot reaches the disk through extractEntry. Four
// operations extract one start-up slot each; extractInstallEntries extracts the install-time
// slots in a row, looking at the cancel request between two slots.
#pragma once

#include <string>

#include "app/result_codes.h"
#include "package/run_state.h"
#include "sys/file_stream.h"

inline constexpr char kWritingFilesStatus[] = "Writing screen saver files...";
inline constexpr int kDeleteAttemptsBeforeExtraction = 1000;

// Writes slot's file to its destination from stream (an open, readable working copy).
// Failures of ".dll" destinations, empty slots, unsafe names, kinds without a destination and
// file I/O are reported here through showInstallError; other codes are left to the caller.
// -32 (an old file that stays in use) counts as success; -38 (an engine in use) comes back
// unreported.
ResultCode extractEntry(RunState& run, FileStream& stream, int slot, bool showProgress);

ResultCode extractFlashInstallerEntry(RunState& run);  // slot 2
ResultCode extractPreviewEntry(RunState& run);         // slot 3, renamed for the picture modes
ResultCode extractLicenseEntry(RunState& run);         // slot 4
ResultCode extractPostInstallEntry(RunState& run);     // slot 5

// Slots 5 (when the form keeps a post-install file) or 6 up to 10 from the file at path.
ResultCode extractInstallEntries(RunState& run, const std::string& path);
