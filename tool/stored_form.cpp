#include "tool/stored_form.h"

#include <algorithm>

namespace {

// Text-like files gain from the ASCII mode's literal code; anything else is tried in binary
// only, which keeps the work to one implode for most files.
bool looksLikeText(std::span<const std::uint8_t> file) {
    const std::size_t sample = std::min<std::size_t>(file.size(), 64 * 1024);
    std::size_t plain = 0;
    for (std::size_t i = 0; i < sample; ++i) {
        const std::uint8_t byte = file[i];
        if ((byte >= 0x20 && byte < 0x7F) || byte == '\n' || byte == '\r' || byte == '\t') ++plain;
    }
    return sample > 0 && plain * 100 >= sample * 95;
}

// A smaller window costs fewer distance bits, and a file shorter than the window gains nothing
// from a bigger one.
unsigned fittingDictionary(std::size_t size) {
    if (size <= 1024) return 1024;
    if (size <= 2048) return 2048;
    return 4096;
}

bool implodeChecked(std::span<const std::uint8_t> file, const dcl::ImplodeOptions& options,
                    std::vector<std::uint8_t>& imploded, std::string& error) {
    imploded = dcl::implode(file, options);
    std::vector<std::uint8_t> back;
    back.reserve(file.size());
    const dcl::Status status = dcl::explode(imploded, back, file.size());
    if (status != dcl::Status::Ok || back.size() != file.size() ||
        !std::equal(back.begin(), back.end(), file.begin())) {
        error = "the imploded bytes do not explode back to the file (codec fault)";
        return false;
    }
    return true;
}

}  // namespace

bool makeStoredForm(std::span<const std::uint8_t> file, const StorageChoice& choice,
                    StoredForm& form, std::string& error) {
    form = StoredForm{};
    if (choice.dictionaryBytes && *choice.dictionaryBytes != 1024 &&
        *choice.dictionaryBytes != 2048 && *choice.dictionaryBytes != 4096) {
        error = "dictionary must be 1024, 2048 or 4096 bytes";
        return false;
    }
    if (choice.storage == Storage::Stored) {
        if (file.empty()) {
            error = "an empty file cannot be extracted when stored; let it be imploded";
            return false;
        }
        form.bytes.assign(file.begin(), file.end());
        return true;
    }

    std::vector<dcl::LiteralMode> modes;
    if (choice.literalMode) {
        modes.push_back(*choice.literalMode);
    } else {
        modes.push_back(dcl::LiteralMode::Binary);
        if (looksLikeText(file)) modes.push_back(dcl::LiteralMode::Ascii);
    }
    const unsigned dictionary = choice.dictionaryBytes.value_or(fittingDictionary(file.size()));

    bool have = false;
    for (dcl::LiteralMode mode : modes) {
        std::vector<std::uint8_t> imploded;
        if (!implodeChecked(file, {mode, dictionary, dcl::Level::Default}, imploded, error)) {
            return false;
        }
        if (!have || imploded.size() < form.bytes.size()) {
            form.bytes = std::move(imploded);
            form.literalMode = mode;
            have = true;
        }
    }
    form.imploded = true;
    form.dictionaryBytes = dictionary;

    if (choice.storage == Storage::Auto && !file.empty() && form.bytes.size() >= file.size()) {
        form = StoredForm{};
        form.bytes.assign(file.begin(), file.end());
    }
    return true;
}
