#pragma once
// COM pieces shared by the shell routines: interface references, item id
// lists freed by the task allocator, a per-call apartment and the conversions
// between the program's strings and the shell's UTF-16.

#include <windows.h>
#include <shlobj.h>

#include <memory>
#include <string>

#include "platform/Handles.h"
#include "platform/TextCodePage.h"

namespace rz {

// __uuidof does not link with this toolchain; the values are the shell's.
inline constexpr GUID kClsidShellLink = {0x00021401, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr GUID kIidShellLinkW = {0x000214F9, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr GUID kIidPersistFile = {0x0000010B, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

struct ComReleaser {
    void operator()(IUnknown* p) const noexcept {
        if (p) p->Release();
    }
};
template <class T>
using com_ptr = std::unique_ptr<T, ComReleaser>;

inline void FreeItemIdList(LPITEMIDLIST p) { ::CoTaskMemFree(p); }
using unique_pidl = unique_handle<LPITEMIDLIST, FreeItemIdList>;

// Callers may come from threads that never set COM up; S_FALSE (already set
// up) still needs its CoUninitialize, a different apartment model does not.
class ComApartment {
public:
    ComApartment() : initialized_(SUCCEEDED(::CoInitialize(nullptr))) {}
    ~ComApartment() {
        if (initialized_) ::CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    bool initialized_;
};

// No MB_PRECOMPOSED: with the UTF-8 code page the system refuses any flag.
inline std::wstring WideFromAnsi(const std::string& s) { return ToUtf16(s); }

// The file-system path of an item id list, "" when it has none. Wide: a
// MAX_PATH-character path may need three times as many bytes in UTF-8.
inline std::string PathFromIdList(LPCITEMIDLIST pidl) {
    wchar_t path[MAX_PATH];
    return ::SHGetPathFromIDListW(pidl, path) ? FromUtf16(path) : std::string();
}

// The shell's item id list for a path, or null when the shell cannot parse it.
inline unique_pidl ParsePath(const std::string& path) {
    IShellFolder* raw = nullptr;
    if (FAILED(::SHGetDesktopFolder(&raw))) return nullptr;
    com_ptr<IShellFolder> desktop(raw);
    std::wstring wide = WideFromAnsi(path);
    LPITEMIDLIST pidl = nullptr;
    if (FAILED(desktop->ParseDisplayName(nullptr, nullptr, wide.data(), nullptr, &pidl, nullptr))) return nullptr;
    return unique_pidl(pidl);
}

}  // namespace rz
