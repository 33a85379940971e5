#include "support/JCLShortCuts.h"

#include "support/ShellCom.h"

namespace rz {

namespace {
// __uuidof does not link with this toolchain; the values are the shell's.
constexpr GUID kClsidShellLink = {0x00021401, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr GUID kIidShellLinkW = {0x000214F9, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr GUID kIidPersistFile = {0x0000010B, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
// Resolving may search for a moved target: never with a dialog, never for long.
constexpr DWORD kResolveTimeoutMs = 1000;

// Wide: a path of MAX_PATH characters may need more than MAX_PATH bytes.
void FillInfo(IShellLinkW& link, ShortcutInfo& info) {
    wchar_t buffer[MAX_PATH];
    WIN32_FIND_DATAW fd{};
    // Each field keeps its old value when the link cannot give it.
    if (SUCCEEDED(link.GetPath(buffer, MAX_PATH, &fd, SLGP_SHORTPATH))) info.target = FromUtf16(buffer);
    if (SUCCEEDED(link.GetArguments(buffer, MAX_PATH))) info.arguments = FromUtf16(buffer);
    int show = 0;
    if (SUCCEEDED(link.GetShowCmd(&show))) info.showCommand = show;
    if (SUCCEEDED(link.GetWorkingDirectory(buffer, MAX_PATH))) info.workingDirectory = FromUtf16(buffer);
    if (SUCCEEDED(link.GetDescription(buffer, MAX_PATH))) info.description = FromUtf16(buffer);
    int iconIndex = 0;
    if (SUCCEEDED(link.GetIconLocation(buffer, MAX_PATH, &iconIndex))) {
        info.iconLocation = FromUtf16(buffer);
        info.iconIndex = iconIndex;
    }
    WORD hotKey = 0;
    if (SUCCEEDED(link.GetHotkey(&hotKey))) info.hotKey = hotKey;
    LPITEMIDLIST idList = nullptr;
    if (SUCCEEDED(link.GetIDList(&idList))) {
        ::CoTaskMemFree(info.idList);
        info.idList = idList;
    }
}

}  // namespace

ShortcutInfo::~ShortcutInfo() { ::CoTaskMemFree(idList); }

HRESULT ResolveShortcut(const std::string& path, ShortcutInfo& info) {
    ComApartment com;
    void* raw = nullptr;
    HRESULT hr = ::CoCreateInstance(kClsidShellLink, nullptr, CLSCTX_INPROC_SERVER, kIidShellLinkW, &raw);
    if (FAILED(hr)) return hr;
    com_ptr<IShellLinkW> link(static_cast<IShellLinkW*>(raw));
    hr = link->QueryInterface(kIidPersistFile, &raw);
    if (FAILED(hr)) return hr;
    com_ptr<IPersistFile> file(static_cast<IPersistFile*>(raw));

    std::wstring wide = WideFromAnsi(path);
    if (wide.empty() || wide.size() >= MAX_PATH) return HRESULT_FROM_WIN32(ERROR_INVALID_NAME);
    hr = file->Load(wide.c_str(), STGM_READ);
    if (FAILED(hr)) return hr;
    hr = link->Resolve(nullptr, SLR_ANY_MATCH | SLR_NO_UI | (kResolveTimeoutMs << 16));
    // A target on a drive that is not ready does not resolve, yet the link
    // still says where it leads.
    FillInfo(*link, info);
    return hr;
}

}  // namespace rz
