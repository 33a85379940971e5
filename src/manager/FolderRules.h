#pragma once
// The rules that keep virtual folders savable as sub-folders: a name, no
// path characters, unique on its level, never inside itself.

#include <string>

namespace rz {

class TTreeNode;

inline constexpr char kMsgFolderNoName[] = "The folder has to have a name";
inline constexpr char kMsgFolderBadChars[] = "The folder name can not contain: \"\\ / : * ? \" < > |\"";
inline constexpr char kMsgFolderDuplicate[] =
    "The folder name may not be duplicated on the same level in the TreeView";
inline constexpr char kMsgFolderIntoItself[] = "The folder may not be dropped on a subitem of its own";

// Trimmed of characters of code 32 and below, ASCII letters lowered.
std::string FolderNameKey(const std::string& name);
// True when the name holds none of \ / : * ? " < > |.
bool NameCharactersValid(const std::string& name);
// Whether name duplicates an entry on entry's level: backwards to the
// level's first entry (from entry itself when included), forwards up to the
// first system entry.
bool LevelNameDuplicate(const TTreeNode* entry, const std::string& name, bool includeEntry);

// Whether moved may be placed directly after target; the refusal text, if any.
bool FolderDropAllowed(const TTreeNode* moved, const TTreeNode* target, std::string* refusal);

}  // namespace rz
