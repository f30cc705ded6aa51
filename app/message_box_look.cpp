#include "app/message_box_look.h"

MessageBoxLook messageBoxLook(const MessageRequest& request, const std::string& applicationTitle) {
    MessageBoxLook look;
    switch (request.kind) {
        case MessageKind::Plain:
            look.caption = applicationTitle;
            look.icon = MessageIcon::None;
            break;
        case MessageKind::Error:
            look.caption = "Error";
            look.icon = MessageIcon::Error;
            break;
        case MessageKind::Information:
            look.caption = "Information";
            look.icon = MessageIcon::Information;
            break;
        case MessageKind::Confirmation:
            look.caption = "Confirm";
            look.icon = MessageIcon::Question;
            break;
    }
    switch (request.buttons) {
        case MessageButtons::Abort:
            look.buttons = {{kIdAbort, "&Abort"}};
            break;
        case MessageButtons::Ok:
            look.buttons = {{kIdOk, "OK"}};
            look.escapeId = kIdOk;
            break;
        case MessageButtons::OkCancel:
            look.buttons = {{kIdOk, "OK"}, {kIdCancel, "Cancel"}};
            look.escapeId = kIdCancel;
            break;
        case MessageButtons::YesNo:
            look.buttons = {{kIdYes, "&Yes"}, {kIdNo, "&No"}};
            break;
    }
    return look;
}
