#include "core/ItemPlaces.h"

#include <shlobj.h>

#include "core/ErrorLog.h"
#include "core/Launching.h"
#include "platform/Clipboard.h"
#include "platform/SystemError.h"
#include "support/EnvironmentText.h"
#include "support/JCLPathes.h"
#include "support/JCLShortCuts.h"
#include "support/ShellCom.h"
#include "support/UcvSysIO.h"
#include "support/UcvSysStr.h"

namespace rz {

namespace {

unsigned long SelectInFolderWindow(const std::string& folder, const std::string& item) {
    if (!item.empty()) {
        ComApartment com;
        unique_pidl pidl(::ILCreateFromPathW(ToUtf16(item).c_str()));
        if (pidl && SUCCEEDED(::SHOpenFolderAndSelectItems(pidl.get(), 0, nullptr, 0))) return 0;
        // A shell without the call still knows the folder window's switch.
        if (RunShell(ShellRequest{"open", "explorer.exe", "/select,\"" + item + "\"", {}, SW_SHOWNORMAL}) == 0)
            return 0;
    }
    return RunShell(ShellRequest{"explore", folder, {}, {}, SW_SHOWNORMAL}) == 0
               ? 0
               : RunShell(ShellRequest{"open", folder, {}, {}, SW_SHOWNORMAL});
}

// "C:\a\b" of "C:\a\b\" and "C:\a\b"; "C:\" stays.
std::string WithoutTrailingSlash(std::string path) {
    while (path.size() > 3 && path.back() == '\\') path.pop_back();
    return path;
}

bool IsShortcutFile(const std::string& path) {
    return path.size() > 4 && LowerCase(path.substr(path.size() - 4)) == ".lnk";
}

bool IsDriveRoot(const std::string& path) { return path.size() == 3 && path[1] == ':' && path[2] == '\\'; }

}  // namespace

Seam<unsigned long(const std::string&, const std::string&)> ShowInFolder{&SelectInFolderWindow};

ItemPlace PlaceOf(const std::string& expandedPath) {
    std::string item = WithoutTrailingSlash(expandedPath);
    if (IsShortcutFile(item)) {
        ShortcutInfo link;
        ResolveShortcut(item, link);
        if (!link.target.empty()) item = WithoutTrailingSlash(LongPathOf(link.target));
    }
    if (IsDriveRoot(item) || (item.size() == 2 && item[1] == ':')) return {WithoutTrailingSlash(item + "\\"), {}};
    const std::string folder = LaunchDirectoryOf(item);
    return {folder, folder.empty() ? std::string() : item};
}

bool OpenContainingFolder(const std::string& typedPath) {
    const ExpandedText path = ExpandVariables(typedPath);
    const ItemPlace place = PlaceOf(path.text);
    if (place.folder.empty() || !DirectoryExists(place.folder)) {
        const std::string unknown = UndefinedVariablesText(path.undefined);
        ShowNotice(kNoticeGiven,
                   "The folder of \"" + path.text + "\" is not there" +
                       (place.folder.empty() ? std::string(".") : ": \"" + place.folder + "\" not found.") +
                       (unknown.empty() ? "" : " " + unknown),
                   0);
        return false;
    }
    // An item that is gone from a folder that is there: the folder alone.
    const std::string select = PathExists(place.item) ? place.item : std::string();
    if (const unsigned long code = ShowInFolder(place.folder, select); code != 0) {
        ShowNotice(kNoticeGiven, ShellRefusalText(place.folder, code), 0);
        return false;
    }
    return true;
}

bool ShowItemProperties(const std::string& typedPath) {
    const std::string path = Expanded(typedPath);
    const unsigned long code = RunShell(ShellRequest{"properties", path, {}, {}, SW_SHOWNORMAL});
    if (code == 0) return true;
    ShowNotice(kNoticeGiven, "The properties of \"" + path + "\" can not be shown: " + SystemMessage(code) + ".", 0);
    return false;
}

std::string CommandLineOf(const std::string& typedPath, const std::string& typedParameters) {
    std::string path = Expanded(typedPath);
    // Blanks split a command line; the command interpreter's own characters end it.
    if (path.find_first_of(" \t&()[]{}^=;!'+,`~") != std::string::npos) path = "\"" + path + "\"";
    const std::string parameters = Expanded(typedParameters);
    return parameters.empty() ? path : path + " " + parameters;
}

bool CopyItemText(HWND owner, const std::string& text) {
    const unsigned long code = PutClipboardText(owner, text);
    if (code == 0) return true;
    ShowNotice(kNoticeGiven,
               "Nothing was copied: another program holds the clipboard (" + SystemMessage(code) + "). Try again.", 0);
    return false;
}

}  // namespace rz
