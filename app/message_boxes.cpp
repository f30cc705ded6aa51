#include "app/message_boxes.h"

namespace {
MessagePresenter currentPresenter = nullptr;

int firstButtonOf(MessageButtons buttons) {
    switch (buttons) {
        case MessageButtons::Abort:
            return kIdAbort;
        case MessageButtons::Ok:
        case MessageButtons::OkCancel:
            return kIdOk;
        case MessageButtons::YesNo:
            return kIdYes;
    }
    return kIdOk;
}
}  // namespace

int showMessage(const MessageRequest& request) {
    return currentPresenter ? currentPresenter(request) : firstButtonOf(request.buttons);
}

MessagePresenter setMessagePresenter(MessagePresenter presenter) {
    MessagePresenter previous = currentPresenter;
    currentPresenter = presenter;
    return previous;
}
