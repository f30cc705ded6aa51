// What a launcher receives: the notices' exact bytes, the window they name, and the close
// message, through the real command line and window messages.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/e2e/launcher_record.h"
#include "tests/fixtures/ui_robot.h"

namespace {

using e2e::noticeLine;
using e2e::senderOf;
using e2e::tempFolder;
using e2e::withoutSender;

// Runs the notice sender under the launcher fixture and returns the launcher's record.
std::vector<std::string> launchAndRecord(const std::vector<std::string>& arguments) {
    const std::string record = tempFolder() + "notice record.txt";
    DeleteFileA(record.c_str());
    std::string command = robot::quoted(robot::windowsPathOf(NRV_LAUNCHER_FIXTURE));
    command += ' ';
    command += robot::quoted(record);
    command += ' ';
    command += robot::quoted(robot::windowsPathOf(NRV_NOTICE_SENDER));
    for (const std::string& argument : arguments) {
        command += ' ';
        command += robot::quoted(argument);
    }
    robot::Process launcher;
    EXPECT_TRUE(launcher.start(command));
    EXPECT_EQ(launcher.waitForExit(60000), 0u);
    std::vector<std::string> lines = e2e::readLines(record);
    DeleteFileA(record.c_str());
    return lines;
}

TEST(LauncherNotices, CarryTheExactBytesAndEndWithTheCloseMessage) {
    const std::vector<std::string> lines = launchAndRecord(
        {"read installer heard file", "quiet installer", "makeActiveSaver-sea.scr\\0"});
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(withoutSender(lines[0]), noticeLine("read installer heard file"));
    EXPECT_EQ(withoutSender(lines[1]), noticeLine("quiet installer"));
    // The notice's own NUL and the terminating one: cbData = 16 + 7 + 2.
    EXPECT_EQ(withoutSender(lines[2]), noticeLine(std::string("makeActiveSaver-sea.scr\0", 24)));
    EXPECT_NE(lines[0].find("cbData=26 "), std::string::npos);
    EXPECT_NE(lines[1].find("cbData=16 "), std::string::npos);
    EXPECT_NE(lines[2].find("cbData=25 "), std::string::npos);
    EXPECT_EQ(lines[3], "close msg=1281 wParam=0 lParam=0");
    EXPECT_EQ(lines[4], "exit 0");
}

TEST(LauncherNotices, NameTheMainWindowUntilTheFormTakesOver) {
    const std::vector<std::string> lines = launchAndRecord({"@sender", "@form", "@sender"});
    ASSERT_EQ(lines.size(), 4u);
    for (int i = 0; i < 2; ++i) {
        // The notice's text is the handle its sender believes it names.
        const std::string line = lines[static_cast<std::size_t>(i)];
        const std::string hex = line.substr(line.find("bytes=") + 6);
        std::string text;
        for (std::size_t at = 0; at + 1 < hex.size(); at += 2) {
            text += static_cast<char>(std::stoi(hex.substr(at, 2), nullptr, 16));
        }
        EXPECT_EQ(text, "sender=" + senderOf(line) + std::string(1, '\0'));
        EXPECT_NE(senderOf(line), "0");
    }
    EXPECT_NE(senderOf(lines[0]), senderOf(lines[1]));
    EXPECT_EQ(lines[2], "close msg=1281 wParam=0 lParam=0");
}

}  // namespace
