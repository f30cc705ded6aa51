// The installer stub run without a package: the working copy has no header, so the run shows
// the file's error and then the start-up's closing message, and ends cleanly.
#include <shlobj.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <string>
#include <vector>

#include "tests/e2e/launcher_record.h"
#include "tests/fixtures/ui_robot.h"

namespace {

using e2e::readLines;
using e2e::tempFolder;

constexpr int kTextId = 0xFFFF;
constexpr char kStubCopyName[] = "slice setup.exe";

std::string localAppData() {
    char path[MAX_PATH] = {};
    SHGetSpecialFolderPathA(nullptr, path, CSIDL_LOCAL_APPDATA, FALSE);
    return path;
}

std::set<std::string> workFolders() {
    std::set<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((localAppData() + "\\Norvale\\NRX*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        names.insert(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

bool regexEscapeNeeded(char c) {
    return std::string("\\^$.|?*+()[]{}").find(c) != std::string::npos;
}

std::string regexLiteral(const std::string& text) {
    std::string result;
    for (char c : text) {
        if (regexEscapeNeeded(c)) result += '\\';
        result += c;
    }
    return result;
}

// The preparation window of the process, checked to be off the screen.
void expectPreparationWindowOffScreen(DWORD processId) {
    robot::WindowQuery query;
    query.className = "TpreparingInstallWnd";
    query.processId = processId;
    HWND window = robot::findWindow(query);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(robot::windowText(window), kStubCopyName);
    // The entry's text, not the creation-time "Preparing Installation...".
    EXPECT_EQ(robot::dialogItemText(window, 0xFFFF), "Preparing installation...");
    const RECT where = robot::windowRect(window);
    const bool initialPlace = where.left == -1560 && where.top == -3000;
    const bool movedAway = where.left == -3000 && where.top == -3000;
    EXPECT_TRUE(initialPlace || movedAway) << where.left << "," << where.top;
    const RECT client = robot::clientRect(window);
    EXPECT_EQ(client.right, 264);
    EXPECT_EQ(client.bottom, 91);
}

TEST(StartupWithoutPackage, ShowsBothErrorsAndEndsCleanly) {
    const std::string stub = tempFolder() + kStubCopyName;
    ASSERT_TRUE(CopyFileA(robot::windowsPathOf(NRV_INSTALLER_STUB).c_str(), stub.c_str(), FALSE));
    const std::string record = tempFolder() + "slice launcher record.txt";
    DeleteFileA(record.c_str());
    const std::set<std::string> foldersBefore = workFolders();

    robot::Process launcher;
    std::string command = robot::quoted(robot::windowsPathOf(NRV_LAUNCHER_FIXTURE));
    command += ' ';
    command += robot::quoted(record);
    command += ' ';
    command += robot::quoted(stub);
    ASSERT_TRUE(launcher.start(command));

    // First the failing file, with the working copy's path.
    HWND fileError = robot::waitForMessageBox("Error");
    ASSERT_NE(fileError, nullptr);
    DWORD installer = 0;
    GetWindowThreadProcessId(fileError, &installer);
    const std::string text = robot::dialogItemText(fileError, kTextId);
    // The work folder is captured once and must be the same in both places.
    const std::regex expected("Installation Error: (" + regexLiteral(localAppData()) +
                              "\\\\Norvale\\\\NRX[0-9]+\\\\)temp\\.dat\r\n\r\n"
                              "Problem with file \\1temp\\.dat\\. ");
    std::smatch match;
    ASSERT_TRUE(std::regex_match(text, match, expected)) << text;
    const std::string workDir = match[1];
    std::vector<std::pair<int, std::string>> seen;
    for (const robot::ButtonInfo& b : robot::buttons(fileError)) seen.emplace_back(b.id, b.caption);
    EXPECT_EQ(seen, (std::vector<std::pair<int, std::string>>{{IDABORT, "&Abort"}}));
    expectPreparationWindowOffScreen(installer);
    robot::pressButton(fileError, IDABORT);
    ASSERT_TRUE(robot::waitForWindowGone(fileError));

    // Then the start-up's own message for the same code.
    HWND closing = robot::waitForMessageBox("Error", installer, fileError);
    ASSERT_NE(closing, nullptr);
    EXPECT_EQ(robot::dialogItemText(closing, kTextId),
              "Installer file is corrupted. Norvale Error: -31. ");
    expectPreparationWindowOffScreen(installer);
    robot::pressButton(closing, IDABORT);

    EXPECT_EQ(launcher.waitForExit(60000), 0u);
    // No notice and no close message: the run ended before the header was read.
    EXPECT_EQ(readLines(record), std::vector<std::string>{"exit 0"});
    EXPECT_EQ(GetFileAttributesA(workDir.c_str()), INVALID_FILE_ATTRIBUTES) << workDir;
    EXPECT_EQ(workFolders(), foldersBefore);
    DeleteFileA(stub.c_str());
    DeleteFileA(record.c_str());
}

}  // namespace
