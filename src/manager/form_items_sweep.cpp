// The sweep: entries whose file or directory is gone leave the tree. Nothing
// on disk changes, and the store only at the next save.

#include "items/ItemKinds.h"
#include "manager/form_items.h"
#include "support/UcvSysIO.h"

namespace rz {

namespace {

// Only the system's "not there" counts. A drive that is not ready, a refused
// access or a network failure may pass, and a save would make the loss final.
bool TargetGone(const std::string& path) {
    if (path.empty()) return true;
    const PathLookup found = LookUpPath(path);
    if (found.attributes != INVALID_FILE_ATTRIBUTES) {
        const bool wantsDirectory = path.back() == '\\' || path.back() == '/';
        return wantsDirectory && !(found.attributes & FILE_ATTRIBUTE_DIRECTORY);
    }
    switch (found.error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_NAME:
        case ERROR_BAD_PATHNAME:
        case ERROR_DIRECTORY:
        case ERROR_INVALID_DRIVE:
            return true;
        default:
            return false;
    }
}

}  // namespace

void TFormItems::BitBtnSweepClick(TObject*) {
    // The view reset at the end would take the cut mark off a freed entry.
    if (clipboard_) clipboard_->SetCut(false);
    clipboard_ = nullptr;
    const bool wasAttached = changeAttached_;
    AttachTreeChange(false);
    TVItems.BeginUpdate();
    // The save root is the top-level anchor: the walk starts after it.
    if (TTreeNode* root = TVItems.GetFirstNode()) SweepLevel(root->GetNextSibling());
    TVItems.EndUpdate();
    AttachTreeChange(wasAttached);
    ViewReset();
}

void TFormItems::SweepLevel(TTreeNode* first) {
    if (!first) return;
    TTreeNode* entry = first;
    while (TTreeNode* next = entry->GetNextSibling()) entry = next;
    // From the last entry back, so that a removal never touches what is still
    // to come; only folders recurse, as levels may hold tens of thousands.
    for (;;) {
        TTreeNode* before = entry == first ? nullptr : entry->GetPrevSibling();
        if (IsFolderEntry(entry)) {
            SweepLevel(entry->GetFirstChild());
        } else if (entry->ItemId >= 0 && TargetGone(store.tables.PathOf(entry->ItemId))) {
            TVItems.Delete(entry);
        }
        if (!before) break;
        entry = before;
    }
}

}  // namespace rz
