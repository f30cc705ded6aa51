// The message boxes as a user sees them: caption, icon, text, buttons, and what each way of
// closing them answers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/fixtures/ui_robot.h"

namespace {

constexpr int kIconId = 20;
constexpr int kTextId = 0xFFFF;

std::string demoCommand(const std::string& kind, const std::string& buttons,
                        const std::string& text) {
    std::string command = robot::quoted(robot::windowsPathOf(NRV_MESSAGE_BOX_DEMO));
    for (const std::string& argument : {kind, buttons, std::string("Install Screen Saver: Sea")}) {
        command += ' ';
        command += robot::quoted(argument);
    }
    command += ' ';
    command += robot::quoted(text);
    return command;
}

struct BoxCase {
    const char* kind;
    const char* buttons;
    const char* caption;
    bool hasIcon;  // which system icon is not visible from outside the process
    std::vector<std::pair<int, std::string>> expectedButtons;
};

const BoxCase kBoxes[] = {
    {"error", "abort", "Error", true, {{IDABORT, "&Abort"}}},
    {"error", "ok", "Error", true, {{IDOK, "OK"}}},
    {"information", "ok", "Information", true, {{IDOK, "OK"}}},
    {"confirmation", "yesno", "Confirm", true, {{IDYES, "&Yes"}, {IDNO, "&No"}}},
    {"confirmation", "okcancel", "Confirm", true, {{IDOK, "OK"}, {IDCANCEL, "Cancel"}}},
    {"plain", "ok", "Install Screen Saver: Sea", false, {{IDOK, "OK"}}},
};

TEST(MessageBoxAsShown, CaptionTextIconAndButtons) {
    for (const BoxCase& box : kBoxes) {
        SCOPED_TRACE(std::string(box.kind) + " " + box.buttons);
        robot::Process demo;
        ASSERT_TRUE(demo.start(demoCommand(box.kind, box.buttons, "First line\\n\\nSecond. ")));
        HWND dialog = robot::waitForMessageBox(box.caption, demo.id());
        ASSERT_NE(dialog, nullptr);

        EXPECT_EQ(robot::dialogItemText(dialog, kTextId), "First line\r\n\r\nSecond. ");
        std::vector<std::pair<int, std::string>> seen;
        bool firstIsDefault = false;
        for (const robot::ButtonInfo& button : robot::buttons(dialog)) {
            if (seen.empty()) firstIsDefault = button.isDefault;
            seen.emplace_back(button.id, button.caption);
        }
        EXPECT_EQ(seen, box.expectedButtons);
        EXPECT_TRUE(firstIsDefault);

        HWND icon = GetDlgItem(dialog, kIconId);
        EXPECT_EQ(icon != nullptr && IsWindowVisible(icon) != 0, box.hasIcon);
        if (box.hasIcon) {
            EXPECT_NE(SendMessageA(icon, STM_GETICON, 0, 0), 0);
        }

        // The box is on the primary screen, whatever the program's other windows do.
        const RECT where = robot::windowRect(dialog);
        EXPECT_GE(where.left, 0);
        EXPECT_GE(where.top, 0);
        EXPECT_LE(where.right, GetSystemMetrics(SM_CXSCREEN));
        EXPECT_LE(where.bottom, GetSystemMetrics(SM_CYSCREEN));

        const int last = box.expectedButtons.back().first;
        robot::pressButton(dialog, last);
        EXPECT_EQ(demo.waitForExit(), static_cast<DWORD>(last));
    }
}

TEST(MessageBoxAsShown, EnterPressesTheFirstButton) {
    robot::Process demo;
    ASSERT_TRUE(demo.start(demoCommand("confirmation", "yesno", "Overwrite?")));
    HWND dialog = robot::waitForMessageBox("Confirm", demo.id());
    ASSERT_NE(dialog, nullptr);
    robot::pressKey(dialog, VK_RETURN);
    EXPECT_EQ(demo.waitForExit(), static_cast<DWORD>(IDYES));
}

TEST(MessageBoxAsShown, EscapeAnswersOkOrCancelWhereTheBoxHasThem) {
    struct Case {
        const char* buttons;
        int expected;
    };
    for (const Case& c : {Case{"ok", IDOK}, Case{"okcancel", IDCANCEL}}) {
        SCOPED_TRACE(c.buttons);
        robot::Process demo;
        ASSERT_TRUE(demo.start(demoCommand("information", c.buttons, "Done.")));
        HWND dialog = robot::waitForMessageBox("Information", demo.id());
        ASSERT_NE(dialog, nullptr);
        robot::pressKey(dialog, VK_ESCAPE);
        EXPECT_EQ(demo.waitForExit(), static_cast<DWORD>(c.expected));
    }
}

TEST(MessageBoxAsShown, EscapeDoesNotAnswerALoneAbort) {
    robot::Process demo;
    ASSERT_TRUE(demo.start(demoCommand("error", "abort", "Broken.")));
    HWND dialog = robot::waitForMessageBox("Error", demo.id());
    ASSERT_NE(dialog, nullptr);
    robot::pressKey(dialog, VK_ESCAPE);
    // Keys are handled in order: once Enter has closed the box, Escape was seen and ignored.
    robot::pressKey(dialog, VK_RETURN);
    EXPECT_EQ(demo.waitForExit(), static_cast<DWORD>(IDABORT));
}

}  // namespace
