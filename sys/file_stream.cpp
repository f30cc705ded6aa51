#include "sys/file_stream.h"

#include <algorithm>

namespace {

ResultCode lastErrorCode() {
    const DWORD error = ::GetLastError();
    // A failing call that leaves no error number still has to be reported as a failure.
    return error != 0 ? static_cast<ResultCode>(error) : static_cast<ResultCode>(ERROR_GEN_FAILURE);
}

// ReadFile and WriteFile take a DWORD count; larger requests go in pieces.
constexpr std::size_t kMaxChunk = 0x40000000;

}  // namespace

ResultCode FileStream::open(const std::string& path, Mode mode) {
    file_.reset();
    DWORD access = 0;
    DWORD share = 0;
    DWORD disposition = 0;
    switch (mode) {
        case Mode::Read:
            // Readers may share: the installer reads its own working copy while another
            // reader (a second open of the same package) may have it open too.
            access = GENERIC_READ;
            share = FILE_SHARE_READ;
            disposition = OPEN_EXISTING;
            break;
        case Mode::ReadWrite:
            access = GENERIC_READ | GENERIC_WRITE;
            disposition = OPEN_EXISTING;
            break;
        case Mode::Create:
            access = GENERIC_READ | GENERIC_WRITE;
            disposition = CREATE_ALWAYS;
            break;
    }
    HANDLE h = ::CreateFileA(path.c_str(), access, share, nullptr, disposition,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return lastErrorCode();
    file_.reset(h);
    return kOk;
}

bool FileStream::isOpen() const {
    return file_.valid();
}

ResultCode FileStream::close() {
    if (!file_.valid()) return kIoFileNotOpen;
    HANDLE h = file_.release();
    if (!::CloseHandle(h)) return lastErrorCode();
    return kOk;
}

ResultCode FileStream::seek(std::int64_t offset) {
    if (!file_.valid()) return kIoFileNotOpen;
    if (offset < 0) return ERROR_NEGATIVE_SEEK;
    // SetFilePointer rather than SetFilePointerEx: the latter is missing from Windows 95.
    LONG high = static_cast<LONG>(offset >> 32);
    ::SetLastError(NO_ERROR);
    const DWORD low =
        ::SetFilePointer(file_.get(), static_cast<LONG>(offset & 0xFFFFFFFF), &high, FILE_BEGIN);
    if (low == INVALID_SET_FILE_POINTER && ::GetLastError() != NO_ERROR) return lastErrorCode();
    return kOk;
}

ResultCode FileStream::size(std::int64_t& bytes) const {
    if (!file_.valid()) return kIoFileNotOpen;
    // GetFileSize rather than GetFileSizeEx, for the same reason as in seek.
    DWORD high = 0;
    ::SetLastError(NO_ERROR);
    const DWORD low = ::GetFileSize(file_.get(), &high);
    if (low == INVALID_FILE_SIZE && ::GetLastError() != NO_ERROR) return lastErrorCode();
    bytes = (static_cast<std::int64_t>(high) << 32) | low;
    return kOk;
}

ResultCode FileStream::readSome(void* buffer, std::size_t count, std::size_t& got) {
    got = 0;
    if (!file_.valid()) return kIoFileNotOpen;
    auto* out = static_cast<unsigned char*>(buffer);
    while (got < count) {
        const DWORD want = static_cast<DWORD>(std::min(count - got, kMaxChunk));
        DWORD done = 0;
        if (!::ReadFile(file_.get(), out + got, want, &done, nullptr)) return lastErrorCode();
        got += done;
        if (done < want) break;  // end of file
    }
    return kOk;
}

ResultCode FileStream::readExact(void* buffer, std::size_t count) {
    std::size_t got = 0;
    const ResultCode rc = readSome(buffer, count, got);
    if (rc != kOk) return rc;
    return got == count ? kOk : kIoReadBeyondEnd;
}

ResultCode FileStream::write(const void* buffer, std::size_t count) {
    if (!file_.valid()) return kIoFileNotOpen;
    const auto* in = static_cast<const unsigned char*>(buffer);
    std::size_t put = 0;
    while (put < count) {
        const DWORD want = static_cast<DWORD>(std::min(count - put, kMaxChunk));
        DWORD done = 0;
        if (!::WriteFile(file_.get(), in + put, want, &done, nullptr)) return lastErrorCode();
        put += done;
        if (done < want) return kIoShortWrite;
    }
    return kOk;
}
