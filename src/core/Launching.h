#pragma once
// Everything handed to the Windows shell: items, documents and web
// addresses, and the two system sounds.

#include <windows.h>

#include <string>

#include "platform/Seam.h"

namespace rz {

class TMediaPlayer;

// One request to the shell.
struct ShellRequest {
    std::string verb;  // "open", "runas", "properties"
    std::string file;
    std::string parameters;
    std::string directory;
    int show = SW_SHOWDEFAULT;
};
// Carries a request out: 0, or the system's reason (ERROR_CANCELLED when
// the user declined a prompt).
extern Seam<unsigned long(const ShellRequest& request)> RunShell;

enum class LaunchAs { Normal, Administrator };

// Starts path with the shell's "open" verb ("runas" as administrator); an
// empty directory means the path's own directory. Variables (%NAME%) in the
// path, parameters and directory are expanded first. True when the shell
// accepted it; a refusal is shown with its reason and the variables that
// are not defined, a prompt the user cancelled with nothing.
bool LaunchFile(const std::string& path, const std::string& parameters, std::string directory,
                LaunchAs as = LaunchAs::Normal);
// The working directory for a path: its directory without trailing "\",
// except a drive root, which keeps it.
std::string LaunchDirectoryOf(const std::string& path);
// What the user reads when the shell refuses target for the system's reason code.
std::string ShellRefusalText(const std::string& target, unsigned long code);
// Opens a document or web address; tells the user when the shell refuses.
void OpenWithShell(const std::string& target);
// Plays a wave file named relative to the Windows directory on the linked
// player. A failure goes to the error log once per file and run; a refusal
// sound that cannot play falls back to the system's default beep.
void PlaySystemSound(const std::string& name);
// The player the main form owns.
void LinkSoundPlayer(TMediaPlayer* player);
// Plays a wave file on the linked player; false or an exception when it cannot.
extern Seam<bool(const std::string& file)> PlayWaveFile;
extern Seam<bool()> SystemBeep;

inline constexpr char kSoundRefused[] = "media\\chord.wav";
inline constexpr char kSoundSaved[] = "media\\chimes.wav";

}  // namespace rz
