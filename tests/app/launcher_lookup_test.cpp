#include "app/launcher_lookup.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace {

using Outcome = LauncherLookup::Outcome;

struct LookupCase {
    std::vector<std::string> parameters;
    Outcome outcome;
    std::uintptr_t handle;
};

const LookupCase kCases[] = {
    {{"/l=123"}, Outcome::Found, 123},
    {{}, Outcome::Absent, 0},
    {{"/q", "other"}, Outcome::Absent, 0},
    // The prefix test is case-sensitive...
    {{"/L=123"}, Outcome::Absent, 0},
    // ...the removal is not.
    {{"/l=12/L=3"}, Outcome::Found, 123},
    {{"/l=1/l=2/L=3"}, Outcome::Found, 123},
    {{"/q", "/l=77", "/l=88"}, Outcome::Found, 77},
    {{"/L=5", "/l=6"}, Outcome::Found, 6},
    {{"/l=0"}, Outcome::Found, 0},
    {{"/l=abc"}, Outcome::Rejected, 0},
    {{"/l=-5"}, Outcome::Rejected, 0},
    {{"/l=+5"}, Outcome::Rejected, 0},
    {{"/l="}, Outcome::Rejected, 0},
    {{"/l=12 "}, Outcome::Rejected, 0},
    {{"/l=0x10"}, Outcome::Rejected, 0},
    // A rejected first parameter is not passed over for a later one.
    {{"/l=x", "/l=9"}, Outcome::Rejected, 0},
    {{"/l=99999999999999999999999999"}, Outcome::Rejected, 0},
};

TEST(ParseLauncherParameter, Cases) {
    for (const LookupCase& c : kCases) {
        SCOPED_TRACE(c.parameters.empty() ? std::string("(none)") : c.parameters.front());
        const LauncherLookup lookup = parseLauncherParameter(c.parameters);
        EXPECT_EQ(lookup.outcome, c.outcome);
        EXPECT_EQ(lookup.handle, c.handle);
    }
}

TEST(ParseLauncherParameter, TakesTheWholePointerRange) {
    const std::uintptr_t largest = std::numeric_limits<std::uintptr_t>::max();
    const LauncherLookup lookup = parseLauncherParameter({"/l=" + std::to_string(largest)});
    EXPECT_EQ(lookup.outcome, Outcome::Found);
    EXPECT_EQ(lookup.handle, largest);
}

TEST(LauncherTarget, KeepsTheFirstHandleFound) {
    LauncherTarget target;
    EXPECT_EQ(target.lookUp({"/l=42"}), 42u);
    EXPECT_EQ(target.lookUp({"/l=7"}), 42u);
}

TEST(LauncherTarget, LooksAgainWhileNoParameterNamedOne) {
    LauncherTarget target;
    EXPECT_EQ(target.lookUp({}), 0u);
    EXPECT_EQ(target.lookUp({"/l=5"}), 5u);
}

TEST(LauncherTarget, RejectsABadValueOnceAndThenRunsWithoutLauncher) {
    LauncherTarget target;
    EXPECT_EQ(target.lookUp({"/l=-5"}), 0u);
    EXPECT_EQ(target.lookUp({"/l=5"}), 0u);
    target.reset();
    EXPECT_EQ(target.lookUp({"/l=5"}), 5u);
}

TEST(LauncherNoticeData, AddsOneTerminatingNul) {
    EXPECT_EQ(launcherNoticeData("quiet installer").size(), 16u);
    const std::string active = std::string("makeActiveSaver-") + "sea.scr" + '\0';
    const std::string data = launcherNoticeData(active);
    EXPECT_EQ(data.size(), 16u + 7u + 2u);
    EXPECT_EQ(data, std::string("makeActiveSaver-sea.scr\0\0", 25));
}

}  // namespace
