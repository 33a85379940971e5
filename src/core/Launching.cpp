#include "core/Launching.h"

#include <windows.h>
#include <shellapi.h>

#include <set>
#include <stdexcept>

#include "core/AppData.h"
#include "core/ErrorLog.h"
#include "platform/SystemError.h"
#include "platform/MediaPlayer.h"

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
}  // namespace

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

std::string ShellRefusalText(const std::string& target, INT_PTR result) {
    const unsigned long code = ShellResultToSystemError(result);
    if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND) return "\"" + target + "\" not found.";
    return "\"" + target + "\" can not be opened: " + SystemMessage(code) + ".";
}

bool LaunchFile(const std::string& path, const std::string& parameters, std::string directory) {
    if (directory.empty()) directory = LaunchDirectoryOf(path);
    auto result = reinterpret_cast<INT_PTR>(
        ::ShellExecuteA(nullptr, "open", path.c_str(), parameters.empty() ? nullptr : parameters.c_str(),
                        directory.empty() ? nullptr : directory.c_str(), SW_SHOWDEFAULT));
    if (result > 32) return true;
    ShowNotice(kNoticeGiven, ShellRefusalText(path, result), 0);
    return false;
}

void OpenWithShell(const std::string& target) {
    auto result =
        reinterpret_cast<INT_PTR>(::ShellExecuteA(nullptr, "open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    if (result <= 32) ShowNotice(kNoticeGiven, ShellRefusalText(target, result), 0);
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
