#include <windows.h>

#include "sys/os_identification.h"

static_assert(sizeof(OSVERSIONINFOA) == 148, "the basic structure, which Windows 95 accepts");

WindowsVersion readWindowsVersion() {
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof info;
    WindowsVersion version;
    if (!::GetVersionExA(&info)) return version;
    version.known = true;
    version.platformId = info.dwPlatformId;
    version.major = info.dwMajorVersion;
    version.minor = info.dwMinorVersion;
    info.szCSDVersion[sizeof info.szCSDVersion - 1] = '\0';
    version.servicePack = info.szCSDVersion;
    return version;
}

ResultCode runningUnderWow64(bool& yes) {
    yes = false;
    using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, PBOOL);
    HMODULE kernel = ::GetModuleHandleA("kernel32");
    if (kernel == nullptr) return kOk;
    // Imported by name at run time: a static import would stop the program from starting on
    // systems older than XP SP2.
    // Through a generic function pointer type, which -Wcast-function-type accepts.
    const auto isWow64Process = reinterpret_cast<IsWow64ProcessFn>(
        reinterpret_cast<void (*)()>(::GetProcAddress(kernel, "IsWow64Process")));
    if (isWow64Process == nullptr) return kOk;
    BOOL flag = FALSE;
    if (!isWow64Process(::GetCurrentProcess(), &flag)) return kErrBadProcessHandle;
    yes = flag != FALSE;
    return kOk;
}

ResultCode GetOperatingSystem(int& osCode) {
    bool underWow64 = false;
    const ResultCode rc = runningUnderWow64(underWow64);
    const Wow64Answer answer =
        rc != kOk ? Wow64Answer::CheckFailed : (underWow64 ? Wow64Answer::Yes : Wow64Answer::No);
    // Under WOW64 the version plays no part, so it is not even asked for.
    const WindowsVersion version =
        answer == Wow64Answer::No ? readWindowsVersion() : WindowsVersion{};
    return operatingSystemCode(answer, version, osCode);
}

void getWindowsVersionFlags(int& windows95, int& windows98, int& windowsMe, int& windowsNt,
                            int& windows2000, int& windowsXp) {
    const WindowsVersionFlags flags = windowsVersionFlags(readWindowsVersion());
    windows95 = flags.windows95;
    windows98 = flags.windows98;
    windowsMe = flags.windowsMe;
    windowsNt = flags.windowsNt;
    windows2000 = flags.windows2000;
    windowsXp = flags.windowsXp;
}
