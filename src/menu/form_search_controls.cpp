// The search window's two controls: the box the user types into and the
// list of results the form paints.

#include <windows.h>
#include <windowsx.h>

#include <algorithm>

#include "menu/form_search.h"
#include "platform/Clipboard.h"
#include "platform/TextCodePage.h"

namespace rz {

void TSearchBox::CreateWnd(HWND parent) {
    CreateControl(parent, "EDIT", "", WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, true);
    Subclass();
    ::SendMessageW(Handle(), EM_LIMITTEXT, kMaxLetters, 0);
}

std::string TSearchBox::Text() const {
    if (!Handle()) return {};
    std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(Handle())) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(Handle(), text.data(), static_cast<int>(text.size()))));
    return FromUtf16(text);
}

void TSearchBox::SetText(const std::string& text) {
    if (!Handle()) return;
    settingText_ = true;
    ::SetWindowTextW(Handle(), ToUtf16(text).c_str());
    settingText_ = false;
    const int end = ::GetWindowTextLengthW(Handle());
    ::SendMessageW(Handle(), EM_SETSEL, end, end);
}

bool TSearchBox::OnCommand(WORD code) {
    if (code != EN_CHANGE) return false;
    if (!settingText_ && OnChange) OnChange(this);
    return true;
}

// A single line: the line breaks and other control characters of pasted
// text become blanks, one for each run of them.
void TSearchBox::PasteAsOneLine() {
    const std::wstring pasted = ClipboardText(Handle(), 4 * kMaxLetters);
    std::wstring line;
    bool blank = false;
    for (wchar_t c : pasted) {
        const bool control = c < 0x20 || c == 0x7F;
        if (control && !blank) line += L' ';
        if (!control) line += c;
        blank = control;
    }
    ::SendMessageW(Handle(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(line.c_str()));
}

bool TSearchBox::WindowMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    switch (msg) {
        case WM_GETDLGCODE: {
            // Without this the dialog keys of the message loop take Enter and Esc.
            const auto* key = reinterpret_cast<const MSG*>(lp);
            if (!key || key->message != WM_KEYDOWN || (key->wParam != VK_RETURN && key->wParam != VK_ESCAPE))
                return false;
            result = DefaultMessage(msg, wp, lp) | DLGC_WANTMESSAGE;
            return true;
        }
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            // Of the system keys only F10 (Shift+F10: the action menu) is asked about.
            unusedChar_ = 0;
            if ((msg != WM_KEYDOWN && wp != VK_F10) || !OnKey || !OnKey(static_cast<WORD>(wp))) return false;
            // The control character a used key would still type (Ctrl+C's copies).
            unusedChar_ = wp == 'C' ? 0x03 : wp == VK_BACK ? L'\b' : 0;
            result = 0;
            return true;
        case WM_CHAR:
            // Enter and Esc were used above; a tab or line break has no place
            // in a line. The edit keeps the rest (Ctrl+V, Ctrl+C come this way)
            // unless its key did something else.
            if (unusedChar_ && wp == unusedChar_) {
                unusedChar_ = 0;
                result = 0;
                return true;
            }
            if (wp != '\r' && wp != '\n' && wp != '\t' && wp != VK_ESCAPE) return false;
            result = 0;
            return true;
        case WM_CONTEXTMENU:
            // From the keyboard the action menu came with the key itself.
            if (lp != -1) return false;
            result = 0;
            return true;
        case WM_PASTE:
            PasteAsOneLine();
            result = 0;
            return true;
        case WM_MOUSEWHEEL:
            if (OnWheel) OnWheel(GET_WHEEL_DELTA_WPARAM(wp));
            result = 0;
            return true;
        default: return false;
    }
}

void TSearchList::CreateWnd(HWND parent) { CreateControl(parent, PaintedClass(), "", 0); }

int TSearchList::RowAt(LPARAM lp) const {
    const int y = GET_Y_LPARAM(lp);
    const int row = y >= 0 && RowHeight > 0 ? y / RowHeight : -1;
    return row >= 0 && row < Rows ? Top + row : -1;
}

void TSearchList::InvalidateRow(int row) {
    if (!Handle() || row < Top || row >= Top + Rows) return;
    const int y = (row - Top) * RowHeight;
    RECT r{0, y, Bounds().right - Bounds().left, y + RowHeight};
    ::InvalidateRect(Handle(), &r, FALSE);
}

bool TSearchList::WindowMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    result = 0;
    switch (msg) {
        case WM_PAINT: {
            PaintDC dc(Handle());
            RECT client{};
            ::GetClientRect(Handle(), &client);
            for (int i = 0; i < Rows; ++i) {
                RECT r{0, i * RowHeight, client.right, (i + 1) * RowHeight}, meet{};
                if (OnDrawRow && ::IntersectRect(&meet, &r, &dc.info().rcPaint)) OnDrawRow(dc.get(), Top + i, r);
            }
            const RECT rows{0, 0, client.right, Rows * RowHeight};
            const RECT note{0, rows.bottom, client.right, client.bottom};
            if (OnDrawRest) OnDrawRest(dc.get(), rows, note);
            return true;
        }
        case WM_ERASEBKGND: result = 1; return true;
        case WM_MOUSEMOVE:
            if (int row = RowAt(lp); row >= 0 && OnHoverRow) OnHoverRow(row);
            return true;
        case WM_LBUTTONUP:
            if (int row = RowAt(lp); row >= 0 && OnClickRow) OnClickRow(row);
            return true;
        case WM_RBUTTONUP:
            if (int row = RowAt(lp); row >= 0 && OnRightClickRow) {
                POINT at{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
                ::ClientToScreen(Handle(), &at);
                OnRightClickRow(row, at);
            }
            return true;
        case WM_CONTEXTMENU: return true;
        case WM_MOUSEWHEEL:
            if (OnWheel) OnWheel(GET_WHEEL_DELTA_WPARAM(wp));
            return true;
        default: return false;
    }
}

}  // namespace rz
