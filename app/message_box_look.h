// What a message box looks like for its kind and buttons: caption, icon and the buttons with
// the standard dialog ids they return. Shared by the dialog that draws it and its tests.
#pragma once

#include <string>
#include <vector>

#include "app/message_boxes.h"

enum class MessageIcon { None, Error, Information, Question };

struct MessageButton {
    int id;               // kIdOk, kIdCancel, kIdAbort, kIdYes or kIdNo
    std::string caption;  // "&" marks the access key
};

struct MessageBoxLook {
    std::string caption;
    MessageIcon icon = MessageIcon::None;
    std::vector<MessageButton> buttons;  // left to right; the first is the default
    // What Escape and the close box answer; 0 when the box has no such answer and they do
    // nothing, as with a lone Abort or a Yes/No question.
    int escapeId = 0;
};

// applicationTitle is the caption of a plain box.
MessageBoxLook messageBoxLook(const MessageRequest& request, const std::string& applicationTitle);
