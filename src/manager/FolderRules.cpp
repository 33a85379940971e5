#include "manager/FolderRules.h"

#include "items/ItemKinds.h"
#include "platform/TreeNode.h"

namespace rz {

std::string FolderNameKey(const std::string& name) {
    size_t begin = 0, end = name.size();
    while (begin < end && static_cast<unsigned char>(name[begin]) <= 32) ++begin;
    while (end > begin && static_cast<unsigned char>(name[end - 1]) <= 32) --end;
    std::string key = name.substr(begin, end - begin);
    for (char& c : key) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return key;
}

bool NameCharactersValid(const std::string& name) {
    return name.find_first_of("\\/:*?\"<>|") == std::string::npos;
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
