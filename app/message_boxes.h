// Modal message boxes. Every box of the installer goes through showMessage, so that the
// Windows program shows real dialogs while tests can put a recorder in their place.
#pragma once

#include <string>

enum class MessageKind { Plain, Error, Information, Confirmation };
enum class MessageButtons { Abort, Ok, OkCancel, YesNo };

struct MessageRequest {
    MessageKind kind;
    MessageButtons buttons;
    std::string text;
};

// The standard dialog control ids, which are also what a box returns.
constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;
constexpr int kIdAbort = 3;
constexpr int kIdYes = 6;
constexpr int kIdNo = 7;

// Shows one box and returns the id of the button that closed it. With no presenter installed
// (a native build, or a test that wants silence) nothing is shown and the first button's id
// comes back.
using MessagePresenter = int (*)(const MessageRequest&);
int showMessage(const MessageRequest& request);
MessagePresenter setMessagePresenter(MessagePresenter presenter);  // returns the previous one
