// The stub with a package, started quietly: it reads its header, tells the launcher, and ends
// without showing a window or a box, removing its work folder.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/e2e/launcher_record.h"
#include "tests/fixtures/ui_robot.h"
#include "tool/package_builder.h"

namespace {

using e2e::noticeLine;
using e2e::tempFolder;

std::vector<std::uint8_t> fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Packs the stub with the implode library, the one slot every start-up extracts.
std::string writeInstaller(std::uint8_t installMode, std::uint8_t offerControlPanel,
                           const std::string& saverName = "Quiet Sea") {
    Manifest manifest;
    manifest.installMode = installMode;
    manifest.offerControlPanel = offerControlPanel;
    manifest.saverName = saverName;
    manifest.slots[kSlotImplodeLibrary] =
        SlotInput{"impborl.dat", 4, fileBytes(NRV_IMPBORL_DLL), {}};
    BuildOptions options;
    options.checkPackage = false;  // slots a quiet start-up does not reach stay empty
    std::vector<std::uint8_t> installer;
    std::string error;
    EXPECT_TRUE(buildInstaller(manifest, fileBytes(NRV_INSTALLER_STUB), installer, error, options))
        << error;
    const std::string path = tempFolder() + "quiet sea setup.exe";
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(installer.data()),
               static_cast<std::streamsize>(installer.size()));
    return path;
}

std::vector<std::string> launchAndRecord(const std::string& installer,
                                         const std::vector<std::string>& arguments) {
    const std::string record = tempFolder() + "quiet launcher record.txt";
    DeleteFileA(record.c_str());
    std::string command = robot::quoted(robot::windowsPathOf(NRV_LAUNCHER_FIXTURE)) + ' ' +
                          robot::quoted(record) + ' ' + robot::quoted(installer);
    for (const std::string& argument : arguments) command += ' ' + argument;
    robot::Process launcher;
    EXPECT_TRUE(launcher.start(command));
    // No box may appear: a quiet start-up that succeeds asks nothing.
    EXPECT_EQ(launcher.waitForExit(60000), 0u);
    std::vector<std::string> lines = e2e::readLines(record);
    for (std::string& line : lines) line = e2e::withoutSender(line);
    DeleteFileA(record.c_str());
    return lines;
}

TEST(QuietStartup, EveryQuietSwitchIsReportedAndTheRunEndsCleanly) {
    struct Case {
        const char* what;
        std::uint8_t installMode;
        std::uint8_t offerControlPanel;
        std::vector<std::string> arguments;
        std::vector<std::string> expected;
    };
    const std::string readHeader = noticeLine("read installer heard file");
    const std::string quiet = noticeLine("quiet installer");
    const std::string openPanel = noticeLine("openScreenSaverControlPanel");
    const std::string closed = "close msg=1281 wParam=0 lParam=0";
    const Case cases[] = {
        {"/q twice, in both cases",
         1,
         0,
         {"/q", "/Q"},
         {readHeader, quiet, quiet, closed, "exit 0"}},
        {"quiet from the header", 4, 0, {}, {readHeader, closed, "exit 0"}},
        {"a longer switch is not /q", 4, 0, {"/quiet"}, {readHeader, closed, "exit 0"}},
        // The control panel is the launcher's to open only when the package itself asked for
        // quiet mode; "/q" means the launcher decides on its own.
        {"quiet from the header, panel offered",
         4,
         1,
         {},
         {readHeader, openPanel, closed, "exit 0"}},
        {"/q with the panel offered", 1, 1, {"/q"}, {readHeader, quiet, closed, "exit 0"}},
        {"/q and quiet from the header, panel offered",
         4,
         1,
         {"/q"},
         {readHeader, quiet, closed, "exit 0"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string installer = writeInstaller(c.installMode, c.offerControlPanel);
        EXPECT_EQ(launchAndRecord(installer, c.arguments), c.expected);
        DeleteFileA(installer.c_str());
    }
}

// Without "/q" the preparation window comes on screen once the header has been read, and stays
// there through a failure that follows: centred on the primary screen, with the entry's text.
TEST(ShownStartup, AFailureAfterTheHeaderIsShownOverTheCentredPreparationWindow) {
    // A saver name that would leave the vendor folder ends the start-up right after the header.
    const std::string installer = writeInstaller(1, 1, "..");
    const std::string record = tempFolder() + "shown launcher record.txt";
    DeleteFileA(record.c_str());
    robot::Process launcher;
    ASSERT_TRUE(launcher.start(robot::quoted(robot::windowsPathOf(NRV_LAUNCHER_FIXTURE)) + ' ' +
                               robot::quoted(record) + ' ' + robot::quoted(installer)));

    HWND box = robot::waitForMessageBox("Error");
    ASSERT_NE(box, nullptr);
    DWORD process = 0;
    GetWindowThreadProcessId(box, &process);
    robot::WindowQuery preparingQuery;
    preparingQuery.className = "TpreparingInstallWnd";
    preparingQuery.processId = process;
    HWND preparing = robot::findWindow(preparingQuery);
    ASSERT_NE(preparing, nullptr);
    EXPECT_EQ(robot::dialogItemText(preparing, 0xFFFF), "Preparing installation...");
    const RECT where = robot::windowRect(preparing);
    const int width = where.right - where.left;
    const int height = where.bottom - where.top;
    EXPECT_EQ(where.left, (GetSystemMetrics(SM_CXSCREEN) - width) / 2);
    EXPECT_EQ(where.top, (GetSystemMetrics(SM_CYSCREEN) - height) / 2);
    const RECT client = robot::clientRect(preparing);
    EXPECT_EQ(client.right, 264);
    EXPECT_EQ(client.bottom, 91);

    // The name's own box, then the start-up's message for the same code.
    robot::pressButton(box, IDABORT);
    ASSERT_TRUE(robot::waitForWindowGone(box));
    HWND closing = robot::waitForMessageBox("Error", process, box);
    ASSERT_NE(closing, nullptr);
    EXPECT_EQ(robot::dialogItemText(closing, 0xFFFF),
              "Installer file is corrupted. Norvale Error: -533. ");
    robot::pressButton(closing, IDABORT);

    EXPECT_EQ(launcher.waitForExit(60000), 0u);
    std::vector<std::string> lines = e2e::readLines(record);
    for (std::string& line : lines) line = e2e::withoutSender(line);
    // A failed start-up that is not quiet leaves the control panel alone.
    EXPECT_EQ(lines, (std::vector<std::string>{noticeLine("read installer heard file"),
                                               "close msg=1281 wParam=0 lParam=0", "exit 0"}));
    DeleteFileA(record.c_str());
    DeleteFileA(installer.c_str());
}

}  // namespace
