#include "ui/message_dialog.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "app/message_box_look.h"
#include "ui/application.h"

namespace {

constexpr WORD kIconId = 20;      // where the system's own boxes keep their icon
constexpr WORD kTextId = 0xFFFF;  // and their text
constexpr WORD kButtonAtom = 0x0080;
constexpr WORD kStaticAtom = 0x0082;

constexpr int kMargin = 12;
constexpr int kIconGap = 12;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;
constexpr int kButtonGap = 6;

// An in-memory dialog template (DLGTEMPLATE followed by its DLGITEMTEMPLATEs). Sizes and
// texts are set when the dialog initialises, in pixels, once the text has been measured.
class TemplateBuilder {
  public:
    void dialog(DWORD style, WORD itemCount, const wchar_t* fontName, WORD pointSize) {
        addDword(style);
        addDword(0);  // extended style
        add(itemCount);
        addSize();
        add(0);  // no menu
        add(0);  // the standard dialog class
        add(0);  // empty title
        add(pointSize);
        addText(fontName);
    }

    void item(DWORD style, WORD id, WORD classAtom) {
        alignToDword();
        addDword(style);
        addDword(0);  // extended style
        addSize();
        add(id);
        add(0xFFFF);
        add(classAtom);
        add(0);  // empty title
        add(0);  // no creation data
    }

    const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

  private:
    void add(WORD value) { words_.push_back(value); }
    void addDword(DWORD value) {
        add(LOWORD(value));
        add(HIWORD(value));
    }
    void addSize() {
        for (int i = 0; i < 4; ++i) add(0);  // x, y, cx, cy: set at WM_INITDIALOG
    }
    void addText(const wchar_t* text) {
        for (; *text; ++text) add(static_cast<WORD>(*text));
        add(0);
    }
    void alignToDword() {
        if (words_.size() % 2) add(0);
    }

    // Items must start on DWORD boundaries counted from the template's start; vector storage
    // is aligned at least that well.
    std::vector<WORD> words_;
};

struct DialogContext {
    MessageBoxLook look;
    const std::string* text;
};

LPCSTR systemIconOf(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Error:
            return IDI_HAND;
        case MessageIcon::Information:
            return IDI_ASTERISK;
        case MessageIcon::Question:
            return IDI_QUESTION;
        case MessageIcon::None:
            break;
    }
    return nullptr;
}

SIZE measureText(HWND dialog, const std::string& text, int maxWidth) {
    HDC dc = GetDC(dialog);
    HGDIOBJ previous =
        SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(dialog, WM_GETFONT, 0, 0)));
    RECT rect = {0, 0, maxWidth, 0};
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &rect,
              DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
    SelectObject(dc, previous);
    ReleaseDC(dialog, dc);
    return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

void layOut(HWND dialog, const DialogContext& context) {
    const MessageBoxLook& look = context.look;
    SetWindowTextA(dialog, look.caption.c_str());
    SetDlgItemTextA(dialog, kTextId, context.text->c_str());

    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const SIZE text = measureText(dialog, *context.text, std::max(200, screenWidth / 2));

    int iconWidth = 0;
    int iconHeight = 0;
    HWND iconControl = GetDlgItem(dialog, kIconId);
    if (LPCSTR iconName = systemIconOf(look.icon)) {
        SendMessageA(iconControl, STM_SETICON,
                     reinterpret_cast<WPARAM>(LoadIconA(nullptr, iconName)), 0);
        iconWidth = GetSystemMetrics(SM_CXICON);
        iconHeight = GetSystemMetrics(SM_CYICON);
    } else {
        ShowWindow(iconControl, SW_HIDE);
    }

    const int buttonCount = static_cast<int>(look.buttons.size());
    const int buttonsWidth = buttonCount * kButtonWidth + (buttonCount - 1) * kButtonGap;
    const int iconPart = iconWidth ? iconWidth + kIconGap : 0;
    const int clientWidth = std::max(kMargin + iconPart + static_cast<int>(text.cx) + kMargin,
                                     kMargin + buttonsWidth + kMargin);
    const int bodyHeight = std::max(iconHeight, static_cast<int>(text.cy));
    const int clientHeight = kMargin + bodyHeight + kMargin + kButtonHeight + kMargin;

    MoveWindow(iconControl, kMargin, kMargin, iconWidth, iconHeight, FALSE);
    // A text shorter than the icon sits at the icon's middle.
    const int textTop = kMargin + (bodyHeight - static_cast<int>(text.cy)) / 2;
    MoveWindow(GetDlgItem(dialog, kTextId), kMargin + iconPart, textTop, text.cx, text.cy, FALSE);

    int left = (clientWidth - buttonsWidth) / 2;
    const int buttonTop = kMargin + bodyHeight + kMargin;
    for (const MessageButton& button : look.buttons) {
        HWND control = GetDlgItem(dialog, button.id);
        SetWindowTextA(control, button.caption.c_str());
        MoveWindow(control, left, buttonTop, kButtonWidth, kButtonHeight, FALSE);
        left += kButtonWidth + kButtonGap;
    }

    RECT frame = {0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongA(dialog, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongA(dialog, GWL_EXSTYLE)));
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    // Centred on the primary screen's work area, wherever the owner is: the installer's own
    // windows may be far off the screen while a box is shown.
    RECT work = {0, 0, screenWidth, GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    SetWindowPos(dialog, nullptr, work.left + (work.right - work.left - width) / 2,
                 work.top + (work.bottom - work.top - height) / 2, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);

    if (!look.escapeId) {
        // As with the system's boxes: no close box where no button means "cancel".
        EnableMenuItem(GetSystemMenu(dialog, FALSE), SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
    }
    const MessageButton& first = look.buttons.front();
    SendMessageA(dialog, DM_SETDEFID, static_cast<WPARAM>(first.id), 0);
    SetFocus(GetDlgItem(dialog, first.id));
}

INT_PTR CALLBACK dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: {
            SetWindowLongPtrA(dialog, DWLP_USER, lParam);
            layOut(dialog, *reinterpret_cast<const DialogContext*>(lParam));
            SetForegroundWindow(dialog);
            return FALSE;  // the focus was set above
        }
        case WM_COMMAND: {
            const auto* context =
                reinterpret_cast<const DialogContext*>(GetWindowLongPtrA(dialog, DWLP_USER));
            if (!context) return FALSE;
            const int id = LOWORD(wParam);
            for (const MessageButton& button : context->look.buttons) {
                if (button.id == id) {
                    EndDialog(dialog, id);
                    return TRUE;
                }
            }
            // Escape and the close box arrive as IDCANCEL.
            if (id == IDCANCEL && context->look.escapeId) {
                EndDialog(dialog, context->look.escapeId);
            }
            return TRUE;
        }
    }
    return FALSE;
}

HWND ownerForBox() {
    if (HWND active = GetActiveWindow()) return active;
    return Application::instance().handle();
}

}  // namespace

int presentMessageDialog(const MessageRequest& request) {
    DialogContext context{messageBoxLook(request, Application::instance().title()), &request.text};

    TemplateBuilder builder;
    const WORD itemCount = static_cast<WORD>(2 + context.look.buttons.size());
    builder.dialog(DS_MODALFRAME | DS_SETFONT | DS_3DLOOK | WS_POPUP | WS_CAPTION | WS_SYSMENU,
                   itemCount, L"MS Shell Dlg", 8);
    builder.item(WS_CHILD | WS_VISIBLE | SS_ICON, kIconId, kStaticAtom);
    builder.item(WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, kTextId, kStaticAtom);
    bool first = true;
    for (const MessageButton& button : context.look.buttons) {
        builder.item(WS_CHILD | WS_VISIBLE | WS_TABSTOP |
                         (first ? BS_DEFPUSHBUTTON | WS_GROUP : BS_PUSHBUTTON),
                     static_cast<WORD>(button.id), kButtonAtom);
        first = false;
    }

    const INT_PTR result =
        DialogBoxIndirectParamA(Application::instance().instanceHandle(), builder.get(),
                                ownerForBox(), dialogProc, reinterpret_cast<LPARAM>(&context));
    // A box that cannot be shown answers as if its first button had been pressed.
    if (result <= 0) return context.look.buttons.front().id;
    return static_cast<int>(result);
}

void installMessageDialogs() {
    setMessagePresenter(presentMessageDialog);
}
