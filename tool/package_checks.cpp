#include "tool/package_checks.h"

#include <algorithm>
#include <cctype>
#include <map>

namespace {

std::string lowerAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

std::string quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

// Names Windows maps to devices whatever their extension ("nul.txt" is the NUL device).
bool isDeviceName(std::string_view part) {
    const std::string base = lowerAscii(part.substr(0, part.find('.')));
    static const char* const kDevices[] = {"con", "prn", "aux", "nul", "conin$", "conout$"};
    for (const char* device : kDevices) {
        if (base == device) return true;
    }
    return base.size() == 4 && (base.starts_with("com") || base.starts_with("lpt")) &&
           base[3] >= '1' && base[3] <= '9';
}

// One path component, as Windows would have to create it.
std::optional<std::string> partProblem(std::string_view part) {
    if (part.empty()) return "is empty";
    if (part == "." || part == "..") return "refers to a folder (\"" + std::string(part) + "\")";
    for (char c : part) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\\' || c == '/') return "contains a folder separator";
        if (c == ':') return "contains a colon (a drive or a stream)";
        if (byte < 0x20 || std::string_view("<>\"|?*").find(c) != std::string_view::npos) {
            return "contains a character Windows does not allow in file names";
        }
    }
    // Windows drops trailing dots and spaces, so the file would get another name.
    if (part.back() == '.' || part.back() == ' ') return "ends with a dot or a space";
    if (isDeviceName(part)) return "is a device name";
    return std::nullopt;
}

bool isWorkDirKind(std::int32_t kind) {
    return kind == 4 || kind == 7;
}
bool hasDestination(std::int32_t kind) {
    return (kind >= 1 && kind <= 7) || kind == 10;
}

// The folder and the file name the stub writes an entry to, for finding two entries that would
// overwrite each other. Empty folder: the kind has no destination.
std::pair<std::string, std::string> destinationOf(const PackageEntry& entry) {
    switch (entry.kind) {
        case 1:
        case 5:
        case 6:
        case 10:
            return {"the saver's folder", lowerAscii(entry.name)};
        case 2:
            return {"the system folder", lowerAscii(entry.name)};
        case 3:
            for (std::string_view flash : kFlashInstallerNames) {
                if (entry.name == flash) return {"the work folder", entry.name};
            }
            {
                const std::size_t dot = entry.name.rfind('.');
                return {"the vendor folder", lowerAscii(entry.name.substr(0, dot)) + ".dll"};
            }
        case 4:
            if (entry.name == kImplodeLibraryName) return {"the work folder", "impborl.dll"};
            return {"the work folder", lowerAscii(entry.name)};
        case 7:
            return {"the work folder", lowerAscii(entry.name)};
        default:
            return {"", ""};
    }
}

}  // namespace

std::string_view slotRole(std::size_t slot) {
    switch (slot) {
        case 0:
            return "never read";
        case 1:
            return "the implode library";
        case 2:
            return "the Flash Player installer";
        case 3:
            return "the preview";
        case 4:
            return "the licence";
        case 5:
            return "the post-install file";
        case 6:
            return "the screen saver engine";
        case 8:
            return "the saver data file";
        default:
            return "an extra file";
    }
}

std::optional<std::string> entryNameProblem(std::string_view name) {
    if (name.size() > kMaxEntryNameLength) return "is longer than 255 bytes";
    return partProblem(name);
}

std::optional<std::string> saverNameProblem(std::string_view name) {
    if (name.empty()) return "is empty";
    if (name.size() > kSaverNameSize) return "is longer than 64 bytes";
    return partProblem(name);
}

std::optional<std::string> dataFileNameProblem(std::string_view name) {
    if (name.empty()) return "is empty";
    if (name.size() > kMaxDataFileNameLength - 1) return "is longer than 255 bytes";
    if (name.front() == '\\' || name.front() == '/') return "is absolute";
    if (name.find(':') != std::string_view::npos) return "names a drive or a stream (colon)";
    if (name.find('/') != std::string_view::npos)
        return "uses \"/\"; folders are separated by \"\\\"";
    std::size_t start = 0;
    while (true) {
        const std::size_t end = name.find('\\', start);
        const std::string_view part = name.substr(
            start, end == std::string_view::npos ? std::string_view::npos : end - start);
        if (part == "..") return "leaves the saver's folder (\"..\")";
        if (auto problem = partProblem(part)) return "has a part that " + *problem;
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    return std::nullopt;
}

std::vector<std::string> headerProblems(const InstallerHeader& header,
                                        const SaverDataRecord* record,
                                        const std::function<std::string(std::size_t)>& label) {
    std::vector<std::string> problems;
    auto report = [&](std::size_t slot, const std::string& text) {
        const PackageEntry& entry = header.entries[slot];
        std::string line = label(slot);
        if (!entry.name.empty()) line += " " + quoted(entry.name);
        problems.push_back(line + ": " + text);
    };

    const std::string saverName = saverNameOf(header);
    if (auto problem = saverNameProblem(saverName)) {
        problems.push_back("saverName " + quoted(saverName) + " " + *problem +
                           "; it names the saver's folder");
    }
    if (header.carriesFlashInstaller != 0 && header.flashAXInstallerVersion > 1) {
        problems.push_back("flashAXInstallerVersion is " +
                           std::to_string(header.flashAXInstallerVersion) +
                           "; the installer knows rows 0 and 1 only");
    }

    // Which slots a run extracts, and so must be filled.
    std::array<bool, kSlotCount> extracted{};
    extracted[1] = true;
    extracted[2] = header.carriesFlashInstaller != 0;
    extracted[3] = header.installMode != kInstallModeQuiet;
    extracted[4] = header.hasLicense != 0;
    extracted[5] = header.hasPostInstallFile != 0;
    for (std::size_t slot = 6; slot < kSlotCount; ++slot) extracted[slot] = true;
    static const char* const kWhy[kSlotCount] = {
        "",
        "every run extracts it at start-up",
        "carriesFlashInstaller is set",
        "installMode is not 4 (quiet), so the preview is extracted",
        "hasLicense is set",
        "hasPostInstallFile is set",
        "every install extracts it",
        "every install extracts slots 6 to 10",
        "every install extracts it",
        "every install extracts slots 6 to 10",
        "every install extracts slots 6 to 10"};

    for (std::size_t slot = 1; slot < kSlotCount; ++slot) {
        const PackageEntry& entry = header.entries[slot];
        if (entry.name.empty()) {
            if (extracted[slot]) {
                report(slot, "is empty, but " + std::string(kWhy[slot]) + " (" +
                                 std::string(slotRole(slot)) + ")");
            }
            continue;
        }
        if (auto problem = entryNameProblem(entry.name)) report(slot, "the name " + *problem);

        const std::string kind = "kind " + std::to_string(entry.kind);
        switch (slot) {
            case 1:
                if (entry.name != kImplodeLibraryName) {
                    report(slot, "the implode library must be named \"impborl.dat\"");
                }
                if (entry.kind != 4)
                    report(slot, kind + " does not suit the implode library; it needs kind 4");
                if (entry.compressed) {
                    report(slot,
                           "the implode library is imploded, but nothing could explode it "
                           "before it is extracted; it must be stored");
                }
                break;
            case 2:
                if (std::find(std::begin(kFlashInstallerNames), std::end(kFlashInstallerNames),
                              entry.name) == std::end(kFlashInstallerNames)) {
                    report(slot, "the Flash Player installer must be named \"" +
                                     std::string(kFlashInstallerNames[0]) + "\" or \"" +
                                     std::string(kFlashInstallerNames[1]) + "\"");
                }
                if (entry.kind != 3)
                    report(slot,
                           kind + " does not suit the Flash Player installer; it needs kind 3");
                break;
            case 3:
            case 4:
            case 5:
            case 8:
                if (!isWorkDirKind(entry.kind)) {
                    report(slot, kind + " does not suit " + std::string(slotRole(slot)) +
                                     "; it needs kind 4 or 7 (the work folder)");
                }
                break;
            case 6:
                if (entry.kind != 2)
                    report(slot, kind +
                                     " does not suit the screen saver engine; it needs kind 2 (the "
                                     "system folder)");
                break;
            default:
                if (!hasDestination(entry.kind)) {
                    report(slot, kind + " has no destination; it needs kind 1 to 7 or 10");
                }
                break;
        }
        if (isWorkDirKind(entry.kind) && lowerAscii(entry.name) == "temp.dat") {
            report(slot, "would overwrite the installer's working copy \"temp.dat\"");
        }
    }

    // Two extracted entries with one destination overwrite each other.
    std::map<std::pair<std::string, std::string>, std::size_t> destinations;
    for (std::size_t slot = 1; slot < kSlotCount; ++slot) {
        const PackageEntry& entry = header.entries[slot];
        if (entry.name.empty()) continue;
        const auto destination = destinationOf(entry);
        if (destination.first.empty()) continue;
        const auto [it, inserted] = destinations.emplace(destination, slot);
        if (!inserted) {
            report(slot,
                   "lands on the same file in " + destination.first + " as " + label(it->second));
        }
    }

    if (record != nullptr) {
        const std::int32_t count = record->dataFileCount();
        if (count < 0 || count > kMaxDataFiles) {
            report(kSlotSaverData,
                   "dataFileCount is " + std::to_string(count) + "; it must be 0 to 1010");
        }
        if (record->firstDataFileMode() == 3) {
            if (header.entries[kSlotPreview].name != kPreviewMovieName) {
                report(kSlotSaverData,
                       "firstDataFileMode 3 copies the preview movie, so slot 3 must be named "
                       "\"installer.swf\"");
            }
            if (header.installMode == kInstallModeQuiet) {
                report(kSlotSaverData,
                       "firstDataFileMode 3 copies the preview movie, which a quiet package "
                       "(installMode 4) never extracts");
            }
        }
    }
    return problems;
}
