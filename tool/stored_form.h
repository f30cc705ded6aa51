// How one file is stored in a package: as it is, or imploded. The tool chooses, unless told.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "codec/dcl.h"

enum class Storage { Auto, Stored, Imploded };

struct StorageChoice {
    Storage storage = Storage::Auto;
    std::optional<dcl::LiteralMode> literalMode;  // unset: the smaller of the fitting modes
    std::optional<unsigned> dictionaryBytes;      // unset: the smallest window over the file
};

struct StoredForm {
    std::vector<std::uint8_t> bytes;  // what the package holds
    bool imploded = false;
    dcl::LiteralMode literalMode = dcl::LiteralMode::Binary;
    unsigned dictionaryBytes = 0;
};

// Auto implodes only when that is smaller, except for an empty file, which is always imploded:
// a stored entry of 0 bytes cannot be extracted. Every imploded result is exploded again and
// compared before it is used. Returns false with error set when the choice cannot be honoured.
bool makeStoredForm(std::span<const std::uint8_t> file, const StorageChoice& choice,
                    StoredForm& form, std::string& error);
