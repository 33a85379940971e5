// Editing the tree through the item clipboard: Delete, Cut, Copy, Paste,
// and starting the selected item.

#include "core/Launching.h"
#include "manager/form_items.h"

namespace rz {

void TFormItems::BitBtnDeleteClick(TObject*) {
    // The clipboard lets go of the entry through LetGo, also of one inside a deleted folder.
    if (commands.Delete(TVItems.Selected())) RefreshButtons();
}

void TFormItems::BitBtnCutClick(TObject*) {
    TTreeNode* sel = TVItems.Selected();
    if (!sel || IsAnchorEntry(sel) || IsSystemEntry(sel)) return;
    if (clipboard_) clipboard_->SetCut(false);
    clipboard_ = sel;
    sel->SetCut(true);
    RefreshButtons();
}

void TFormItems::BitBtnCopyClick(TObject*) {
    TTreeNode* sel = TVItems.Selected();
    if (!sel || IsAnchorEntry(sel) || IsSystemEntry(sel) || IsFolderEntry(sel)) return;
    if (clipboard_) clipboard_->SetCut(false);
    clipboard_ = sel;
    RefreshButtons();
}

void TFormItems::BitBtnPasteClick(TObject*) {
    TTreeNode* sel = TVItems.Selected();
    if (!clipboard_ || !sel || IsSystemEntry(sel)) return;
    // The button may still be on from before a rename or a drag changed the level.
    if (!MoveFitsAfter(clipboard_, sel)) {
        RefreshButtons();
        return;
    }
    if (clipboard_->Cut()) {
        TTreeNode* moved = clipboard_;
        moved->SetCut(false);
        clipboard_ = nullptr;
        // Pasting a cut entry onto itself leaves the tree as it was.
        if (commands.MoveAfter(moved, sel, "Paste")) TVItems.Select(moved);
    } else if (TTreeNode* copy = commands.PasteCopy(clipboard_, sel)) {
        TVItems.Select(copy);
    }
    RefreshButtons();
}

void TFormItems::LetGo(TTreeNode* node) {
    auto inside = [node](const TTreeNode* n) { return n && (n == node || n->IsDescendantOf(node)); };
    if (inside(clipboard_)) {
        clipboard_->SetCut(false);
        clipboard_ = nullptr;
    }
    if (inside(dragPressed_) || inside(expandCandidate_)) StopDrag();
    if (inside(dropBatch_.last)) dropBatch_.last = nullptr;
}

void TFormItems::BitBtnLaunchClick(TObject*) {
    TTreeNode* sel = TVItems.Selected();
    if (!sel || sel->ItemId < 0) return;
    LaunchFile(store.tables.PathOf(sel->ItemId), store.ParamsOfItem(sel->ItemId), "");
}

}  // namespace rz
