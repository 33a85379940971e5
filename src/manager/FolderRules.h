#pragma once
// The rules that keep virtual folders savable as sub-folders: a name the
// file system takes as a folder of its own, unique on its level as the file
// system compares names, never inside itself.

#include <string>

namespace rz {

class TTreeNode;

inline constexpr char kMsgFolderNoName[] = "The folder has to have a name";
inline constexpr char kMsgFolderBadChars[] = "The folder name can not contain: \"\\ / : * ? \" < > |\"";
inline constexpr char kMsgFolderDuplicate[] = "The folder name may not be duplicated on the same level in the TreeView";
inline constexpr char kMsgFolderIntoItself[] = "The folder may not be dropped on a subitem of its own";

// Without the characters of code 32 and below at both ends.
std::string TrimName(const std::string& name);
// Two captions name the same folder on disk exactly when their keys are
// equal: trimmed, then the store's file-name comparison (trailing dots and
// blanks dropped, case ignored as the file system ignores it).
std::string FolderNameKey(const std::string& name);
// A name the store can save as a folder of its own, and not the name of the
// level's list file.
bool FolderNameValid(const std::string& name);
// Whether name duplicates an entry on entry's level: backwards to the
// level's first entry (from entry itself when included), forwards up to the
// first system entry.
bool LevelNameDuplicate(const TTreeNode* entry, const std::string& name, bool includeEntry);
// The folder rules for a new name, in order - a name, valid, no namesake on
// the level - giving the refusal text, or nullptr when the name is accepted.
const char* FolderNameRefusal(const std::string& name, const TTreeNode* entry, bool includeEntry);

// The name a new folder directly after entry takes: name itself, else the
// first of "name (2)", "name (3)" ... that the folder rules accept.
std::string UniqueFolderName(const std::string& name, const TTreeNode* entry);

// Whether moved may be placed directly after target; the refusal text, if any.
bool FolderDropAllowed(const TTreeNode* moved, const TTreeNode* target, std::string* refusal);

}  // namespace rz
