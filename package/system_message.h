// The operating system's message text for an error number, as boxes append it.
#pragma once

#include <string>

#include "app/result_codes.h"

// FormatMessageA's text without its trailing line break; "" when the system has none.
std::string systemMessageText(ResultCode code);
