#include "app/install_error.h"

#include "app/message_boxes.h"

std::string installErrorText(ResultCode code, const std::string& file) {
    const std::string prefix = "Installation Error: ";
    switch (code) {
        case 5:
            return prefix + file + "\r\n\r\n" +
                   "Insufficient user account privileges.\r\n\r\nThe current user account has "
                   "insufficient privileges to install screen savers. Please contact your system "
                   "administrator for help in performing this installation.";
        case kErrSaverInUse:
            return prefix +
                   "Screen saver cannot be replaced.\r\n\r\nPlease close the screen saver control "
                   "panel and try again. If the install fails again, you may have insufficient "
                   "privileges to install screen savers. Please contact your system administrator "
                   "for assistance.";
        case kErrWorkingCopy:
            return prefix + file + "\r\n\r\n" +
                   "Please retry installation. If this message appears again, the installation "
                   "cannot be completed because your user account has limited installation "
                   "privileges." +
                   " To complete this installation, login with administrative privileges and "
                   "rerun this installer.";
        default:
            return prefix + file + "\r\n\r\n" + "Problem with file " + file + ". ";
    }
}

void showInstallError(ResultCode code, const std::string& file) {
    showMessage({MessageKind::Error, MessageButtons::Abort, installErrorText(code, file)});
}
