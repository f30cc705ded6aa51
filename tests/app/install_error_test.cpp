#include "app/install_error.h"
#include "app/message_boxes.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::string kPrivileges =
    "Insufficient user account privileges.\r\n\r\nThe current user account has insufficient "
    "privileges to install screen savers. Please contact your system administrator for help in "
    "performing this installation.";

const std::string kSaverInUse =
    "Installation Error: Screen saver cannot be replaced.\r\n\r\nPlease close the screen saver "
    "control panel and try again. If the install fails again, you may have insufficient "
    "privileges to install screen savers. Please contact your system administrator for "
    "assistance.";

struct InstallErrorCase {
    ResultCode code;
    std::string file;
    std::string text;
};

const InstallErrorCase kCases[] = {
    // From the completion screen the "file" is the code itself.
    {5, "5", "Installation Error: 5\r\n\r\n" + kPrivileges},
    {5, "C:\\x\\a.scr", "Installation Error: C:\\x\\a.scr\r\n\r\n" + kPrivileges},
    // The file name plays no part in the in-use text.
    {-38, "-38", kSaverInUse},
    {-38, "C:\\windows\\system32\\a.scr", kSaverInUse},
    {-523, "C:\\w\\temp.dat",
     "Installation Error: C:\\w\\temp.dat\r\n\r\nPlease retry installation. If this message "
     "appears again, the installation cannot be completed because your user account has "
     "limited installation privileges. To complete this installation, login with "
     "administrative privileges and rerun this installer."},
    {32, "C:\\w\\a.dat",
     "Installation Error: C:\\w\\a.dat\r\n\r\nProblem with file C:\\w\\a.dat. "},
    {-31, "C:\\w\\NRX1\\temp.dat",
     "Installation Error: C:\\w\\NRX1\\temp.dat\r\n\r\nProblem with file "
     "C:\\w\\NRX1\\temp.dat. "},
    {100, "", "Installation Error: \r\n\r\nProblem with file . "},
};

TEST(InstallErrorText, EveryCodeGetsItsText) {
    for (const InstallErrorCase& c : kCases) {
        SCOPED_TRACE(c.code);
        EXPECT_EQ(installErrorText(c.code, c.file), c.text);
    }
}

MessageRequest lastShown;
int recordingPresenter(const MessageRequest& request) {
    lastShown = request;
    return kIdAbort;
}

TEST(InstallErrorText, IsShownAsAnErrorBoxWithAbort) {
    const MessagePresenter previous = setMessagePresenter(recordingPresenter);
    showInstallError(32, "a.dat");
    setMessagePresenter(previous);
    EXPECT_EQ(lastShown.kind, MessageKind::Error);
    EXPECT_EQ(lastShown.buttons, MessageButtons::Abort);
    EXPECT_EQ(lastShown.text, "Installation Error: a.dat\r\n\r\nProblem with file a.dat. ");
}

}  // namespace
