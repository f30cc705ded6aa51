// Building a distributable installer in memory: a copy of the stub with its
// INSTALLER_SIZE_IN_BYTES set, the InstallerHeader, then each slot's bytes. Portable; the command
// line tool and the tests of every area build their packages through this one entry point.
//
//   Manifest manifest;
//   manifest.saverName = "Aquarium";
//   manifest.slots[kSlotImplodeLibrary] = SlotInput{"impborl.dat", 4, libraryBytes};
//   ...
//   std::vector<std::uint8_t> installer;
//   std::string error;
//   if (!buildInstaller(manifest, stubBytes, installer, error)) { /* error: one line per problem */
//   }
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "codec/dcl.h"
#include "package/package_format.h"
#include "tool/saver_data_builder.h"
#include "tool/stored_form.h"

struct SlotInput {
    std::string name;  // UTF-8; stored in the ANSI code page (Windows-1252)
    std::int32_t kind = 0;
    std::vector<std::uint8_t> bytes;
    StorageChoice storage{};
};

struct Manifest {
    std::uint8_t installMode = 0;
    std::uint8_t hasLicense = 0;
    std::uint8_t hasPostInstallFile = 0;
    std::uint8_t carriesFlashInstaller = 0;
    std::uint8_t flashAXInstallerVersion = 0;
    std::uint8_t offerControlPanel = 0;
    std::string saverName;  // UTF-8; stored in the ANSI code page, at most 64 bytes there
    std::array<std::optional<SlotInput>, kSlotCount> slots;  // slot 0 stays empty
};

struct BuildOptions {
    // false: skip the checks of slot roles, names and flags, so tests can make the damaged
    // packages that the stub must survive. The format's own limits (name lengths, 32-bit
    // offsets, an INSTALLER_SIZE_IN_BYTES section in the stub) are always enforced.
    bool checkPackage = true;
    // One line per step of the work ("slot 8: imploding 12345678 bytes"); may be empty.
    std::function<void(const std::string&)> progress;
};

// Writes stub + header + entries into output. On failure returns false, leaves output empty
// and sets error to one line per problem, each naming the manifest entry ("[slots.3]").
bool buildInstaller(const Manifest& manifest, std::span<const std::uint8_t> stub,
                    std::vector<std::uint8_t>& output, std::string& error,
                    const BuildOptions& options = {});

// The header buildInstaller would write for these slot entries, with the names in ANSI; used by
// the checks. Offsets are left at 0.
bool headerOfManifest(const Manifest& manifest, InstallerHeader& header, std::string& error);
