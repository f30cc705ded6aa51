#include "tool/saver_data_builder.h"

#include <algorithm>
#include <limits>
#include <set>

#include "tool/ansi_text.h"
#include "tool/file_bytes.h"
#include "tool/package_checks.h"

namespace {

constexpr std::size_t kMaxOffset = std::numeric_limits<std::int32_t>::max();

std::string lowerAscii(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

std::string joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += (text.empty() ? "" : "\n") + line;
    return text;
}

}  // namespace

bool readDataFolder(const std::filesystem::path& folder, std::vector<DataFileInput>& files,
                    std::string& error) {
    files.clear();
    std::error_code code;
    if (!std::filesystem::is_directory(folder, code)) {
        error = "data folder \"" + utf8Of(folder) + "\" does not exist";
        return false;
    }
    std::vector<std::pair<std::string, std::filesystem::path>> found;
    std::filesystem::recursive_directory_iterator it(folder, code), end;
    for (; !code && it != end; it.increment(code)) {
        if (!it->is_regular_file(code)) continue;
        std::string name;
        for (const auto& part : std::filesystem::relative(it->path(), folder, code)) {
            name += (name.empty() ? "" : "\\") + utf8Of(part);
        }
        found.emplace_back(name, it->path());
    }
    if (code) {
        error = "cannot list data folder \"" + utf8Of(folder) + "\": " + code.message();
        return false;
    }
    // Directory order differs between file systems; byte order of the names does not.
    std::sort(found.begin(), found.end());
    for (const auto& [name, path] : found) {
        DataFileInput file;
        file.name = name;
        if (!readFileBytes(path, file.bytes, error)) return false;
        files.push_back(std::move(file));
    }
    return true;
}

std::vector<std::string> saverDataProblems(const SaverDataInput& input) {
    std::vector<std::string> problems;
    if (!input.settings.empty() && input.settings.size() != kSaverDataRecordSize) {
        problems.push_back("the settings record has " + std::to_string(input.settings.size()) +
                           " bytes; it must have 1240");
    }
    if (input.files.size() > static_cast<std::size_t>(kMaxDataFiles)) {
        problems.push_back("there are " + std::to_string(input.files.size()) +
                           " data files; the installer reads at most 1010");
    }
    const bool firstIsCopy = !input.files.empty() && input.files.front().copy;
    if (input.firstDataFileMode == 3 && !firstIsCopy) {
        problems.push_back(
            "firstDataFileMode 3 makes data file 1 a copy of the preview movie, so its stored "
            "bytes would never be written; make data file 1 the preview copy");
    }
    if (firstIsCopy && input.firstDataFileMode != 3) {
        problems.push_back(
            "data file 1 is a copy of the preview movie; that needs "
            "firstDataFileMode 3");
    }
    std::set<std::string> seen;
    for (std::size_t i = 0; i < input.files.size(); ++i) {
        const DataFileInput& file = input.files[i];
        const std::string label = "data file " + std::to_string(i + 1) + " \"" + file.name + "\"";
        std::string ansi;
        if (!utf8ToWindows1252(file.name, ansi)) {
            problems.push_back(label +
                               ": the name has characters the ANSI code page "
                               "(Windows-1252) lacks");
            continue;
        }
        if (auto problem = dataFileNameProblem(ansi)) {
            problems.push_back(label + ": the name " + *problem);
            continue;
        }
        if (!seen.insert(lowerAscii(ansi)).second) {
            problems.push_back(label + ": another data file has the same name");
        }
        if (!file.copy && file.bytes.size() > kMaxOffset) {
            problems.push_back(label + ": larger than the 2 GiB a 32-bit size allows");
        }
    }
    return problems;
}

bool buildSaverDataFile(const SaverDataInput& input, std::vector<std::uint8_t>& output,
                        std::string& error,
                        const std::function<void(const std::string&)>& progress) {
    output.clear();
    if (const auto problems = saverDataProblems(input); !problems.empty()) {
        error = joined(problems);
        return false;
    }

    SaverDataRecord record;
    if (!input.settings.empty()) {
        std::copy(input.settings.begin(), input.settings.end(), record.bytes.begin());
    }
    record.setDataFileCount(static_cast<std::int32_t>(input.files.size()));
    record.setFirstDataFileMode(input.firstDataFileMode);

    const std::size_t tableEnd = kSaverDataRecordSize + kDataFileRecordSize * input.files.size();
    output.assign(record.bytes.begin(), record.bytes.end());
    output.resize(tableEnd, 0);

    for (std::size_t i = 0; i < input.files.size(); ++i) {
        const DataFileInput& file = input.files[i];
        DataFileRecord entry;
        utf8ToWindows1252(file.name, entry.fileName);  // checked above
        entry.fileType = file.copy ? kDataFileTypeCopy : 0;
        if (!file.copy) {
            if (progress) {
                progress("data file " + std::to_string(i + 1) + " " + file.name + ": " +
                         std::to_string(file.bytes.size()) + " bytes");
            }
            StoredForm form;
            if (!file.bytes.empty() && !makeStoredForm(file.bytes, input.storage, form, error)) {
                error = "data file " + std::to_string(i + 1) + " \"" + file.name + "\": " + error;
                output.clear();
                return false;
            }
            const std::size_t blockAt = output.size();
            if (blockAt + kDataBlockHeaderSize + form.bytes.size() > kMaxOffset) {
                error = "the saver data file would pass the 2 GiB that 32-bit offsets allow";
                output.clear();
                return false;
            }
            entry.dataOffset = static_cast<std::int32_t>(blockAt);
            DataBlockHeader block;
            block.fileSize = static_cast<std::int32_t>(file.bytes.size());
            block.compressedSize = static_cast<std::int32_t>(form.bytes.size());
            block.compressed = form.imploded ? 1 : 0;
            output.resize(blockAt + kDataBlockHeaderSize);
            encodeDataBlockHeader(block,
                                  std::span(output).subspan(blockAt).first<kDataBlockHeaderSize>());
            output.insert(output.end(), form.bytes.begin(), form.bytes.end());
        }
        const std::size_t recordAt = kSaverDataRecordSize + kDataFileRecordSize * i;
        encodeDataFileRecord(entry,
                             std::span(output).subspan(recordAt).first<kDataFileRecordSize>());
    }
    return true;
}
