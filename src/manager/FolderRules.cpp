#include "manager/FolderRules.h"

#include <string_view>

#include "items/ItemKinds.h"
#include "platform/TreeNode.h"
#include "support/FileNames.h"

namespace rz {

std::string TrimName(const std::string& name) {
    size_t begin = 0, end = name.size();
    while (begin < end && static_cast<unsigned char>(name[begin]) <= 32) ++begin;
    while (end > begin && static_cast<unsigned char>(name[end - 1]) <= 32) --end;
    return name.substr(begin, end - begin);
}

std::string FolderNameKey(const std::string& name) { return FileNameKey(TrimName(name)); }

bool FolderNameValid(const std::string& name) {
    // The level's own list file lives beside its sub-folders.
    return IsSafeFolderName(name);
}

bool LevelNameDuplicate(const TTreeNode* entry, const std::string& name, bool includeEntry) {
    if (!entry) return false;
    const std::string key = FolderNameKey(name);
    for (const TTreeNode* n = includeEntry ? entry : entry->GetPrevSibling(); n; n = n->GetPrevSibling()) {
        if (FolderNameKey(n->Text()) == key) return true;
    }
    for (const TTreeNode* n = entry->GetNextSibling(); n && !IsSystemEntry(n); n = n->GetNextSibling()) {
        if (FolderNameKey(n->Text()) == key) return true;
    }
    return false;
}

const char* FolderNameRefusal(const std::string& name, const TTreeNode* entry, bool includeEntry) {
    if (name.empty() || static_cast<unsigned char>(name[0]) <= 32) return kMsgFolderNoName;
    if (!FolderNameValid(name)) return kMsgFolderBadChars;
    if (LevelNameDuplicate(entry, name, includeEntry)) return kMsgFolderDuplicate;
    return nullptr;
}

std::string UniqueFolderName(const std::string& name, const TTreeNode* entry) {
    std::string base = TrimName(name);
    // Characters a folder cannot carry (a drive's "C:", a name from a link).
    constexpr std::string_view kBad = "\\/:*?\"<>|";
    for (char& c : base)
        if (static_cast<unsigned char>(c) < 32 || kBad.find(c) != std::string_view::npos) c = '_';
    if (base.empty()) base = "Folder";
    std::string candidate = base;
    // Each try scans the level once; a level of that many namesakes is no level to add to.
    for (int n = 2; n < 100000 && FolderNameRefusal(candidate, entry, true); ++n)
        candidate = base + " (" + std::to_string(n) + ")";
    return candidate;
}

bool FolderDropAllowed(const TTreeNode* moved, const TTreeNode* target, std::string* refusal) {
    if (!moved || !target || !IsFolderEntry(moved)) return true;
    if (moved->Parent() == target->Parent()) return true;
    if (LevelNameDuplicate(target, moved->Text(), true)) {
        if (refusal) *refusal = kMsgFolderDuplicate;
        return false;
    }
    if (moved == target || target->IsDescendantOf(moved)) {
        if (refusal) *refusal = kMsgFolderIntoItself;
        return false;
    }
    return true;
}

}  // namespace rz
