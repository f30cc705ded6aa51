#include "sys/saver_naming.h"

#include <gtest/gtest.h>

namespace {

TEST(SaverNaming, TitleAndDisplayNameAddScreenSaverOnlyWhenMissing) {
    const struct {
        const char* name;
        const char* title;
        const char* displayName;
    } cases[] = {
        {"Aquarium", "Install Screen Saver: Aquarium", "Aquarium Screen Saver"},
        {"Aquarium Screen Saver", "Install: Aquarium Screen Saver", "Aquarium Screen Saver"},
        {"Aquarium Screensaver", "Install: Aquarium Screensaver", "Aquarium Screensaver"},
        {"AQUARIUM SAVER", "Install: AQUARIUM SAVER", "AQUARIUM SAVER"},
        {"Wavesaver Classics", "Install: Wavesaver Classics", "Wavesaver Classics"},
        {"", "Install Screen Saver: ", " Screen Saver"},
        // Only A to Z are folded: "SÄVER" is no saver.
        {"Lake S\xC4VER", "Install Screen Saver: Lake S\xC4VER", "Lake S\xC4VER Screen Saver"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(makeInstallerTitle(c.name), c.title) << c.name;
        EXPECT_EQ(makeSaverDisplayName(c.name), c.displayName) << c.name;
    }
}

TEST(SaverNaming, ContainsIgnoringCaseFoldsAsciiOnly) {
    EXPECT_TRUE(containsIgnoringCase("Wavesaver Classics", "SAVER"));
    EXPECT_TRUE(containsIgnoringCase("anything", ""));
    EXPECT_FALSE(containsIgnoringCase("", "saver"));
    EXPECT_FALSE(containsIgnoringCase("\xE9t\xE9", "\xC9T\xC9"));  // é is not folded to É
    EXPECT_FALSE(containsIgnoringCase("save", "saver"));
}

}  // namespace
