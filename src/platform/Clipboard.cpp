#include "platform/Clipboard.h"

#include <algorithm>
#include <cstring>

#include "platform/TextCodePage.h"

namespace rz {

namespace {

unsigned long PutOnce(HWND owner, const std::wstring& text) {
    OpenedClipboard clipboard(owner);
    if (!clipboard.IsOpen()) return ::GetLastError() ? ::GetLastError() : ERROR_ACCESS_DENIED;
    const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (!block) return ERROR_NOT_ENOUGH_MEMORY;
    if (void* at = ::GlobalLock(block)) {
        std::memcpy(at, text.c_str(), bytes);
        ::GlobalUnlock(block);
    }
    // Once the clipboard takes the block it is the clipboard's.
    if (!::EmptyClipboard() || !::SetClipboardData(CF_UNICODETEXT, block)) {
        const unsigned long code = ::GetLastError();
        ::GlobalFree(block);
        return code ? code : ERROR_ACCESS_DENIED;
    }
    return 0;
}

}  // namespace

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

unsigned long PutClipboardText(HWND owner, const std::string& text, DWORD retryMs) {
    const std::wstring wide = ToUtf16(text);
    const unsigned long first = PutOnce(owner, wide);
    if (first == 0) return 0;
    ::Sleep(retryMs);
    return PutOnce(owner, wide);
}

}  // namespace rz
