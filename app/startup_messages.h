// The message that ends a failed start-up: the box chosen by the start-up's final code.
#pragma once

#include "app/message_boxes.h"
#include "app/result_codes.h"

// Where the Flash Player can be downloaded; named in the messages that ask for it.
inline constexpr char kFlashPlayerDownloadUrl[] = "http://www.adobe.com/go/getflashplayer";

// The box for a nonzero final start-up code: kind, buttons and text.
MessageRequest startupErrorMessage(ResultCode code);

// Shows startupErrorMessage(code).
void showStartupError(ResultCode code);
