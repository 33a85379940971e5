#include "manager/FolderRules.h"

#include <windows.h>

#include "items/ItemKinds.h"
#include "platform/TreeNode.h"

namespace rz {

namespace {

// What the file system stores of a name: trailing dots and blanks dropped.
std::string StoredName(const std::string& name) {
    size_t end = name.size();
    while (end > 0 && (name[end - 1] == '.' || name[end - 1] == ' ')) --end;
    return name.substr(0, end);
}

}  // namespace

std::string TrimName(const std::string& name) {
    size_t begin = 0, end = name.size();
    while (begin < end && static_cast<unsigned char>(name[begin]) <= 32) ++begin;
    while (end > begin && static_cast<unsigned char>(name[end - 1]) <= 32) --end;
    return name.substr(begin, end - begin);
}

std::string FolderNameKey(const std::string& name) {
    std::string key = StoredName(TrimName(name));
    // The system's own case mapping of the ANSI code page, not only A to Z.
    if (!key.empty()) ::CharUpperBuffA(key.data(), static_cast<DWORD>(key.size()));
    return key;
}

bool FolderNameValid(const std::string& name) {
    for (char c : name) {
        if (static_cast<unsigned char>(c) < 32) return false;
    }
    if (name.find_first_of("\\/:*?\"<>|") != std::string::npos) return false;
    return IsSafeFolderName(StoredName(name)) && FolderNameKey(name) != FolderNameKey("shortcuts.txt");
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
