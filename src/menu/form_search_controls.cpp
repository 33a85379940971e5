// The search window's two controls: the box the user types into and the
// list of results the form paints.

#include <windows.h>
#include <windowsx.h>

#include <algorithm>

#include "menu/form_search.h"
#include "platform/TextCodePage.h"

namespace rz {

namespace {

// The clipboard is open for as long as one of these lives.
class OpenedClipboard {
public:
    explicit OpenedClipboard(HWND owner) : open_(::OpenClipboard(owner) != FALSE) {}
    ~OpenedClipboard() {
        if (open_) ::CloseClipboard();
    }
    OpenedClipboard(const OpenedClipboard&) = delete;
    OpenedClipboard& operator=(const OpenedClipboard&) = delete;
    bool IsOpen() const { return open_; }

private:
    bool open_;
};

// The clipboard's text, at most limit characters of it.
std::wstring ClipboardText(HWND owner, size_t limit) {
    OpenedClipboard clipboard(owner);
    HANDLE data = clipboard.IsOpen() ? ::GetClipboardData(CF_UNICODETEXT) : nullptr;
    const auto* text = data ? static_cast<const wchar_t*>(::GlobalLock(data)) : nullptr;
    if (!text) return {};
    const size_t size = std::min<size_t>(::GlobalSize(data) / sizeof(wchar_t), limit);
    std::wstring copy(text, std::find(text, text + size, L'\0'));
    ::GlobalUnlock(data);
    return copy;
}

}  // namespace

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
            if (!OnKey || !OnKey(static_cast<WORD>(wp))) return false;
            result = 0;
            return true;
        case WM_CHAR:
            // Enter and Esc were used above; a tab or line break has no place
            // in a line. The edit keeps the rest (Ctrl+V, Ctrl+C come this way).
            if (wp != '\r' && wp != '\n' && wp != '\t' && wp != VK_ESCAPE) return false;
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
        case WM_MOUSEWHEEL:
            if (OnWheel) OnWheel(GET_WHEEL_DELTA_WPARAM(wp));
            return true;
        default: return false;
    }
}

}  // namespace rz
