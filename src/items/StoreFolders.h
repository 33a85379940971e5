#pragma once
// Folders of the store that must vanish in one step. Deleting a folder takes
// many steps, and a program killed half-way leaves a part of it behind; a
// rename is one step. So a folder is first renamed to a discard name beside
// it and deleted under that name: the backup "item_bak" is then always whole
// or gone. A mark file inside, deleted last, tells a leftover discard folder
// from a folder of the user's that happens to have such a name.

#include <string>
#include <vector>

namespace rz {

inline constexpr char kDiscardFolderName[] = "item_del";
inline constexpr char kDiscardMarkName[] = "razaveza.discard";

// Marks the folder (no trailing "\"), renames it to a free discard name in
// the same parent folder and deletes it there. True when the folder is gone
// from its name (also when it was not there); false when it could not be
// renamed, and it is then left whole.
bool DiscardFolder(const std::string& folder);

// Removes a mark that a run killed between marking and renaming left in a
// folder that was to be set aside but still has its own name.
void ClearDiscardMark(const std::string& folder);

// A backup left by a save that finished, because it could not be removed:
// marked so, it is no save under way and needs no question at the next start.
inline constexpr char kSavedMarkName[] = "razaveza.saved";
void MarkBackupSaved(const std::string& backup);
bool BackupWasSaved(const std::string& backup);

// Deletes the marked discard folders an earlier run left in the data folder
// (with its trailing "\"); returns those that still could not be deleted.
std::vector<std::string> RemoveDiscardedFolders(const std::string& dataFolder);

}  // namespace rz
