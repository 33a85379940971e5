#pragma once
// The five item kinds, their list-file tokens, the file classes that decide
// between program items and other links, and the tests by which a manager
// tree entry tells what it is.

#include <optional>
#include <string>

namespace rz {

class TTreeNode;
class ItemTables;

enum class ItemKind { Folder, NorSep, SpeSep, ExeLnk, UnkLnk };

const char* KindToken(ItemKind kind);
std::optional<ItemKind> KindFromToken(const std::string& token);

// From the last "." of the file name part (after the last "\" or ":") to the
// end, dot included; empty when the name has no dot.
std::string FileExtension(const std::string& path);
// The file name part: after the last "\" or ":".
std::string FileNamePart(const std::string& path);
// The last name of a path, a directory's trailing "\" not counted; empty for
// a drive root.
std::string LastNameOf(const std::string& path);
// The caption a new entry for path gets: a file's name without its extension,
// a directory's whole name (a dot in it is no extension), a drive root's path.
std::string LinkCaption(const std::string& path, bool directory);
// Both take a path or an extension with its dot.
bool IsExecutableFile(const std::string& pathOrExt);
bool IsScriptFile(const std::string& pathOrExt);
bool IsProgramFile(const std::string& pathOrExt);

// Fixed icon slots that identify structural entries.
enum FixedIcon : int {
    kIconFolder = 0,
    kIconFolderOpen = 1,
    kIconBlank = 2,
    kIconNorSep = 3,
    kIconSpeSep = 4,
    kIconAnchor = 5,
    kIconDirectory = 6,
};

inline constexpr char kNorSepText[] = "---------------";

bool IsFolderEntry(const TTreeNode* node);
bool IsSeparatorEntry(const TTreeNode* node);
bool IsPlainSeparatorEntry(const TTreeNode* node);
bool IsAnchorEntry(const TTreeNode* node);
bool IsSystemEntry(const TTreeNode* node);
bool IsLinkEntry(const TTreeNode* node);
bool IsUserEntry(const TTreeNode* node);
bool IsExecutableEntry(const TTreeNode* node, const ItemTables& tables);
bool IsScriptEntry(const TTreeNode* node, const ItemTables& tables);

// A folder caption is also a directory name under the store: it must name a
// directory of its own inside the level's folder (see IsPlainFileName).
bool IsSafeFolderName(const std::string& caption);
// The directory a folder caption names: the caption as the file system stores it.
std::string FolderDirectoryName(const std::string& caption);

// An extension field gives a type icon only when it can be the extension of
// the type's temporary file: empty, or up to kMaxExtensionLength characters
// without path, wildcard or control characters.
inline constexpr size_t kMaxExtensionLength = 32;
bool IsPlainExtension(const std::string& ext);

}  // namespace rz
