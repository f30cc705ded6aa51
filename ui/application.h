// The application object: the one message loop, the taskbar title, the termination request
// and the screen cursor shared by every window of the process.
#pragma once

#include <windows.h>

#include <string>

class Application {
  public:
    static Application& instance();

    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Registers the window classes and creates the taskbar window. Call once, first.
    bool initialize(HINSTANCE instance);
    HINSTANCE instanceHandle() const { return instance_; }

    // The taskbar text. Top-level windows are owned by a zero-sized window that carries it, so
    // the taskbar shows one button with this text whatever the windows' own captions are.
    void setTitle(const std::string& title);
    const std::string& title() const { return title_; }
    HWND handle() const { return handle_; }

    // The first top-level window created; closing other windows never ends the process.
    void setMainWindow(HWND window);
    HWND mainWindow() const { return mainWindow_; }

    void bringToFront();

    // Dispatches every message already queued, without waiting for more.
    void processMessages();
    // Waits for one message and dispatches it.
    void handleMessage();
    // Asks the message loop to end; run() returns once it sees the request.
    void terminate();
    bool terminated() const { return terminated_; }
    // The message loop. When terminate() ran before, only what is pending is handled.
    void run();

    // The cursor every window of the process shows; nullptr means each window's own.
    HCURSOR screenCursor() const { return screenCursor_; }
    void setScreenCursor(HCURSOR cursor);

  private:
    Application() = default;
    // false when the message was WM_QUIT.
    bool dispatch(MSG& message);

    HINSTANCE instance_ = nullptr;
    HWND handle_ = nullptr;
    HWND mainWindow_ = nullptr;
    std::string title_;
    bool terminated_ = false;
    HCURSOR screenCursor_ = nullptr;
};

// Shows the hourglass for the life of the object and then the cursor that was there before.
class HourglassCursor {
  public:
    HourglassCursor();
    ~HourglassCursor();
    HourglassCursor(const HourglassCursor&) = delete;
    HourglassCursor& operator=(const HourglassCursor&) = delete;

  private:
    HCURSOR previous_;
};
