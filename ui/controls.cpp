#include "ui/controls.h"

#include <vector>

#include "ui/application.h"

HFONT defaultGuiFont() {
    return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

std::string Control::text() const {
    if (!hwnd_) return {};
    const int length = GetWindowTextLengthA(hwnd_);
    std::vector<char> buffer(static_cast<size_t>(length) + 1);
    const int got = GetWindowTextA(hwnd_, buffer.data(), length + 1);
    return std::string(buffer.data(), got > 0 ? static_cast<size_t>(got) : 0);
}

void Control::setText(const std::string& text) {
    if (hwnd_) SetWindowTextA(hwnd_, text.c_str());
}

void Control::setBounds(const ControlBounds& bounds) {
    if (hwnd_) MoveWindow(hwnd_, bounds.left, bounds.top, bounds.width, bounds.height, TRUE);
}

void Control::setVisible(bool visible) {
    if (hwnd_) ShowWindow(hwnd_, visible ? SW_SHOW : SW_HIDE);
}

void Control::setEnabled(bool enabled) {
    if (hwnd_) EnableWindow(hwnd_, enabled);
}

void Control::repaint() {
    if (!hwnd_) return;
    InvalidateRect(hwnd_, nullptr, TRUE);
    UpdateWindow(hwnd_);
}

bool Control::createChild(const char* systemClass, HWND parent, int id, const std::string& text,
                          DWORD style, const ControlBounds& bounds) {
    hwnd_ = CreateWindowExA(0, systemClass, text.c_str(), WS_CHILD | style, bounds.left, bounds.top,
                            bounds.width, bounds.height, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                            Application::instance().instanceHandle(), nullptr);
    if (hwnd_) SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(defaultGuiFont()), FALSE);
    return hwnd_ != nullptr;
}

bool Label::create(HWND parent, const std::string& text, const ControlBounds& bounds,
                   const LabelStyle& style) {
    DWORD flags = SS_NOPREFIX;
    // SS_CENTERIMAGE centres a single line of text vertically as well.
    if (style.centred) flags |= SS_CENTER | SS_CENTERIMAGE;
    if (style.visible) flags |= WS_VISIBLE;
    return createChild("STATIC", parent, 0xFFFF, text, flags, bounds);
}

bool Button::create(HWND parent, int id, const std::string& caption, const ControlBounds& bounds,
                    bool isDefault) {
    const DWORD flags = WS_VISIBLE | WS_TABSTOP | (isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
    return createChild("BUTTON", parent, id, caption, flags, bounds);
}
