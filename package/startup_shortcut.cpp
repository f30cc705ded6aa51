#include "package/startup_shortcut.h"

#include <windows.h>

#include <cstdint>
#include <string>

#include "package/crc_utils.h"
#include "sys/file_operations.h"
#include "sys/folders.h"

void removeStartupShortcut() {
    // The path text exactly as the process was started with it: another form of the same
    // path (its 8.3 form, say) gives another shortcut name.
    char path[MAX_PATH + 1] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    if (length == 0 || length >= sizeof path) return;

    const std::string startup = getSpecialFolderPath(kCsidlStartup);
    std::uint32_t crc = 0;
    if (!crc32OfText(std::string(path, length), crc)) return;
    if (startup.empty()) return;  // without the folder there is nothing safe to delete

    deleteFileClearingAttributes(withTrailingBackslash(startup) + startupShortcutName(crc));
}
