#include "support/JCLShortCuts.h"

#include "support/ShellCom.h"

namespace rz {

namespace {
// Resolving may search for a moved target: never with a dialog, never for long.
constexpr DWORD kResolveTimeoutMs = 1000;

// Wide: a path of MAX_PATH characters may need more than MAX_PATH bytes.
void FillInfo(IShellLinkW& link, ShortcutInfo& info) {
    wchar_t buffer[MAX_PATH];
    // Each field keeps its old value when the link cannot give it. No find
    // data: filling it reads the target's directory entry, many times what
    // the rest of the shortcut costs.
    if (SUCCEEDED(link.GetPath(buffer, MAX_PATH, nullptr, SLGP_SHORTPATH))) info.target = FromUtf16(buffer);
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

ShortcutReader::ShortcutReader() {
    void* raw = nullptr;
    made_ = ::CoCreateInstance(kClsidShellLink, nullptr, CLSCTX_INPROC_SERVER, kIidShellLinkW, &raw);
    if (FAILED(made_)) return;
    link_.reset(static_cast<IShellLinkW*>(raw));
    made_ = link_->QueryInterface(kIidPersistFile, &raw);
    if (SUCCEEDED(made_)) file_.reset(static_cast<IPersistFile*>(raw));
}

HRESULT ShortcutReader::Load(const std::string& path, bool& loaded) {
    loaded = false;
    if (FAILED(made_)) return made_;
    std::wstring wide = WideFromAnsi(path);
    if (wide.empty() || wide.size() >= MAX_PATH) return HRESULT_FROM_WIN32(ERROR_INVALID_NAME);
    HRESULT hr = file_->Load(wide.c_str(), STGM_READ);
    if (FAILED(hr)) return hr;
    loaded = true;
    return link_->Resolve(nullptr, SLR_ANY_MATCH | SLR_NO_UI | (kResolveTimeoutMs << 16));
}

HRESULT ShortcutReader::Resolve(const std::string& path, ShortcutInfo& info) {
    bool loaded = false;
    const HRESULT hr = Load(path, loaded);
    // A target on a drive that is not ready does not resolve, yet the link
    // still says where it leads.
    if (loaded) FillInfo(*link_, info);
    return hr;
}

HRESULT ShortcutReader::ResolveTarget(const std::string& path, std::string& target, std::string& arguments) {
    bool loaded = false;
    const HRESULT hr = Load(path, loaded);
    if (!loaded) return hr;
    wchar_t buffer[MAX_PATH];
    if (SUCCEEDED(link_->GetPath(buffer, MAX_PATH, nullptr, SLGP_SHORTPATH))) target = FromUtf16(buffer);
    if (SUCCEEDED(link_->GetArguments(buffer, MAX_PATH))) arguments = FromUtf16(buffer);
    return hr;
}

HRESULT ResolveShortcut(const std::string& path, ShortcutInfo& info) {
    ShortcutReader reader;
    return reader.Resolve(path, info);
}

}  // namespace rz
