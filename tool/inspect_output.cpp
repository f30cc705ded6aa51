#include "tool/inspect_output.h"

#include <cstdio>

#include "tool/ansi_text.h"
#include "tool/package_checks.h"

namespace {

std::string installModeMeaning(std::uint8_t mode) {
    switch (mode) {
        case 1:
            return "bitmap picture preview";
        case 2:
        case 3:
            return "Flash movie preview";
        case 4:
            return "quiet install without the form";
        case 8:
            return "JPEG picture preview";
        default:
            return "no preview";
    }
}

std::string text(std::string_view ansi) {
    return printableText(ansi);
}

std::string padded(std::string value, std::size_t width) {
    if (value.size() < width) value.append(width - value.size(), ' ');
    return value;
}

std::string storageOf(const SlotView& slot) {
    if (!slot.entry.compressed) return "stored";
    std::string form = "imploded";
    if (slot.literalMode == 0 || slot.literalMode == 1) {
        form += slot.literalMode == 0 ? " (binary" : " (ascii";
        form += slot.dictionaryBytes ? ", " + std::to_string(slot.dictionaryBytes) + ")" : ")";
    }
    return form;
}

// JSON strings: UTF-8 with the escapes RFC 8259 requires.
std::string json(std::string_view utf8) {
    std::string out = "\"";
    for (char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (byte < 0x20) {
                    char escaped[8];
                    std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
                    out += escaped;
                } else {
                    out += c;
                }
        }
    }
    return out + "\"";
}

std::string jsonText(std::string_view ansi) {
    return json(windows1252ToUtf8(ansi));
}

std::string jsonBool(bool value) {
    return value ? "true" : "false";
}

}  // namespace

std::string printableText(std::string_view ansi) {
    std::string out;
    for (char c : ansi) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            out += escaped;
        } else {
            out += windows1252ToUtf8(std::string_view(&c, 1));
        }
    }
    return out;
}

std::string describeInstaller(const InstallerView& view) {
    const InstallerHeader& h = view.header;
    std::string out;
    out += "file size: " + std::to_string(view.fileSize) + " bytes\n";
    out += "INSTALLER_SIZE_IN_BYTES: " + std::to_string(view.installerSize) + " (" +
           (view.pe32Plus ? "PE32+" : "PE32") + " stub)\n";
    out += "header:\n";
    out += "  installMode: " + std::to_string(h.installMode) + " (" +
           installModeMeaning(h.installMode) + ")\n";
    out += "  hasLicense: " + std::to_string(h.hasLicense) + "\n";
    out += "  hasPostInstallFile: " + std::to_string(h.hasPostInstallFile) + "\n";
    out += "  carriesFlashInstaller: " + std::to_string(h.carriesFlashInstaller) + "\n";
    out += "  flashAXInstallerVersion: " + std::to_string(h.flashAXInstallerVersion) + "\n";
    out += "  offerControlPanel: " + std::to_string(h.offerControlPanel) + "\n";
    out += "  saverName: \"" + text(saverNameOf(h)) + "\"\n";
    out += "slots:\n";
    out +=
        "  slot  name                  kind  role                        start..end            "
        "stored  expanded  form\n";
    for (std::size_t slot = 1; slot < kSlotCount; ++slot) {
        const SlotView& s = view.slots[slot];
        std::string line = "  " + padded(std::to_string(slot), 6);
        if (s.entry.name.empty()) {
            out += line + "(empty)\n";
            continue;
        }
        line +=
            padded(text(s.entry.name), 22) + padded(std::to_string(s.entry.kind), 6) +
            padded(std::string(slotRole(slot)), 28) +
            padded(std::to_string(s.entry.startOffset) + ".." + std::to_string(s.entry.endOffset),
                   22) +
            padded(std::to_string(s.storedSize), 8) +
            padded(s.entry.compressed ? std::to_string(s.entry.expandedSize)
                                      : std::to_string(s.storedSize),
                   10) +
            storageOf(s);
        out += line + "\n";
    }
    if (view.saverData) {
        const SaverDataView& data = *view.saverData;
        out += "saver data file (slot 8 \"" + text(view.slots[kSlotSaverData].entry.name) +
               "\"): dataFileCount " + std::to_string(data.record.dataFileCount()) +
               ", firstDataFileMode " + std::to_string(data.record.firstDataFileMode()) + "\n";
        out +=
            "  #     type  name                            offset      size        stored      "
            "form\n";
        for (std::size_t i = 0; i < data.files.size(); ++i) {
            const DataFileView& f = data.files[i];
            std::string line = "  " + padded(std::to_string(i + 1), 6) +
                               padded(std::to_string(f.record.fileType), 6) +
                               padded(text(f.record.fileName), 32);
            if (f.record.fileType == kDataFileTypeCopy ||
                (i == 0 && data.record.firstDataFileMode() == 3)) {
                line += i == 0 ? "copy of the preview movie" : "copy of data file 1";
            } else if (f.hasBlock) {
                line += padded(std::to_string(f.record.dataOffset), 12) +
                        padded(std::to_string(f.block.fileSize), 12) +
                        padded(std::to_string(f.block.compressed ? f.block.compressedSize
                                                                 : f.block.fileSize),
                               12) +
                        (f.block.fileSize == 0 ? "not written (empty)"
                         : f.block.compressed  ? "imploded"
                                               : "stored");
            } else {
                line += "(no block)";
            }
            while (!line.empty() && line.back() == ' ') line.pop_back();
            out += line + "\n";
        }
    }
    if (!view.problems.empty()) {
        out += "problems:\n";
        for (const std::string& problem : view.problems) out += "  " + text(problem) + "\n";
    }
    return out;
}

std::string installerJson(const InstallerView& view) {
    const InstallerHeader& h = view.header;
    std::string out = "{\n";
    out += "  \"fileSize\": " + std::to_string(view.fileSize) + ",\n";
    out += "  \"installerSizeInBytes\": " + std::to_string(view.installerSize) + ",\n";
    out += "  \"stubFormat\": " + json(view.pe32Plus ? "PE32+" : "PE32") + ",\n";
    out += "  \"header\": {\n";
    out += "    \"installMode\": " + std::to_string(h.installMode) + ",\n";
    out += "    \"hasLicense\": " + std::to_string(h.hasLicense) + ",\n";
    out += "    \"hasPostInstallFile\": " + std::to_string(h.hasPostInstallFile) + ",\n";
    out += "    \"carriesFlashInstaller\": " + std::to_string(h.carriesFlashInstaller) + ",\n";
    out += "    \"flashAXInstallerVersion\": " + std::to_string(h.flashAXInstallerVersion) + ",\n";
    out += "    \"offerControlPanel\": " + std::to_string(h.offerControlPanel) + ",\n";
    out += "    \"saverName\": " + jsonText(saverNameOf(h)) + "\n";
    out += "  },\n";
    out += "  \"slots\": [";
    bool first = true;
    for (std::size_t slot = 1; slot < kSlotCount; ++slot) {
        const SlotView& s = view.slots[slot];
        if (s.entry.name.empty()) continue;
        out += first ? "\n" : ",\n";
        first = false;
        out += "    {\"slot\": " + std::to_string(slot) + ", \"name\": " + jsonText(s.entry.name) +
               ", \"kind\": " + std::to_string(s.entry.kind) +
               ", \"role\": " + json(slotRole(slot)) +
               ", \"startOffset\": " + std::to_string(s.entry.startOffset) +
               ", \"endOffset\": " + std::to_string(s.entry.endOffset) +
               ", \"storedSize\": " + std::to_string(s.storedSize) +
               ", \"expandedSize\": " + std::to_string(s.entry.expandedSize) +
               ", \"compressed\": " + jsonBool(s.entry.compressed) + "}";
    }
    out += first ? "],\n" : "\n  ],\n";
    if (view.saverData) {
        const SaverDataView& data = *view.saverData;
        out += "  \"saverData\": {\n";
        out += "    \"dataFileCount\": " + std::to_string(data.record.dataFileCount()) + ",\n";
        out +=
            "    \"firstDataFileMode\": " + std::to_string(data.record.firstDataFileMode()) + ",\n";
        out += "    \"files\": [";
        for (std::size_t i = 0; i < data.files.size(); ++i) {
            const DataFileView& f = data.files[i];
            out += i == 0 ? "\n" : ",\n";
            out += "      {\"number\": " + std::to_string(i + 1) +
                   ", \"fileType\": " + std::to_string(f.record.fileType) +
                   ", \"name\": " + jsonText(f.record.fileName) +
                   ", \"dataOffset\": " + std::to_string(f.record.dataOffset);
            if (f.hasBlock) {
                out += ", \"fileSize\": " + std::to_string(f.block.fileSize) +
                       ", \"compressedSize\": " + std::to_string(f.block.compressedSize) +
                       ", \"compressed\": " + jsonBool(f.block.compressed != 0);
            }
            out += "}";
        }
        out += data.files.empty() ? "]\n" : "\n    ]\n";
        out += "  },\n";
    }
    out += "  \"problems\": [";
    for (std::size_t i = 0; i < view.problems.size(); ++i) {
        out += (i == 0 ? "" : ", ") + jsonText(view.problems[i]);
    }
    out += "]\n}\n";
    return out;
}
