#pragma once
// The clipboard: open for as long as a scope lasts, text taken and put.

#include <windows.h>

#include <string>

namespace rz {

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
std::wstring ClipboardText(HWND owner, size_t limit);
// Puts text (UTF-8) on the clipboard as Unicode text. Another program may
// hold the clipboard for a moment: it is tried again once after retryMs.
// 0, or the system's reason.
unsigned long PutClipboardText(HWND owner, const std::string& text, DWORD retryMs = 100);

}  // namespace rz
