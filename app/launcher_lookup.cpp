#include "app/launcher_lookup.h"

#include <limits>

namespace {

constexpr char kPrefix[] = "/l=";
constexpr std::size_t kPrefixLength = 3;

bool startsWithPrefixInAnyCase(const std::string& text, std::size_t at) {
    if (text.size() - at < kPrefixLength) return false;
    return text[at] == '/' && (text[at + 1] == 'l' || text[at + 1] == 'L') && text[at + 2] == '=';
}

std::string withoutPrefixes(const std::string& parameter) {
    std::string rest;
    std::size_t at = 0;
    while (at < parameter.size()) {
        if (startsWithPrefixInAnyCase(parameter, at)) {
            at += kPrefixLength;
        } else {
            rest += parameter[at++];
        }
    }
    return rest;
}

// Plain decimal digits only: no sign, no blanks, no other base, and no overflow.
bool parseHandle(const std::string& digits, std::uintptr_t& value) {
    if (digits.empty()) return false;
    constexpr std::uintptr_t kMax = std::numeric_limits<std::uintptr_t>::max();
    std::uintptr_t result = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return false;
        const auto digit = static_cast<std::uintptr_t>(c - '0');
        if (result > (kMax - digit) / 10) return false;
        result = result * 10 + digit;
    }
    value = result;
    return true;
}

}  // namespace

LauncherLookup parseLauncherParameter(const std::vector<std::string>& parameters) {
    for (const std::string& parameter : parameters) {
        if (parameter.compare(0, kPrefixLength, kPrefix) != 0) continue;
        LauncherLookup lookup;
        lookup.outcome = parseHandle(withoutPrefixes(parameter), lookup.handle)
                             ? LauncherLookup::Outcome::Found
                             : LauncherLookup::Outcome::Rejected;
        return lookup;
    }
    return {};
}

void LauncherTarget::reset() {
    handle_ = 0;
    settled_ = false;
}

std::uintptr_t LauncherTarget::lookUp(const std::vector<std::string>& parameters) {
    if (handle_ != 0 || settled_) return handle_;
    const LauncherLookup lookup = parseLauncherParameter(parameters);
    switch (lookup.outcome) {
        case LauncherLookup::Outcome::Found:
            handle_ = lookup.handle;
            // "/l=0" names no window; later notices look again, as with no parameter.
            break;
        case LauncherLookup::Outcome::Rejected:
            settled_ = true;
            break;
        case LauncherLookup::Outcome::Absent:
            break;
    }
    return handle_;
}

std::string launcherNoticeData(const std::string& text) {
    return text + '\0';
}
