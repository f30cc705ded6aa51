#include "app/startup_messages.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct StartupCase {
    ResultCode code;
    MessageKind kind;
    MessageButtons buttons;
    std::string text;
};

const StartupCase kCases[] = {
    {-455, MessageKind::Error, MessageButtons::Abort,
     "This screen saver is not compatible with Windows NT."},
    {-416, MessageKind::Error, MessageButtons::Ok,
     "Adobe Flash Player Installation Failed.\r\n\r\nThis screen saver requires the Adobe Flash "
     "Player. Please download and install the latest Adobe Flash Player for Internet Explorer "
     "from http://www.adobe.com/go/getflashplayer then retry this installation."},
    {-402, MessageKind::Information, MessageButtons::Ok,
     "This screen saver requires the latest Adobe Flash Player for Internet Explorer.\r\n\r\n"
     "Please download the free player from http://www.adobe.com/go/getflashplayer and retry "
     "this installation."},
    // Every other code, positive Windows and file I/O numbers included, is "corrupted".
    {-31, MessageKind::Error, MessageButtons::Abort,
     "Installer file is corrupted. Norvale Error: -31. "},
    {5, MessageKind::Error, MessageButtons::Abort,
     "Installer file is corrupted. Norvale Error: 5. "},
    {100, MessageKind::Error, MessageButtons::Abort,
     "Installer file is corrupted. Norvale Error: 100. "},
    {-523, MessageKind::Error, MessageButtons::Abort,
     "Installer file is corrupted. Norvale Error: -523. "},
    {-401, MessageKind::Error, MessageButtons::Abort,
     "Installer file is corrupted. Norvale Error: -401. "},
    {-2147483647 - 1, MessageKind::Error, MessageButtons::Abort,
     "Installer file is corrupted. Norvale Error: -2147483648. "},
};

TEST(StartupErrorMessage, EveryCodeGetsItsBox) {
    for (const StartupCase& c : kCases) {
        SCOPED_TRACE(c.code);
        const MessageRequest request = startupErrorMessage(c.code);
        EXPECT_EQ(request.kind, c.kind);
        EXPECT_EQ(request.buttons, c.buttons);
        EXPECT_EQ(request.text, c.text);
    }
}

MessageRequest lastShown;
int recordingPresenter(const MessageRequest& request) {
    lastShown = request;
    return kIdAbort;
}

TEST(StartupErrorMessage, IsShownThroughThePresenter) {
    const MessagePresenter previous = setMessagePresenter(recordingPresenter);
    showStartupError(-31);
    setMessagePresenter(previous);
    EXPECT_EQ(lastShown.text, "Installer file is corrupted. Norvale Error: -31. ");
    EXPECT_EQ(lastShown.kind, MessageKind::Error);
}

}  // namespace
