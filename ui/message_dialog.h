// The installer's modal message boxes, drawn as real dialogs ("#32770") so that Enter, Escape
// and other programs' automation treat them like the system's own boxes. The system's
// MessageBox is not used: it has no box with Abort as the only button.
#pragma once

#include "app/message_boxes.h"

// Shows the box modally and returns the id of the button that closed it.
int presentMessageDialog(const MessageRequest& request);

// Makes presentMessageDialog the presenter of every showMessage call.
void installMessageDialogs();
