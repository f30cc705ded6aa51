// crcUtils: the reflected CRC-32 (polynomial 0xEDB88320, as in zlib) over a constant table
// that checks itself before every use.
#pragma once

#include <array>
#include <cstdint>
#include <string>

using Crc32Table = std::array<std::uint32_t, 256>;

// Held as initialised data, never computed at run time.
extern const Crc32Table kCrc32Table;

// The CRC-32 of the table's own 1024 bytes (entries as little-endian bytes, in order).
constexpr std::uint32_t kCrc32TableCheck = 0x6FCF9E13;

// crc := table[(b xor crc) and 0xFF] xor (crc shr 8) for every byte. Callers pass length >= 1.
void updateCrc32(const void* data, std::uint32_t length, std::uint32_t& crc,
                 const Crc32Table& table = kCrc32Table);

// The CRC-32 of a table's 1024 bytes.
std::uint32_t crc32OfTable(const Crc32Table& table);

// The self-check's plain message for a table whose CRC is `actual`.
std::string crc32TableMessage(std::uint32_t actual);

// True when the table is intact; otherwise shows the plain message box and returns false.
bool checkCrc32Table(const Crc32Table& table = kCrc32Table);

// The usual CRC-32 of the text ("abc" gives 891568578, "" gives 0). Leaves crc unchanged and
// returns false when the table's self-check fails.
bool crc32OfText(const std::string& text, std::uint32_t& crc,
                 const Crc32Table& table = kCrc32Table);

// The file name of the shortcut that would start this installer at log-on.
std::string startupShortcutName(std::uint32_t crc);
