#include "tool/manifest_file.h"

#include <toml++/toml.h>
#include <set>

#include "tool/file_bytes.h"

namespace {

using Progress = std::function<void(const std::string&)>;

// Every lookup reports its own problem with the key's place, so a typo never passes silently.
class TableReader {
  public:
    TableReader(const toml::table& table, std::string place, std::vector<std::string>& problems)
        : table_(table), place_(std::move(place)), problems_(problems) {}

    const toml::node* find(std::string_view key) {
        used_.insert(std::string(key));
        return table_.get(key);
    }

    void flag(std::string_view key, std::uint8_t& out) {
        const toml::node* node = find(key);
        if (node == nullptr) return;
        if (auto value = node->value_exact<bool>()) {
            out = *value ? 1 : 0;
        } else if (auto number = node->value_exact<std::int64_t>();
                   number && *number >= 0 && *number <= 255) {
            out = static_cast<std::uint8_t>(*number);
        } else {
            fail(key, "must be true, false or a number from 0 to 255");
        }
    }

    template <typename Int>
    bool integer(std::string_view key, Int& out, std::int64_t low, std::int64_t high) {
        const toml::node* node = find(key);
        if (node == nullptr) return false;
        auto number = node->value_exact<std::int64_t>();
        if (!number || *number < low || *number > high) {
            fail(key, "must be a whole number from " + std::to_string(low) + " to " +
                          std::to_string(high));
            return false;
        }
        out = static_cast<Int>(*number);
        return true;
    }

    bool text(std::string_view key, std::string& out) {
        const toml::node* node = find(key);
        if (node == nullptr) return false;
        auto value = node->value_exact<std::string>();
        if (!value) {
            fail(key, "must be a string");
            return false;
        }
        out = *value;
        return true;
    }

    void storage(StorageChoice& choice) {
        std::string value;
        if (text("storage", value)) {
            if (value == "auto")
                choice.storage = Storage::Auto;
            else if (value == "stored")
                choice.storage = Storage::Stored;
            else if (value == "imploded")
                choice.storage = Storage::Imploded;
            else
                fail("storage", "must be \"auto\", \"stored\" or \"imploded\"");
        }
        if (text("literalMode", value)) {
            if (value == "binary")
                choice.literalMode = dcl::LiteralMode::Binary;
            else if (value == "ascii")
                choice.literalMode = dcl::LiteralMode::Ascii;
            else
                fail("literalMode", "must be \"binary\" or \"ascii\"");
        }
        unsigned dictionary = 0;
        if (integer("dictionary", dictionary, 1024, 4096)) {
            if (dictionary != 1024 && dictionary != 2048 && dictionary != 4096) {
                fail("dictionary", "must be 1024, 2048 or 4096");
            } else {
                choice.dictionaryBytes = dictionary;
            }
        }
    }

    void fail(std::string_view key, const std::string& text) {
        problems_.push_back(place_ + (place_.empty() ? "" : " ") + std::string(key) + " " + text);
    }

    // Keys nobody asked for are typos or features this tool lacks.
    void rejectUnknownKeys() {
        for (const auto& [key, node] : table_) {
            if (!used_.contains(std::string(key.str()))) {
                problems_.push_back(place_ + (place_.empty() ? "" : " ") + "unknown key \"" +
                                    std::string(key.str()) + "\"");
            }
        }
    }

  private:
    const toml::table& table_;
    std::string place_;
    std::vector<std::string>& problems_;
    std::set<std::string> used_;
};

std::string joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += (text.empty() ? "" : "\n") + line;
    return text;
}

bool readSaverData(const toml::table& table, const std::string& place,
                   const std::filesystem::path& base, SaverDataInput& data,
                   std::vector<std::string>& problems) {
    TableReader reader(table, place, problems);
    const std::size_t before = problems.size();
    std::string folder, settings, previewCopy;
    if (!reader.text("folder", folder)) {
        if (reader.find("folder") == nullptr) reader.fail("folder", "is missing");
    }
    const bool hasSettings = reader.text("settings", settings);
    reader.integer("firstDataFileMode", data.firstDataFileMode, INT32_MIN, INT32_MAX);
    const bool hasPreviewCopy = reader.text("previewCopy", previewCopy);
    std::vector<std::string> copies;
    if (const toml::node* node = reader.find("copies")) {
        const toml::array* array = node->as_array();
        bool ok = array != nullptr;
        if (ok) {
            for (const toml::node& item : *array) {
                auto value = item.value_exact<std::string>();
                if (!value)
                    ok = false;
                else
                    copies.push_back(*value);
            }
        }
        if (!ok) reader.fail("copies", "must be a list of strings");
    }
    reader.storage(data.storage);
    reader.rejectUnknownKeys();
    if (problems.size() != before) return false;

    std::string error;
    if (hasSettings &&
        !readFileBytes(base / std::filesystem::u8path(settings), data.settings, error)) {
        problems.push_back(place + " settings: " + error);
        return false;
    }
    std::vector<DataFileInput> files;
    if (!readDataFolder(base / std::filesystem::u8path(folder), files, error)) {
        problems.push_back(place + " folder: " + error);
        return false;
    }
    if (hasPreviewCopy) {
        data.files.push_back({previewCopy, {}, true});
        data.firstDataFileMode = 3;
    }
    for (DataFileInput& file : files) data.files.push_back(std::move(file));
    for (const std::string& copy : copies) data.files.push_back({copy, {}, true});
    return true;
}

bool readSlot(const toml::table& table, std::size_t slot, const std::filesystem::path& base,
              SlotInput& input, std::vector<std::string>& problems, const Progress& progress) {
    const std::string place = "[slots." + std::to_string(slot) + "]";
    TableReader reader(table, place, problems);
    const std::size_t before = problems.size();
    std::string file;
    const bool hasFile = reader.text("file", file);
    const bool hasName = reader.text("name", input.name);
    if (!reader.integer("kind", input.kind, INT32_MIN, INT32_MAX) &&
        reader.find("kind") == nullptr) {
        reader.fail("kind", "is missing");
    }
    reader.storage(input.storage);
    const toml::node* saverData = reader.find("saverData");
    reader.rejectUnknownKeys();
    if (problems.size() != before) return false;

    if (hasFile == (saverData != nullptr)) {
        problems.push_back(
            place + (slot == kSlotSaverData ? " needs either file or saverData" : " needs file"));
        return false;
    }
    if (saverData != nullptr) {
        if (slot != kSlotSaverData || !saverData->is_table()) {
            problems.push_back(place + " saverData belongs in [slots.8.saverData]");
            return false;
        }
        if (!hasName) {
            problems.push_back(place + " name is missing (the saver data file's name)");
            return false;
        }
        SaverDataInput data;
        if (!readSaverData(*saverData->as_table(), "[slots.8.saverData]", base, data, problems)) {
            return false;
        }
        std::string error;
        if (!buildSaverDataFile(data, input.bytes, error, progress)) {
            for (std::size_t at = 0; at != std::string::npos;) {
                const std::size_t end = error.find('\n', at);
                problems.push_back("[slots.8.saverData] " + error.substr(at, end - at));
                at = end == std::string::npos ? end : end + 1;
            }
            return false;
        }
        return true;
    }
    const std::filesystem::path path = base / std::filesystem::u8path(file);
    if (!hasName) input.name = utf8Of(path.filename());
    std::string error;
    if (!readFileBytes(path, input.bytes, error)) {
        problems.push_back(place + " file: " + error);
        return false;
    }
    return true;
}

}  // namespace

bool parseManifest(std::string_view text, const std::filesystem::path& baseFolder,
                   Manifest& manifest, std::string& error, const Progress& progress) {
    manifest = Manifest{};
    toml::parse_result parsed = toml::parse(text, std::string_view("manifest"));
    if (!parsed) {
        const auto& failure = parsed.error();
        error = "manifest line " + std::to_string(failure.source().begin.line) + ": " +
                std::string(failure.description());
        return false;
    }
    const toml::table& root = parsed.table();
    std::vector<std::string> problems;
    TableReader reader(root, "", problems);
    reader.integer("installMode", manifest.installMode, 0, 255);
    reader.flag("hasLicense", manifest.hasLicense);
    reader.flag("hasPostInstallFile", manifest.hasPostInstallFile);
    reader.flag("carriesFlashInstaller", manifest.carriesFlashInstaller);
    reader.integer("flashAXInstallerVersion", manifest.flashAXInstallerVersion, 0, 255);
    reader.flag("offerControlPanel", manifest.offerControlPanel);
    if (!reader.text("saverName", manifest.saverName) && reader.find("saverName") == nullptr) {
        reader.fail("saverName", "is missing");
    }
    const toml::node* slots = reader.find("slots");
    reader.rejectUnknownKeys();

    if (slots != nullptr) {
        if (!slots->is_table()) {
            problems.push_back("slots must be tables: [slots.1] to [slots.10]");
        } else {
            for (const auto& [key, node] : *slots->as_table()) {
                const std::string name(key.str());
                std::size_t slot = 0;
                const bool numeric = !name.empty() && name.size() <= 2 &&
                                     name.find_first_not_of("0123456789") == std::string::npos;
                if (numeric) slot = std::stoul(name);
                if (!numeric || slot < 1 || slot >= kSlotCount || !node.is_table()) {
                    problems.push_back("[slots." + name +
                                       "] is not a slot; slots are [slots.1] to [slots.10]");
                    continue;
                }
                SlotInput input;
                if (readSlot(*node.as_table(), slot, baseFolder, input, problems, progress)) {
                    manifest.slots[slot] = std::move(input);
                }
            }
        }
    }
    if (!problems.empty()) {
        error = joined(problems);
        return false;
    }
    return true;
}

bool loadManifest(const std::filesystem::path& path, Manifest& manifest, std::string& error,
                  const Progress& progress) {
    std::vector<std::uint8_t> bytes;
    if (!readFileBytes(path, bytes, error)) return false;
    const std::string text(bytes.begin(), bytes.end());
    return parseManifest(text, path.parent_path(), manifest, error, progress);
}
