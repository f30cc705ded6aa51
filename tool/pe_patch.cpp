#include "tool/pe_patch.h"

#include <cstring>
#include <limits>

#include "package/installer_size.h"
#include "package/package_format.h"

namespace {

constexpr std::size_t kDosLfanewAt = 0x3C;
constexpr std::size_t kCoffHeaderSize = 20;
constexpr std::size_t kSectionHeaderSize = 40;

std::uint16_t load16(std::span<const std::uint8_t> bytes, std::size_t at) {
    return static_cast<std::uint16_t>(bytes[at] | (bytes[at + 1] << 8));
}

std::uint32_t load32(std::span<const std::uint8_t> bytes, std::size_t at) {
    return static_cast<std::uint32_t>(loadLittleEndian32(bytes, at));
}

bool fits(std::span<const std::uint8_t> bytes, std::uint64_t at, std::uint64_t size) {
    return at <= bytes.size() && size <= bytes.size() - at;
}

}  // namespace

bool findInstallerSizeField(std::span<const std::uint8_t> image, InstallerSizeField& field,
                            std::string& error) {
    if (!fits(image, 0, 0x40) || image[0] != 'M' || image[1] != 'Z') {
        error = "not a Windows program (no MZ header)";
        return false;
    }
    const std::uint32_t peAt = load32(image, kDosLfanewAt);
    if (!fits(image, peAt, 4 + kCoffHeaderSize) ||
        std::memcmp(image.data() + peAt, "PE\0\0", 4) != 0) {
        error = "not a Windows program (no PE signature)";
        return false;
    }
    const std::size_t coffAt = peAt + 4;
    const std::uint16_t sectionCount = load16(image, coffAt + 2);
    const std::uint16_t optionalSize = load16(image, coffAt + 16);
    const std::size_t optionalAt = coffAt + kCoffHeaderSize;
    if (!fits(image, optionalAt, 2) || optionalSize < 2) {
        error = "the PE optional header is missing";
        return false;
    }
    const std::uint16_t magic = load16(image, optionalAt);
    if (magic != 0x10B && magic != 0x20B) {
        error = "the PE optional header is neither PE32 nor PE32+";
        return false;
    }
    const std::uint64_t tableAt = std::uint64_t{optionalAt} + optionalSize;
    if (!fits(image, tableAt, std::uint64_t{kSectionHeaderSize} * sectionCount)) {
        error = "the PE section table runs past the end of the file";
        return false;
    }

    char wanted[8] = {};
    std::memcpy(wanted, NRV_INSTALLER_SIZE_SECTION, sizeof(NRV_INSTALLER_SIZE_SECTION) - 1);
    int matches = 0;
    for (std::uint16_t i = 0; i < sectionCount; ++i) {
        const std::size_t at = static_cast<std::size_t>(tableAt) + kSectionHeaderSize * i;
        if (std::memcmp(image.data() + at, wanted, sizeof(wanted)) != 0) continue;
        ++matches;
        const std::uint32_t virtualSize = load32(image, at + 8);
        const std::uint32_t rawSize = load32(image, at + 16);
        const std::uint32_t rawAt = load32(image, at + 20);
        if (rawSize < 4 || (virtualSize != 0 && virtualSize < 4) || !fits(image, rawAt, 4)) {
            error = "the " NRV_INSTALLER_SIZE_SECTION " section holds no 4-byte value in the file";
            return false;
        }
        field.fileOffset = rawAt;
        field.pe32Plus = magic == 0x20B;
    }
    if (matches != 1) {
        error = matches == 0 ? "the program has no " NRV_INSTALLER_SIZE_SECTION
                               " section, so it is not an installer stub"
                             : "the program has more than one " NRV_INSTALLER_SIZE_SECTION
                               " section";
        return false;
    }
    return true;
}

bool patchInstallerSize(std::vector<std::uint8_t>& stub, std::string& error) {
    InstallerSizeField field;
    if (!findInstallerSizeField(stub, field, error)) return false;
    if (stub.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
        error = "the stub is larger than a 32-bit offset allows";
        return false;
    }
    storeLittleEndian32(stub, field.fileOffset, static_cast<std::int32_t>(stub.size()));
    return true;
}
