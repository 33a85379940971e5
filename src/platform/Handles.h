#pragma once
// One owner type for every Windows handle kind, plus scope guards for DCs
// and selected GDI objects.

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <type_traits>

namespace rz {

template <class H, auto Close>
struct HandleDeleter {
    using pointer = H;
    void operator()(H h) const noexcept {
        if (h) Close(h);
    }
};

template <class H, auto Close>
using unique_handle = std::unique_ptr<std::remove_pointer_t<H>, HandleDeleter<H, Close>>;

inline void CloseKernelHandle(HANDLE h) { ::CloseHandle(h); }
inline void DeleteGdiObject(HGDIOBJ h) { ::DeleteObject(h); }
inline void DestroyIconHandle(HICON h) { ::DestroyIcon(h); }
inline void DestroyMenuHandle(HMENU h) { ::DestroyMenu(h); }
inline void DestroyImageListHandle(HIMAGELIST h) { ::ImageList_Destroy(h); }
inline void DeleteDcHandle(HDC h) { ::DeleteDC(h); }
inline void UnmapView(void* p) { ::UnmapViewOfFile(p); }
inline void FindCloseHandle(HANDLE h) { ::FindClose(h); }
inline void RegCloseKeyHandle(HKEY h) { ::RegCloseKey(h); }
inline void UnhookHandle(HHOOK h) { ::UnhookWindowsHookEx(h); }

using unique_handle_kernel = unique_handle<HANDLE, CloseKernelHandle>;
// CreateFileA reports failure as INVALID_HANDLE_VALUE, not null.
inline unique_handle_kernel OwnedFile(HANDLE h) {
    return unique_handle_kernel(h == INVALID_HANDLE_VALUE ? nullptr : h);
}
using unique_hicon = unique_handle<HICON, DestroyIconHandle>;
using unique_hbitmap = unique_handle<HBITMAP, DeleteGdiObject>;
using unique_hfont = unique_handle<HFONT, DeleteGdiObject>;
using unique_hbrush = unique_handle<HBRUSH, DeleteGdiObject>;
using unique_hpen = unique_handle<HPEN, DeleteGdiObject>;
using unique_hrgn = unique_handle<HRGN, DeleteGdiObject>;
using unique_hmenu = unique_handle<HMENU, DestroyMenuHandle>;
using unique_himagelist = unique_handle<HIMAGELIST, DestroyImageListHandle>;
using unique_hdc = unique_handle<HDC, DeleteDcHandle>;
using unique_view = unique_handle<void*, UnmapView>;
using unique_hfind = unique_handle<HANDLE, FindCloseHandle>;
using unique_hkey = unique_handle<HKEY, RegCloseKeyHandle>;
using unique_hhook = unique_handle<HHOOK, UnhookHandle>;

// FindFirstFile reports failure as INVALID_HANDLE_VALUE, not NULL.
inline unique_hfind MakeFindHandle(HANDLE h) { return unique_hfind(h == INVALID_HANDLE_VALUE ? nullptr : h); }

// A screen DC borrowed with GetDC/GetWindowDC and given back on scope exit.
class WindowDC {
public:
    explicit WindowDC(HWND hwnd, bool wholeWindow = false)
        : hwnd_(hwnd), dc_(wholeWindow ? ::GetWindowDC(hwnd) : ::GetDC(hwnd)) {}
    ~WindowDC() {
        if (dc_) ::ReleaseDC(hwnd_, dc_);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HWND hwnd_;
    HDC dc_;
};

class PaintDC {
public:
    explicit PaintDC(HWND hwnd) : hwnd_(hwnd) { dc_ = ::BeginPaint(hwnd, &ps_); }
    ~PaintDC() { ::EndPaint(hwnd_, &ps_); }
    PaintDC(const PaintDC&) = delete;
    PaintDC& operator=(const PaintDC&) = delete;
    HDC get() const { return dc_; }
    const PAINTSTRUCT& info() const { return ps_; }

private:
    HWND hwnd_;
    PAINTSTRUCT ps_{};
    HDC dc_;
};

// Selects an object into a DC and restores the previous one on scope exit.
// Stores the DC it restores (the classic bug of hand-written guards).
class SelectGuard {
public:
    SelectGuard(HDC dc, HGDIOBJ obj) : dc_(dc), old_(::SelectObject(dc, obj)) {}
    ~SelectGuard() {
        if (old_ && old_ != HGDI_ERROR) ::SelectObject(dc_, old_);
    }
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

}  // namespace rz
