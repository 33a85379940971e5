#include "core/Launching.h"

#include <windows.h>
#include <shellapi.h>

#include <stdexcept>

#include "core/ErrorLog.h"
#include "platform/MediaPlayer.h"

namespace rz {

namespace {
TMediaPlayer* g_player = nullptr;

bool PlayOnLinkedPlayer(const std::string& file) {
    if (!g_player) throw std::runtime_error("no sound player");
    g_player->FileName = file;
    g_player->Open();
    g_player->Play();
    return true;
}
}  // namespace

Seam<bool(const std::string&)> PlayWaveFile{&PlayOnLinkedPlayer};

void LinkSoundPlayer(TMediaPlayer* player) { g_player = player; }

std::string LaunchDirectoryOf(const std::string& path) {
    size_t cut = path.find_last_of("\\:");
    if (cut == std::string::npos) return {};
    if (path[cut] == ':') return path.substr(0, cut + 1);
    std::string dir = path.substr(0, cut);
    if (dir.size() == 2 && dir[1] == ':') return dir + "\\";
    return dir;
}

bool LaunchFile(const std::string& path, const std::string& parameters, std::string directory) {
    if (directory.empty()) directory = LaunchDirectoryOf(path);
    auto result = reinterpret_cast<INT_PTR>(::ShellExecuteA(
        nullptr, "open", path.c_str(), parameters.empty() ? nullptr : parameters.c_str(),
        directory.empty() ? nullptr : directory.c_str(), SW_SHOWDEFAULT));
    return result > 32;
}

void OpenWithShell(const std::string& target) {
    auto result = reinterpret_cast<INT_PTR>(
        ::ShellExecuteA(nullptr, "open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    if (result <= 32) ShowNotice(kNoticeGiven, "\"" + target + "\" not found.", 0);
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
    if (!played) WriteErrorLog("Can't play \"" + file + "\"");
}

}  // namespace rz
