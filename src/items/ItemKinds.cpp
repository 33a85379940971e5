#include "items/ItemKinds.h"

#include <array>

#include "items/ItemTables.h"
#include "platform/TreeNode.h"
#include "support/FileNames.h"
#include "support/UcvSysStr.h"

namespace rz {

namespace {
constexpr std::array<const char*, 5> kTokens = {"^Folder", "^NorSep", "^SpeSep", "^ExeLnk", "^UnkLnk"};
}

const char* KindToken(ItemKind kind) { return kTokens[static_cast<size_t>(kind)]; }

std::optional<ItemKind> KindFromToken(const std::string& token) {
    for (size_t i = 0; i < kTokens.size(); ++i) {
        if (token == kTokens[i]) return static_cast<ItemKind>(i);
    }
    return std::nullopt;
}

std::string FileExtension(const std::string& path) {
    size_t nameStart = path.find_last_of("\\:");
    nameStart = nameStart == std::string::npos ? 0 : nameStart + 1;
    size_t dot = path.rfind('.');
    if (dot == std::string::npos || dot < nameStart) return {};
    return path.substr(dot);
}

std::string FileNamePart(const std::string& path) {
    size_t cut = path.find_last_of("\\:");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string LastNameOf(const std::string& path) {
    return FileNamePart(path.substr(0, path.find_last_not_of('\\') + 1));
}

std::string LinkCaption(const std::string& path, bool directory) {
    const std::string name = LastNameOf(path);
    if (name.empty()) return path;
    return directory ? name : NameWithoutExt(name);
}

bool IsExecutableFile(const std::string& pathOrExt) {
    std::string ext = LowerCase(FileExtension(pathOrExt));
    return ext == ".exe" || ext == ".com";
}

bool IsScriptFile(const std::string& pathOrExt) {
    std::string ext = LowerCase(FileExtension(pathOrExt));
    return ext == ".bat" || ext == ".cmd" || ext == ".wsf" || ext == ".wsh";
}

bool IsProgramFile(const std::string& pathOrExt) { return IsExecutableFile(pathOrExt) || IsScriptFile(pathOrExt); }

bool IsFolderEntry(const TTreeNode* n) {
    return n && (n->ImageIndex() == kIconFolder || n->ImageIndex() == kIconFolderOpen);
}

bool IsSeparatorEntry(const TTreeNode* n) {
    return n && (n->ImageIndex() == kIconNorSep || n->ImageIndex() == kIconSpeSep);
}

bool IsPlainSeparatorEntry(const TTreeNode* n) { return n && n->ImageIndex() == kIconNorSep; }

bool IsAnchorEntry(const TTreeNode* n) { return n && n->ImageIndex() == kIconAnchor; }

bool IsSystemEntry(const TTreeNode* n) {
    // A link without icon has -1 in both fields and is no system entry.
    return n && n->StateIndex() == n->ImageIndex() && n->StateIndex() != -1;
}

bool IsLinkEntry(const TTreeNode* n) { return n && !IsSystemEntry(n) && n->ItemId >= 0; }

bool IsUserEntry(const TTreeNode* n) { return n && !IsSystemEntry(n) && !IsAnchorEntry(n); }

bool IsExecutableEntry(const TTreeNode* n, const ItemTables& tables) {
    return IsLinkEntry(n) && IsExecutableFile(tables.PathOf(n->ItemId));
}

bool IsScriptEntry(const TTreeNode* n, const ItemTables& tables) {
    return IsLinkEntry(n) && IsScriptFile(tables.PathOf(n->ItemId));
}

bool IsSafeFolderName(const std::string& caption) {
    // A folder of that name would take the place of its level's list file.
    return IsPlainFileName(caption) && !SameFileName(caption, "shortcuts.txt");
}

std::string FolderDirectoryName(const std::string& caption) { return StoredFileName(caption); }

bool IsPlainExtension(const std::string& ext) {
    return ext.size() <= kMaxExtensionLength && HasOnlyNameCharacters(ext);
}

}  // namespace rz
