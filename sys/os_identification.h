// NRV_OSUtils: which Windows the installer runs on, condensed into the OS code, and one flag
// per known Windows version. The decisions are plain functions over what the system reports;
// the Win32 calls that gather it are declared at the end.
#pragma once

#include <cstdint>
#include <string>

#include "app/result_codes.h"

// The OS code.
constexpr int kOsUnknown = -1;  // also 32-bit Server 2003 (5.2) and every 32-bit version 6+
constexpr int kOsWindows95 = 0;
constexpr int kOsWindows98 = 1;
constexpr int kOsWindows98SecondEdition = 2;
constexpr int kOsWindowsMe = 3;
constexpr int kOsWindowsNt4OrEarlier = 4;
constexpr int kOsWindows2000 = 5;
constexpr int kOsWindowsXp = 6;
constexpr int kOs64BitWindows = 7;  // a 32-bit process under WOW64

constexpr std::uint32_t kPlatformWin32Windows = 1;  // VER_PLATFORM_WIN32_WINDOWS
constexpr std::uint32_t kPlatformWin32Nt = 2;       // VER_PLATFORM_WIN32_NT

// What GetVersionExA reported; known is false when the call failed.
struct WindowsVersion {
    bool known = false;
    std::uint32_t platformId = 0;
    std::uint32_t major = 0;
    std::uint32_t minor = 0;
    std::string servicePack;  // szCSDVersion
};

// The answer of the WOW64 test; CheckFailed when IsWow64Process itself reported failure.
enum class Wow64Answer { No, Yes, CheckFailed };

// The OS code of a version alone, -1 to 6.
int classifyWindowsVersion(const WindowsVersion& version);

// The OS code: 7 under WOW64 whatever the version, else the version's code. A failed WOW64
// test gives kErrBadProcessHandle and leaves osCode at -1: the start-up reports it as its
// own failure instead of guessing a system.
ResultCode operatingSystemCode(Wow64Answer wow64, const WindowsVersion& version, int& osCode);

// One flag (0 or 1) per version, at most one set; the WOW64 test plays no part.
struct WindowsVersionFlags {
    int windows95 = 0;
    int windows98 = 0;  // both editions
    int windowsMe = 0;
    int windowsNt = 0;  // NT 4.0 or earlier
    int windows2000 = 0;
    int windowsXp = 0;  // 32-bit XP (5.1) only
};
WindowsVersionFlags windowsVersionFlags(const WindowsVersion& version);

#ifdef _WIN32
// GetVersionExA with the basic 148-byte OSVERSIONINFOA.
WindowsVersion readWindowsVersion();
// IsWow64Process, looked up at run time (it is missing before XP SP2): absent means no.
// kErrBadProcessHandle when the call reports failure.
ResultCode runningUnderWow64(bool& yes);
// 0 and the OS code, or kErrBadProcessHandle (osCode -1) when the WOW64 test failed.
ResultCode GetOperatingSystem(int& osCode);
void getWindowsVersionFlags(int& windows95, int& windows98, int& windowsMe, int& windowsNt,
                            int& windows2000, int& windowsXp);
#endif
