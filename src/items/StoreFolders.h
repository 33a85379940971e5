#pragma once
// Folders of the store that must vanish in one step. Deleting a folder takes
// many steps, and a program killed half-way leaves a part of it behind; a
// rename is one step. So a folder is first renamed to a discard name beside
// it and deleted under that name: the backup "item_bak" is then always whole
// or gone, and a leftover discard folder is known to be rubbish.

#include <string>

namespace rz {

inline constexpr char kDiscardFolderName[] = "item_del";

// Renames the folder (no trailing "\") to a free discard name in the same
// parent folder and deletes it there. True when the folder is gone from its
// name (also when it was not there); false when it could not be renamed, and
// it is then left whole.
bool DiscardFolder(const std::string& folder);

// Deletes the discard folders an earlier run left in the data folder (with
// its trailing "\"); what cannot be deleted stays, without a message.
void RemoveDiscardedFolders(const std::string& dataFolder);

}  // namespace rz
