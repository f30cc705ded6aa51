#include "tool/package_builder.h"

#include <limits>

#include "tool/ansi_text.h"
#include "tool/package_checks.h"
#include "tool/pe_patch.h"

namespace {

constexpr std::size_t kMaxFileSize = std::numeric_limits<std::int32_t>::max();

std::string slotLabel(std::size_t slot) {
    return "[slots." + std::to_string(slot) + "]";
}

std::string joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += (text.empty() ? "" : "\n") + line;
    return text;
}

}  // namespace

bool headerOfManifest(const Manifest& manifest, InstallerHeader& header, std::string& error) {
    std::vector<std::string> problems;
    header = InstallerHeader{};
    header.installMode = manifest.installMode;
    header.hasLicense = manifest.hasLicense;
    header.hasPostInstallFile = manifest.hasPostInstallFile;
    header.carriesFlashInstaller = manifest.carriesFlashInstaller;
    header.flashAXInstallerVersion = manifest.flashAXInstallerVersion;
    header.offerControlPanel = manifest.offerControlPanel;

    std::string saverName;
    if (!utf8ToWindows1252(manifest.saverName, saverName)) {
        problems.push_back("saverName \"" + manifest.saverName +
                           "\" has characters the ANSI code page (Windows-1252) lacks");
    } else if (saverName.size() > kSaverNameSize) {
        problems.push_back("saverName \"" + manifest.saverName + "\" is " +
                           std::to_string(saverName.size()) + " bytes; at most 64 fit");
    } else {
        setSaverName(header, saverName);
    }

    for (std::size_t slot = 0; slot < kSlotCount; ++slot) {
        const auto& input = manifest.slots[slot];
        if (!input) continue;
        PackageEntry& entry = header.entries[slot];
        entry.kind = input->kind;
        if (!utf8ToWindows1252(input->name, entry.name)) {
            problems.push_back(slotLabel(slot) + " \"" + input->name +
                               "\": the name has characters the ANSI code page "
                               "(Windows-1252) lacks");
            entry.name = "?";
        } else if (entry.name.empty()) {
            problems.push_back(slotLabel(slot) + ": the name is empty");
        } else if (entry.name.size() > kMaxEntryNameLength) {
            problems.push_back(slotLabel(slot) + " \"" + input->name +
                               "\": the name is longer than 255 bytes");
        }
    }
    if (!problems.empty()) {
        error = joined(problems);
        return false;
    }
    return true;
}

bool buildInstaller(const Manifest& manifest, std::span<const std::uint8_t> stub,
                    std::vector<std::uint8_t>& output, std::string& error,
                    const BuildOptions& options) {
    output.clear();
    InstallerHeader header;
    if (!headerOfManifest(manifest, header, error)) return false;

    if (options.checkPackage) {
        std::vector<std::string> problems;
        if (manifest.slots[0]) {
            problems.push_back(slotLabel(0) + ": slot 0 is never read; use slots 1 to 10");
        }
        SaverDataRecord record;
        const SaverDataRecord* recordPointer = nullptr;
        if (const auto& data = manifest.slots[kSlotSaverData]) {
            if (data->bytes.size() < kSaverDataRecordSize) {
                problems.push_back(slotLabel(kSlotSaverData) + ": the saver data file has " +
                                   std::to_string(data->bytes.size()) +
                                   " bytes, fewer than its 1240-byte record");
            } else {
                std::copy_n(data->bytes.begin(), kSaverDataRecordSize, record.bytes.begin());
                recordPointer = &record;
            }
        }
        if (const auto& library = manifest.slots[kSlotImplodeLibrary];
            library && library->storage.storage == Storage::Imploded) {
            problems.push_back(slotLabel(kSlotImplodeLibrary) + " \"" + library->name +
                               "\": the implode library must be stored; nothing could explode it "
                               "before it is extracted");
        }
        // The checks see the names as the package holds them (ANSI); the lines go back to the
        // author in the manifest's UTF-8, like every other refusal.
        for (const std::string& line : headerProblems(header, recordPointer, slotLabel)) {
            problems.push_back(windows1252ToUtf8(line));
        }
        if (!problems.empty()) {
            error = joined(problems);
            return false;
        }
    }

    output.assign(stub.begin(), stub.end());
    if (!patchInstallerSize(output, error)) {
        error = "stub: " + error;
        output.clear();
        return false;
    }
    const std::size_t headerAt = output.size();
    output.resize(headerAt + kInstallerHeaderSize, 0);

    for (std::size_t slot = 0; slot < kSlotCount; ++slot) {
        const auto& input = manifest.slots[slot];
        if (!input) continue;
        const std::string label = slotLabel(slot) + " \"" + input->name + "\"";
        if (input->bytes.size() > kMaxFileSize) {
            error = label + ": larger than the 2 GiB a 32-bit size allows";
            output.clear();
            return false;
        }
        if (options.progress) {
            options.progress("slot " + std::to_string(slot) + " " + input->name + ": " +
                             std::to_string(input->bytes.size()) + " bytes");
        }
        // The stub explodes with the library of slot 1, so that slot itself is always stored.
        StorageChoice storage = input->storage;
        if (slot == kSlotImplodeLibrary && storage.storage == Storage::Auto) {
            storage.storage = Storage::Stored;
        }
        StoredForm form;
        if (!makeStoredForm(input->bytes, storage, form, error)) {
            error = label + ": " + error;
            output.clear();
            return false;
        }
        if (output.size() > kMaxFileSize || form.bytes.size() > kMaxFileSize - output.size()) {
            error = label + ": the installer would pass the 2 GiB that its 32-bit offsets allow";
            output.clear();
            return false;
        }
        PackageEntry& entry = header.entries[slot];
        entry.startOffset = static_cast<std::int32_t>(output.size());
        entry.endOffset = static_cast<std::int32_t>(output.size() + form.bytes.size() - 1);
        entry.compressed = form.imploded;
        entry.expandedSize = static_cast<std::int32_t>(input->bytes.size());
        output.insert(output.end(), form.bytes.begin(), form.bytes.end());
    }

    encodeInstallerHeader(header,
                          std::span(output).subspan(headerAt).first<kInstallerHeaderSize>());
    return true;
}
