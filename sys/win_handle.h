// One owner per Win32 handle kind: non-copyable, movable, with its invalid value explicit.
#pragma once

#include <windows.h>

#include <utility>

template <typename Handle, Handle (*Invalid)(), void (*Close)(Handle)>
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(Handle h) : h_(h) {}
    ~UniqueHandle() { reset(); }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : h_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }

    Handle get() const { return h_; }
    bool valid() const { return h_ != Invalid(); }
    explicit operator bool() const { return valid(); }
    Handle release() { return std::exchange(h_, Invalid()); }
    void reset(Handle h = Invalid()) {
        if (valid()) Close(h_);
        h_ = h;
    }

private:
    Handle h_ = Invalid();
};

namespace handle_traits {
inline HANDLE invalidFile() { return INVALID_HANDLE_VALUE; }
inline HANDLE nullHandle() { return nullptr; }
inline void closeHandle(HANDLE h) { ::CloseHandle(h); }
inline void findClose(HANDLE h) { ::FindClose(h); }
inline HMODULE nullModule() { return nullptr; }
inline void freeLibrary(HMODULE h) { ::FreeLibrary(h); }
inline HKEY nullKey() { return nullptr; }
inline void regCloseKey(HKEY h) { ::RegCloseKey(h); }
}  // namespace handle_traits

using UniqueFile = UniqueHandle<HANDLE, handle_traits::invalidFile, handle_traits::closeHandle>;
using UniqueFind = UniqueHandle<HANDLE, handle_traits::invalidFile, handle_traits::findClose>;
using UniqueProcess = UniqueHandle<HANDLE, handle_traits::nullHandle, handle_traits::closeHandle>;
using UniqueModule = UniqueHandle<HMODULE, handle_traits::nullModule, handle_traits::freeLibrary>;
using UniqueKey = UniqueHandle<HKEY, handle_traits::nullKey, handle_traits::regCloseKey>;
