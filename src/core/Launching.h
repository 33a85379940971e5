#pragma once
// Everything handed to the Windows shell: items, documents and web
// addresses, and the two system sounds.

#include <windows.h>

#include <string>

#include "platform/Seam.h"

namespace rz {

class TMediaPlayer;

// Starts path with the shell's "open" verb; an empty directory means the
// path's own directory. True when the shell accepted it; a refusal is shown
// with its reason.
bool LaunchFile(const std::string& path, const std::string& parameters, std::string directory);
// The working directory for a path: its directory without trailing "\",
// except a drive root, which keeps it.
std::string LaunchDirectoryOf(const std::string& path);
// What the user reads when the shell refuses target with result (32 or less).
std::string ShellRefusalText(const std::string& target, INT_PTR result);
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
