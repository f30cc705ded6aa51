// Notices to the launching program: WM_COPYDATA text notices to the window named by "/l=" on
// the command line, and the posted close message at the end of the run.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

// The close message a launcher receives, with wParam 0 and lParam 0.
constexpr UINT kLauncherCloseMessage = WM_USER + 257;  // 0x0501

// Forgets the launcher window, so the next notice reads the command line again.
void resetLauncherWindow();
// Reads the command line unless a launcher is known or was rejected; returns the handle (0:
// none).
std::uintptr_t findLauncherWindow();
// The window a notice names as its sender (wParam): the installer form once it exists; until
// then the application's main window.
void setNoticeSenderWindow(HWND window);
// Sends the text (with one NUL added) and waits until the launcher has handled it.
void notifyLauncher(const std::string& text);
// Posts the close message to the launcher known now; never reads the command line.
void postLauncherClose();
