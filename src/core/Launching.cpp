#include "core/Launching.h"

#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <set>
#include <stdexcept>
#include <vector>

#include "core/AppData.h"
#include "core/ErrorLog.h"
#include "platform/MediaPlayer.h"
#include "platform/SystemError.h"
#include "platform/TextCodePage.h"
#include "support/EnvironmentText.h"

namespace rz {

namespace {
TMediaPlayer* g_player = nullptr;
// A missing sound stays missing: one line per log and run is enough.
std::set<std::string> g_soundsLogged;

bool PlayOnLinkedPlayer(const std::string& file) {
    if (!g_player) throw std::runtime_error("no sound player");
    g_player->FileName = file;
    g_player->Open();
    g_player->Play();
    return true;
}

bool DefaultBeep() { return ::MessageBeep(MB_OK) != FALSE; }

unsigned long ShellResultToSystemError(INT_PTR result) {
    switch (result) {
        case 0: return ERROR_NOT_ENOUGH_MEMORY;
        case SE_ERR_SHARE: return ERROR_SHARING_VIOLATION;
        case SE_ERR_ASSOCINCOMPLETE:
        case SE_ERR_NOASSOC: return ERROR_NO_ASSOCIATION;
        case SE_ERR_DDETIMEOUT:
        case SE_ERR_DDEFAIL:
        case SE_ERR_DDEBUSY: return ERROR_DDE_FAIL;
        case SE_ERR_DLLNOTFOUND: return ERROR_DLL_NOT_FOUND;
        default: return static_cast<unsigned long>(result);  // the low codes are the system's own
    }
}

unsigned long ExecuteWithShell(const ShellRequest& request) {
    const std::wstring verb = ToUtf16(request.verb), file = ToUtf16(request.file),
                       parameters = ToUtf16(request.parameters), directory = ToUtf16(request.directory);
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof(info);
    // The program says what went wrong itself; the properties verb needs the item's own menu.
    info.fMask = SEE_MASK_FLAG_NO_UI | (request.verb == "properties" ? SEE_MASK_INVOKEIDLIST : 0);
    info.lpVerb = verb.c_str();
    info.lpFile = file.c_str();
    info.lpParameters = parameters.empty() ? nullptr : parameters.c_str();
    info.lpDirectory = directory.empty() ? nullptr : directory.c_str();
    info.nShow = request.show;
    if (::ShellExecuteExW(&info)) return 0;
    // A cancelled prompt is told only by the last error; the shell's own
    // result names the other reasons best.
    const unsigned long code = ::GetLastError();
    const auto result = reinterpret_cast<INT_PTR>(info.hInstApp);
    if (code == ERROR_CANCELLED || result <= 0 || result > 32) return code != ERROR_SUCCESS ? code : ERROR_GEN_FAILURE;
    return ShellResultToSystemError(result);
}

}  // namespace

Seam<unsigned long(const ShellRequest&)> RunShell{&ExecuteWithShell};
Seam<bool(const std::string&)> PlayWaveFile{&PlayOnLinkedPlayer};
Seam<bool()> SystemBeep{&DefaultBeep};

void LinkSoundPlayer(TMediaPlayer* player) { g_player = player; }

std::string LaunchDirectoryOf(const std::string& path) {
    size_t cut = path.find_last_of("\\:");
    if (cut == std::string::npos) return {};
    if (path[cut] == ':') return path.substr(0, cut + 1);
    std::string dir = path.substr(0, cut);
    if (dir.size() == 2 && dir[1] == ':') return dir + "\\";
    return dir;
}

std::string ShellRefusalText(const std::string& target, unsigned long code) {
    if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND) return "\"" + target + "\" not found.";
    return "\"" + target + "\" can not be opened: " + SystemMessage(code) + ".";
}

bool LaunchFile(const std::string& path, const std::string& parameters, std::string directory, LaunchAs as) {
    const ExpandedText file = ExpandVariables(path), given = ExpandVariables(parameters),
                       in = ExpandVariables(directory);
    if (file.tooLong || given.tooLong || in.tooLong) {
        ShowNotice(kNoticeGiven,
                   "\"" + path + "\" can not be opened: with its variables expanded it is longer than " +
                       std::to_string(kMaxExpandedChars) + " characters.",
                   0);
        return false;
    }
    ShellRequest request{as == LaunchAs::Administrator ? "runas" : "open", file.text, given.text,
                         in.text.empty() ? LaunchDirectoryOf(file.text) : in.text, SW_SHOWDEFAULT};
    const unsigned long code = RunShell(request);
    // Declining the administrator's prompt is the user's choice, not a failure.
    if (code == 0 || code == ERROR_CANCELLED) return code == 0;
    std::vector<std::string> undefined = file.undefined;
    for (const std::string& name : given.undefined)
        if (std::find(undefined.begin(), undefined.end(), name) == undefined.end()) undefined.push_back(name);
    const std::string unknown = UndefinedVariablesText(undefined);
    ShowNotice(kNoticeGiven, ShellRefusalText(file.text, code) + (unknown.empty() ? "" : " " + unknown), 0);
    return false;
}

void OpenWithShell(const std::string& target) {
    const unsigned long code = RunShell(ShellRequest{"open", target, {}, {}, SW_SHOWNORMAL});
    if (code != 0) ShowNotice(kNoticeGiven, ShellRefusalText(target, code), 0);
}

void PlaySystemSound(const std::string& name) {
    char buffer[255] = {};
    UINT n = ::GetWindowsDirectoryA(buffer, sizeof(buffer));
    std::string file = std::string(buffer, n < sizeof(buffer) ? n : 0) + "\\" + name;
    bool played = false;
    try {
        played = PlayWaveFile(file);
    } catch (const std::exception&) {
        // Logged below like a refused play.
    }
    if (played) return;
    unsigned long code = ::GetLastError();
    // A file that is not there says so better than the device's last call.
    if (::GetFileAttributesA(file.c_str()) == INVALID_FILE_ATTRIBUTES) code = ::GetLastError();
    // A refusal is still heard.
    if (name == kSoundRefused) SystemBeep();
    if (!g_soundsLogged.insert(App.dataFolder + "errorlog.txt|" + file).second) return;
    LogTolerated("Can't play \"" + file + "\"", code);
}

}  // namespace rz
