#include "app/message_box_look.h"

#include <gtest/gtest.h>

namespace {

TEST(MessageBoxLook, KindsHaveTheirCaptionAndIcon) {
    struct Case {
        MessageKind kind;
        const char* caption;
        MessageIcon icon;
    };
    const Case cases[] = {
        {MessageKind::Error, "Error", MessageIcon::Error},
        {MessageKind::Information, "Information", MessageIcon::Information},
        {MessageKind::Confirmation, "Confirm", MessageIcon::Question},
        {MessageKind::Plain, "Install Screen Saver: Sea", MessageIcon::None},
    };
    for (const Case& c : cases) {
        const MessageBoxLook look =
            messageBoxLook({c.kind, MessageButtons::Ok, "x"}, "Install Screen Saver: Sea");
        EXPECT_EQ(look.caption, c.caption);
        EXPECT_EQ(look.icon, c.icon);
    }
}

TEST(MessageBoxLook, ButtonsCarryTheStandardIds) {
    struct Case {
        MessageButtons buttons;
        std::vector<std::pair<int, std::string>> expected;
        int escapeId;
    };
    const Case cases[] = {
        {MessageButtons::Abort, {{3, "&Abort"}}, 0},
        {MessageButtons::Ok, {{1, "OK"}}, 1},
        {MessageButtons::OkCancel, {{1, "OK"}, {2, "Cancel"}}, 2},
        {MessageButtons::YesNo, {{6, "&Yes"}, {7, "&No"}}, 0},
    };
    for (const Case& c : cases) {
        const MessageBoxLook look = messageBoxLook({MessageKind::Error, c.buttons, "x"}, "");
        std::vector<std::pair<int, std::string>> got;
        for (const MessageButton& b : look.buttons) got.emplace_back(b.id, b.caption);
        EXPECT_EQ(got, c.expected);
        EXPECT_EQ(look.escapeId, c.escapeId);
    }
}

}  // namespace
