#include "sys/os_identification.h"

#include <gtest/gtest.h>

#include <iostream>

namespace {

// The test program is a native x86_64 process: never under WOW64, so the version decides.
// Wine 8 in a fresh prefix reports Windows 7 (NT platform, 6.1, "Service Pack 1"), which
// as a native process is no listed version: OS code -1 and no flag.
TEST(GetOperatingSystem, ANativeProcessIsClassifiedByItsVersion) {
    bool underWow64 = true;
    ASSERT_EQ(runningUnderWow64(underWow64), kOk);
    EXPECT_FALSE(underWow64);

    const WindowsVersion version = readWindowsVersion();
    ASSERT_TRUE(version.known);
    std::cout << "reported: platform " << version.platformId << ", version " << version.major << "."
              << version.minor << ", service pack \"" << version.servicePack << "\"\n";
    EXPECT_EQ(version.platformId, kPlatformWin32Nt);

    int osCode = 99;
    ASSERT_EQ(GetOperatingSystem(osCode), kOk);
    EXPECT_EQ(osCode, classifyWindowsVersion(version));
    if (version.major >= 6) {
        EXPECT_EQ(osCode, kOsUnknown);
    }
}

TEST(GetWindowsVersionFlags, MatchTheReportedVersion) {
    int flags[6] = {9, 9, 9, 9, 9, 9};
    getWindowsVersionFlags(flags[0], flags[1], flags[2], flags[3], flags[4], flags[5]);
    const WindowsVersionFlags expected = windowsVersionFlags(readWindowsVersion());
    EXPECT_EQ(flags[0], expected.windows95);
    EXPECT_EQ(flags[1], expected.windows98);
    EXPECT_EQ(flags[2], expected.windowsMe);
    EXPECT_EQ(flags[3], expected.windowsNt);
    EXPECT_EQ(flags[4], expected.windows2000);
    EXPECT_EQ(flags[5], expected.windowsXp);
}

}  // namespace
