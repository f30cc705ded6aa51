#include "app/screen_position.h"

#include <gtest/gtest.h>

namespace {

TEST(CentredOnScreen, TruncatesTowardZero) {
    struct Case {
        ScreenSize screen, window;
        int left, top;
    };
    const Case cases[] = {
        {{1024, 768}, {270, 117}, 377, 325},
        {{1025, 769}, {270, 118}, 377, 325},
        // Larger than the screen: -1.5 becomes -1, not -2.
        {{100, 100}, {103, 103}, -1, -1},
    };
    for (const Case& c : cases) {
        const ScreenPosition p = centredOnScreen(c.screen, c.window);
        EXPECT_EQ(p.left, c.left);
        EXPECT_EQ(p.top, c.top);
    }
}

}  // namespace
