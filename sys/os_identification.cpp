#include "sys/os_identification.h"

int classifyWindowsVersion(const WindowsVersion& version) {
    if (!version.known) return kOsUnknown;
    if (version.platformId == kPlatformWin32Windows && version.major == 4) {
        switch (version.minor) {
            case 0:
                return kOsWindows95;
            case 10:
                // The second edition reports " A " as its service-pack text.
                return version.servicePack.size() >= 2 && version.servicePack[1] == 'A'
                           ? kOsWindows98SecondEdition
                           : kOsWindows98;
            case 90:
                return kOsWindowsMe;
            default:
                return kOsUnknown;
        }
    }
    if (version.platformId == kPlatformWin32Nt) {
        if (version.major <= 4) return kOsWindowsNt4OrEarlier;
        if (version.major == 5 && version.minor == 0) return kOsWindows2000;
        if (version.major == 5 && version.minor == 1) return kOsWindowsXp;
    }
    return kOsUnknown;
}

ResultCode operatingSystemCode(Wow64Answer wow64, const WindowsVersion& version, int& osCode) {
    osCode = kOsUnknown;
    switch (wow64) {
        case Wow64Answer::CheckFailed:
            return kErrBadProcessHandle;
        case Wow64Answer::Yes:
            osCode = kOs64BitWindows;
            return kOk;
        case Wow64Answer::No:
            break;
    }
    osCode = classifyWindowsVersion(version);
    return kOk;
}

WindowsVersionFlags windowsVersionFlags(const WindowsVersion& version) {
    WindowsVersionFlags flags;
    switch (classifyWindowsVersion(version)) {
        case kOsWindows95:
            flags.windows95 = 1;
            break;
        case kOsWindows98:
        case kOsWindows98SecondEdition:
            flags.windows98 = 1;
            break;
        case kOsWindowsMe:
            flags.windowsMe = 1;
            break;
        case kOsWindowsNt4OrEarlier:
            flags.windowsNt = 1;
            break;
        case kOsWindows2000:
            flags.windows2000 = 1;
            break;
        case kOsWindowsXp:
            flags.windowsXp = 1;
            break;
        default:
            break;
    }
    return flags;
}
