#include "sys/os_identification.h"

#include <gtest/gtest.h>

namespace {

WindowsVersion version(std::uint32_t platform, std::uint32_t major, std::uint32_t minor,
                       const char* servicePack = "") {
    WindowsVersion v;
    v.known = true;
    v.platformId = platform;
    v.major = major;
    v.minor = minor;
    v.servicePack = servicePack;
    return v;
}

struct OsCase {
    const char* system;
    WindowsVersion version;
    Wow64Answer wow64;
    int osCode;
    WindowsVersionFlags flags;  // 95, 98, ME, NT, 2000, XP
};

constexpr std::uint32_t k9x = kPlatformWin32Windows;
constexpr std::uint32_t kNt = kPlatformWin32Nt;
constexpr auto kNo = Wow64Answer::No;
constexpr auto kYes = Wow64Answer::Yes;

const OsCase kCases[] = {
    {"Windows 95", version(k9x, 4, 0), kNo, 0, {1, 0, 0, 0, 0, 0}},
    {"Windows 98", version(k9x, 4, 10, ""), kNo, 1, {0, 1, 0, 0, 0, 0}},
    {"Windows 98 SE", version(k9x, 4, 10, " A "), kNo, 2, {0, 1, 0, 0, 0, 0}},
    {"Windows 98, lower-case a", version(k9x, 4, 10, " a "), kNo, 1, {0, 1, 0, 0, 0, 0}},
    {"Windows 98, A first", version(k9x, 4, 10, "A"), kNo, 1, {0, 1, 0, 0, 0, 0}},
    {"Windows ME", version(k9x, 4, 90), kNo, 3, {0, 0, 1, 0, 0, 0}},
    {"unknown 9x", version(k9x, 4, 50), kNo, -1, {0, 0, 0, 0, 0, 0}},
    {"9x, major 5", version(k9x, 5, 0), kNo, -1, {0, 0, 0, 0, 0, 0}},
    {"Windows NT 3.51", version(kNt, 3, 51), kNo, 4, {0, 0, 0, 1, 0, 0}},
    {"Windows NT 4.0", version(kNt, 4, 0, "Service Pack 6"), kNo, 4, {0, 0, 0, 1, 0, 0}},
    {"Windows 2000 without IsWow64Process", version(kNt, 5, 0), kNo, 5, {0, 0, 0, 0, 1, 0}},
    {"Windows XP", version(kNt, 5, 1, "Service Pack 3"), kNo, 6, {0, 0, 0, 0, 0, 1}},
    {"Windows XP 64-bit under WOW64", version(kNt, 5, 2), kYes, 7, {0, 0, 0, 0, 0, 0}},
    {"Server 2003 32-bit", version(kNt, 5, 2), kNo, -1, {0, 0, 0, 0, 0, 0}},
    {"Vista 32-bit", version(kNt, 6, 0), kNo, -1, {0, 0, 0, 0, 0, 0}},
    {"Windows 7 64-bit under WOW64", version(kNt, 6, 1), kYes, 7, {0, 0, 0, 0, 0, 0}},
    {"Windows 10 64-bit, native process", version(kNt, 10, 0), kNo, -1, {0, 0, 0, 0, 0, 0}},
    {"Win32s", version(0, 3, 10), kNo, -1, {0, 0, 0, 0, 0, 0}},
    {"GetVersionExA failed", WindowsVersion{}, kNo, -1, {0, 0, 0, 0, 0, 0}},
    {"GetVersionExA failed under WOW64", WindowsVersion{}, kYes, 7, {0, 0, 0, 0, 0, 0}},
};

TEST(OperatingSystemCode, FollowsTheVersionTable) {
    for (const auto& c : kCases) {
        int osCode = 99;
        EXPECT_EQ(operatingSystemCode(c.wow64, c.version, osCode), kOk) << c.system;
        EXPECT_EQ(osCode, c.osCode) << c.system;
    }
}

TEST(WindowsVersionFlags, SetAtMostOneFlagAndIgnoreWow64) {
    for (const auto& c : kCases) {
        const WindowsVersionFlags flags = windowsVersionFlags(c.version);
        const int got[] = {flags.windows95, flags.windows98,   flags.windowsMe,
                           flags.windowsNt, flags.windows2000, flags.windowsXp};
        const int want[] = {c.flags.windows95, c.flags.windows98,   c.flags.windowsMe,
                            c.flags.windowsNt, c.flags.windows2000, c.flags.windowsXp};
        for (int i = 0; i < 6; ++i) EXPECT_EQ(got[i], want[i]) << c.system << ", flag " << i;
    }
}

TEST(OperatingSystemCode, AFailedWow64TestIsReportedNotGuessed) {
    int osCode = 99;
    EXPECT_EQ(operatingSystemCode(Wow64Answer::CheckFailed, version(kNt, 5, 1), osCode),
              kErrBadProcessHandle);
    EXPECT_EQ(osCode, kOsUnknown);
}

}  // namespace
