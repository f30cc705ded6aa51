// The preparation window: the small splash that covers the start-up work. It is the
// application's main window, created first and kept until the process ends. Hiding it always
// means moving it far off the screen; it is never made invisible.
#pragma once

#include <string>

#include "ui/controls.h"
#include "ui/window.h"

class TpreparingInstallWnd : public Window {
  public:
    static constexpr char kClassName[] = "TpreparingInstallWnd";
    static constexpr int kClientWidth = 264;
    static constexpr int kClientHeight = 91;
    static constexpr int kInitialLeft = -1560;
    static constexpr int kInitialTop = -3000;
    static constexpr int kOffScreen = -3000;

    // Creates the window visible, off the screen, with the label "Preparing Installation...".
    bool create();

    void setCaption(const std::string& caption) { setText(caption); }
    // Label1 shows the text, painted at once rather than when the message loop next runs.
    void setStatusText(const std::string& text);
    void moveOffScreen();
    // Centres on the primary screen, then handles pending messages so it paints there.
    void centerOnScreen();

    // What the close box does; the main window itself is never closed on its own.
    void setCloseHandler(void (*handler)()) { closeHandler_ = handler; }

  protected:
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    Label label1_;
    void (*closeHandler_)() = nullptr;
};

// The one preparation window of the run, or nullptr before it exists.
TpreparingInstallWnd* preparingInstallWnd();
void setPreparingInstallWnd(TpreparingInstallWnd* window);

// The running program's file name with extension, without its folder.
std::string executableFileName();
