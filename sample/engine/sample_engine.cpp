// The sample screen saver engine: a black screen that ends at the first input. It answers the
// switches Windows passes to a screen saver ("/s" show, "/c" configure, "/p HWND" preview) and
// "/u", which the uninstall entry passes.
#include <windows.h>

#include <cstdint>
#include <cstdlib>

namespace {

const char kClassName[] = "SampleStarfieldWindow";
const char kTitle[] = "Sample Starfield";

POINT gFirstCursor{};
bool gHaveCursor = false;
bool gPreview = false;

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            if (!gPreview) DestroyWindow(window);
            return 0;
        case WM_MOUSEMOVE: {
            if (gPreview) return 0;
            const POINT now{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            if (!gHaveCursor) {
                gFirstCursor = now;
                gHaveCursor = true;
            } else if (std::abs(now.x - gFirstCursor.x) > 4 ||
                       std::abs(now.y - gFirstCursor.y) > 4) {
                // A few pixels of jitter are not the user coming back.
                DestroyWindow(window);
            }
            return 0;
        }
        case WM_SETCURSOR:
            if (!gPreview) {
                SetCursor(nullptr);
                return TRUE;
            }
            break;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

bool registerClass(HINSTANCE instance) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = kClassName;
    return RegisterClassA(&windowClass) != 0;
}

int runMessageLoop() {
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}

int showFullScreen(HINSTANCE instance) {
    if (!registerClass(instance)) return 1;
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    HWND window = CreateWindowExA(WS_EX_TOPMOST, kClassName, kTitle, WS_POPUP | WS_VISIBLE, 0, 0,
                                  width, height, nullptr, nullptr, instance, nullptr);
    if (window == nullptr) return 1;
    return runMessageLoop();
}

int showPreview(HINSTANCE instance, HWND parent) {
    if (!IsWindow(parent) || !registerClass(instance)) return 1;
    gPreview = true;
    RECT area{};
    GetClientRect(parent, &area);
    HWND window = CreateWindowExA(0, kClassName, kTitle, WS_CHILD | WS_VISIBLE, 0, 0, area.right,
                                  area.bottom, parent, nullptr, instance, nullptr);
    if (window == nullptr) return 1;
    return runMessageLoop();
}

// The window handle after "/p" comes as " 1234" or ":1234", in decimal.
HWND handleAfter(const char* text) {
    while (*text == ' ' || *text == ':') ++text;
    return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(std::strtoull(text, nullptr, 10)));
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    const char* arguments = commandLine;
    while (*arguments == ' ') ++arguments;
    if (*arguments == '/' || *arguments == '-') {
        const char option = static_cast<char>(*(arguments + 1) | 0x20);  // either letter case
        if (option == 's') return showFullScreen(instance);
        if (option == 'p') return showPreview(instance, handleAfter(arguments + 2));
        if (option == 'u') return 0;  // nothing of the engine's own to remove
    }
    // "/c", or no switch at all: the settings dialog, which this sample does not have.
    MessageBoxA(nullptr, "This sample screen saver has no settings.", kTitle,
                MB_OK | MB_ICONINFORMATION);
    return 0;
}
