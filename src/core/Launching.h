#pragma once
// Everything handed to the Windows shell: items, documents and web
// addresses, and the two system sounds.

#include <string>

#include "platform/Seam.h"

namespace rz {

class TMediaPlayer;

// Starts path with the shell's "open" verb; an empty directory means the
// path's own directory. True when the shell accepted it.
bool LaunchFile(const std::string& path, const std::string& parameters, std::string directory);
// The working directory for a path: its directory without trailing "\",
// except a drive root, which keeps it.
std::string LaunchDirectoryOf(const std::string& path);
// Opens a document or web address; tells the user when the shell refuses.
void OpenWithShell(const std::string& target);
// Plays a wave file named relative to the Windows directory on the linked
// player; a failure only goes to the error log.
void PlaySystemSound(const std::string& name);
// The player the main form owns.
void LinkSoundPlayer(TMediaPlayer* player);
// Plays a wave file on the linked player; false or an exception when it cannot.
extern Seam<bool(const std::string& file)> PlayWaveFile;

inline constexpr char kSoundRefused[] = "media\\chord.wav";
inline constexpr char kSoundSaved[] = "media\\chimes.wav";

}  // namespace rz
