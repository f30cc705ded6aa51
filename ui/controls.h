// Thin wrappers over the system's child controls. The parent window destroys them with itself,
// so a wrapper only remembers its HWND.
#pragma once

#include <windows.h>

#include <string>

struct ControlBounds {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

class Control {
  public:
    HWND hwnd() const { return hwnd_; }
    std::string text() const;
    void setText(const std::string& text);
    void setBounds(const ControlBounds& bounds);
    void setVisible(bool visible);
    void setEnabled(bool enabled);
    // Paints now instead of when the message loop next runs.
    void repaint();

  protected:
    bool createChild(const char* systemClass, HWND parent, int id, const std::string& text,
                     DWORD style, const ControlBounds& bounds);

  private:
    HWND hwnd_ = nullptr;
};

// The GUI font every control of ours uses, as the system defines it.
HFONT defaultGuiFont();

struct LabelStyle {
    bool centred = false;  // horizontally and, for one line, vertically
    bool visible = true;
};

class Label : public Control {
  public:
    bool create(HWND parent, const std::string& text, const ControlBounds& bounds,
                const LabelStyle& style = {});
};

class Button : public Control {
  public:
    bool create(HWND parent, int id, const std::string& caption, const ControlBounds& bounds,
                bool isDefault = false);
};
