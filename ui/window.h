// A window of our own class that owns its HWND. The window procedure finds the object through
// lpCreateParams at WM_NCCREATE and forwards every later message to handleMessage.
#pragma once

#include <windows.h>

#include <string>

struct WindowCreateArgs {
    const char* className = nullptr;  // registered by Window::registerClass
    std::string caption;
    DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
    DWORD exStyle = 0;
    int left = CW_USEDEFAULT;
    int top = CW_USEDEFAULT;
    int width = CW_USEDEFAULT;
    int height = CW_USEDEFAULT;
    HWND parent = nullptr;  // the owner, for a top-level window
};

class Window {
  public:
    Window() = default;
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // Registers a class whose windows are Window objects. Safe to call more than once.
    static bool registerClass(const char* className, HBRUSH background = nullptr);

    bool create(const WindowCreateArgs& args);
    void destroy();
    HWND hwnd() const { return hwnd_; }

    std::string text() const;
    void setText(const std::string& text);

    RECT bounds() const;  // window rectangle in screen coordinates
    void setPosition(int left, int top);
    // Sizes the window so that its client area is width x height for its current styles.
    void setClientSize(int width, int height);
    void repaint();

  protected:
    // Messages not handled here go to DefWindowProc.
    virtual LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT defaultHandling(UINT message, WPARAM wParam, LPARAM lParam);
    // After WM_NCDESTROY; the object lives on without a window.
    virtual void onDestroyed() {}

  private:
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;
};
