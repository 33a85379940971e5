#include "platform/HotKeyEdit.h"

namespace rz {

namespace {

bool Held(int key) { return ::GetKeyState(key) < 0; }

TShortCut HeldModifiers() {
    return static_cast<TShortCut>((Held(VK_SHIFT) ? kShiftBit : 0) | (Held(VK_CONTROL) ? kCtrlBit : 0) |
                                  (Held(VK_MENU) ? kAltBit : 0));
}

bool IsModifier(WORD key) {
    switch (key) {
        case VK_SHIFT:
        case VK_CONTROL:
        case VK_MENU:
        case VK_LSHIFT:
        case VK_RSHIFT:
        case VK_LCONTROL:
        case VK_RCONTROL:
        case VK_LMENU:
        case VK_RMENU:
        case VK_LWIN:
        case VK_RWIN: return true;
        default: return false;
    }
}

}  // namespace

const char* ShortCutRefusal(TShortCut shortCut) {
    const BYTE key = static_cast<BYTE>(shortCut & 0xFF);
    if (key == 0 || IsModifier(key)) return "A hotkey needs a key besides Shift, Ctrl and Alt";
    const bool function = key >= VK_F1 && key <= VK_F24;
    if (!(shortCut & (kCtrlBit | kAltBit)) && !function)
        return "Without Ctrl or Alt only F1 to F24 can be a hotkey: other programs need the key";
    return nullptr;
}

void THotKeyEdit::CreateWnd(HWND parent) {
    TEdit::CreateWnd(parent);
    Subclass();
    ShowValue();
}

void THotKeyEdit::SetValue(TShortCut value) {
    value_ = value;
    ShowValue();
}

void THotKeyEdit::ShowValue(const std::string& pending) {
    if (!Handle()) return;
    SetText(!pending.empty() ? pending : value_ ? ShortCutToText(value_) : std::string("None"));
    SetSelStart(static_cast<int>(Text().size()));
}

void THotKeyEdit::KeyDown(WORD key) {
    const TShortCut mods = HeldModifiers();
    if (IsModifier(key)) {
        // Shown while held; never taken on its own.
        std::string held;
        if (mods & kShiftBit) held += "Shift+";
        if (mods & kCtrlBit) held += "Ctrl+";
        if (mods & kAltBit) held += "Alt+";
        ShowValue(held);
        return;
    }
    if (!mods && (key == VK_BACK || key == VK_DELETE)) {
        SetValue(0);
        if (OnChange) OnChange(this);
        return;
    }
    const auto pressed = static_cast<TShortCut>(mods | key);
    if (const char* refusal = ShortCutRefusal(pressed)) {
        ShowValue();
        if (OnRefused) OnRefused(ShortCutToText(pressed) + ": " + refusal);
        return;
    }
    SetValue(pressed);
    if (OnChange) OnChange(this);
}

bool THotKeyEdit::WindowMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    switch (msg) {
        case WM_GETDLGCODE: {
            // Tab, Enter and Esc alone navigate, confirm and cancel as anywhere in the dialog.
            const auto* key = reinterpret_cast<const MSG*>(lp);
            const bool dialogs = key && key->message == WM_KEYDOWN && !HeldModifiers() &&
                                 (key->wParam == VK_TAB || key->wParam == VK_RETURN || key->wParam == VK_ESCAPE);
            result = dialogs ? DLGC_HASSETSEL : DLGC_WANTALLKEYS | DLGC_HASSETSEL;
            return true;
        }
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            KeyDown(static_cast<WORD>(wp));
            result = 0;
            return true;
        case WM_KEYUP:
        case WM_SYSKEYUP:
            // A modifier let go without a key: the field shows its value again.
            if (IsModifier(static_cast<WORD>(wp))) ShowValue();
            result = 0;
            return true;
        case WM_CHAR:
        case WM_SYSCHAR:
        case WM_PASTE:
        case WM_CUT:
        case WM_CLEAR:
        case WM_CONTEXTMENU:
            result = 0;
            return true;
        default: return false;
    }
}

}  // namespace rz
