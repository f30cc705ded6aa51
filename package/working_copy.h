// The start-up's package steps: copy the running installer to its working copy, read the
// header from that copy (extracting the implode library), and derive the saver's paths.
#pragma once

#include "app/result_codes.h"
#include "package/run_state.h"

// Sets installerPath (when empty: the running executable) and workingCopy from the folders.
void setInstallerPaths(RunState& run);
ResultCode makeWorkingCopy(const RunState& run);
ResultCode readInstallerHeader(RunState& run);
void setSaverPaths(RunState& run);
// The saver name becomes a folder of its own, which a reinstall empties and a failed install
// removes: a name that is empty or climbs out of the vendor folder is refused (reported).
ResultCode checkSaverName(const RunState& run);
