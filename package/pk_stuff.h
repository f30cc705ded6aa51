// pk_stuff: TCompressor, the wrapper around the implode library impborl.dll that the package
// carries. One wrapper lives for one imploded file: Create loads the library from a folder,
// ExplodeToFile writes one file, Destroy frees the library again.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "app/result_codes.h"
#include "sys/win_handle.h"

// The library's work buffer. Shared by every wrapper, so only one explode may run at a time;
// nothing in the installer starts two.
inline constexpr std::size_t kExplodeWorkAreaSize = 12596;

class TCompressor {
  public:
    // Create. libraryFolder ends with "\"; an empty folder leaves the search to the system.
    explicit TCompressor(const std::string& libraryFolder);
    // Destroy: frees the library when loaded.
    ~TCompressor() = default;
    TCompressor(const TCompressor&) = delete;
    TCompressor& operator=(const TCompressor&) = delete;

    // The library is loaded and its three entry points were found.
    bool loaded() const { return loaded_; }

    // Explodes dataSize imploded bytes into a new file at targetPath. 0, or the error number
    // when the work could not start (the "Zip Error" box is shown then). Neither the library's
    // result nor the writes are judged here: callers look at the file left behind.
    ResultCode ExplodeToFile(const std::string& targetPath, const std::uint8_t* data,
                             std::int32_t dataSize);

  private:
    // The library's cdecl callbacks; the parameter pointer is the address of a variable that
    // holds the wrapper.
    static unsigned __cdecl readCallback(char* buffer, unsigned* size, void* parameter);
    static void __cdecl writeCallback(char* buffer, unsigned* size, void* parameter);

    FARPROC implodeEntry_ = nullptr;
    FARPROC explodeEntry_ = nullptr;
    FARPROC crc32Entry_ = nullptr;
    UniqueFile outputFile_;
    std::vector<std::uint8_t> inputBuffer_;
    std::size_t inputPosition_ = 0;
    bool loaded_ = false;
    UniqueModule libraryHandle_;
};
