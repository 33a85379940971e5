// The sweep: entries whose file or directory is gone leave the tree. Nothing
// on disk changes, and the store only at the next save.

#include "items/ItemKinds.h"
#include "manager/form_items.h"
#include "support/UcvSysIO.h"

namespace rz {

void TFormItems::BitBtnSweepClick(TObject*) {
    // The view reset at the end would take the cut mark off a freed entry.
    if (clipboard_) clipboard_->SetCut(false);
    clipboard_ = nullptr;
    const bool wasAttached = changeAttached_;
    AttachTreeChange(false);
    TVItems.BeginUpdate();
    // The save root is the top-level anchor: the walk starts after it.
    int removed = 0;
    if (TTreeNode* root = TVItems.GetFirstNode()) removed = SweepLevel(root->GetNextSibling());
    TVItems.EndUpdate();
    AttachTreeChange(wasAttached);
    ViewReset();
    StatusMessage("Sweep removed " + std::to_string(removed) + (removed == 1 ? " entry" : " entries"));
}

int TFormItems::SweepLevel(TTreeNode* first) {
    if (!first) return 0;
    int removed = 0;
    TTreeNode* entry = first;
    while (TTreeNode* next = entry->GetNextSibling()) entry = next;
    // From the last entry back, so that a removal never touches what is still
    // to come; only folders recurse, as levels may hold tens of thousands.
    for (;;) {
        TTreeNode* before = entry == first ? nullptr : entry->GetPrevSibling();
        if (IsFolderEntry(entry)) {
            removed += SweepLevel(entry->GetFirstChild());
        } else if (entry->ItemId >= 0 && PlainlyMissing(store.tables.PathOf(entry->ItemId))) {
            // Only the system's "not there": a save would make any other loss final.
            TVItems.Delete(entry);
            ++removed;
        }
        if (!before) break;
        entry = before;
    }
    return removed;
}

}  // namespace rz
