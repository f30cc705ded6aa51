// What the stub would fail on or be harmed by, decided from the header and the saver data
// record alone. The builder refuses such packages; verify reports them in finished installers.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "package/package_format.h"

inline constexpr std::string_view kImplodeLibraryName = "impborl.dat";
inline constexpr std::string_view kFlashInstallerNames[] = {"install_flash_player_10_active_x.exe",
                                                            "install_flash_player_active_x.exe"};
inline constexpr std::string_view kPreviewMovieName = "installer.swf";
inline constexpr std::uint8_t kInstallModeQuiet = 4;

// What a slot is for, in a few words ("the implode library").
std::string_view slotRole(std::size_t slot);

// Why the stub must not use this ANSI name as a file name in a folder of its own choice, or
// nullopt when it may: no folder parts, no drive, nothing Windows reads differently.
std::optional<std::string> entryNameProblem(std::string_view name);

// The same for a saver name, which becomes a folder under the vendor's data folder.
std::optional<std::string> saverNameProblem(std::string_view name);

// The same for a data file's name relative to the saver's folder: "\"-separated parts, each a
// plain name; never absolute, never a drive, share or "..".
std::optional<std::string> dataFileNameProblem(std::string_view name);

// Every problem of the header's slots and flags; label(slot) names the slot in the messages
// ("[slots.3]" for a manifest, "slot 3" for a finished installer). record is the saver data
// file's record when slot 8 could be read.
std::vector<std::string> headerProblems(const InstallerHeader& header,
                                        const SaverDataRecord* record,
                                        const std::function<std::string(std::size_t)>& label);
