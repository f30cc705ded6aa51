// The one error box for a failing file during extraction and installation.
#pragma once

#include <string>

#include "app/result_codes.h"

// The box's text for a code and the file (path, folder, or the code in decimal) concerned.
std::string installErrorText(ResultCode code, const std::string& file);

// Shows installErrorText as an error box with the single button Abort.
void showInstallError(ResultCode code, const std::string& file);
