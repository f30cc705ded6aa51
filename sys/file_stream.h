// A file opened for one operation, with guarded I/O: every failure comes back as the file I/O
// error number (100 read beyond end of file, 101 short write, 103 not open, else the Windows
// error number). Owns its handle; closes it on destruction.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "app/result_codes.h"
#include "sys/win_handle.h"

class FileStream {
public:
    enum class Mode { Read, ReadWrite, Create };  // Create replaces any file of that name

    FileStream() = default;
    ResultCode open(const std::string& path, Mode mode);
    bool isOpen() const;
    ResultCode close();

    ResultCode seek(std::int64_t offset);
    ResultCode size(std::int64_t& bytes) const;
    // Reads up to count bytes; got says how many came. A short read is not an error here.
    ResultCode readSome(void* buffer, std::size_t count, std::size_t& got);
    // Reads exactly count bytes, or fails with 100.
    ResultCode readExact(void* buffer, std::size_t count);
    // Writes all bytes, or fails with 101 (or the Windows error).
    ResultCode write(const void* buffer, std::size_t count);

private:
    UniqueFile file_;
};
