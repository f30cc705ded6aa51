#include "app/startup_messages.h"

#include <string>

MessageRequest startupErrorMessage(ResultCode code) {
    const std::string url = kFlashPlayerDownloadUrl;
    switch (code) {
        case kErrFlashInstallerIncompatible:
            return {MessageKind::Error, MessageButtons::Abort,
                    "This screen saver is not compatible with Windows NT."};
        case kErrFlashUpdateFailed:
            return {MessageKind::Error, MessageButtons::Ok,
                    "Adobe Flash Player Installation Failed.\r\n\r\n"
                    "This screen saver requires the Adobe Flash Player. Please download and "
                    "install the latest Adobe Flash Player for Internet Explorer from " +
                        url + " then retry this installation."};
        case kErrFlashPlayerNeeded:
            return {MessageKind::Information, MessageButtons::Ok,
                    "This screen saver requires the latest Adobe Flash Player for Internet "
                    "Explorer.\r\n\r\nPlease download the free player from " +
                        url + " and retry this installation."};
        default:
            return {MessageKind::Error, MessageButtons::Abort,
                    "Installer file is corrupted. " + std::string("Norvale Error: ") +
                        std::to_string(code) + ". "};
    }
}

void showStartupError(ResultCode code) {
    showMessage(startupErrorMessage(code));
}
