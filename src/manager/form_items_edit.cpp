// Editing the tree through the item clipboard: Delete, Cut, Copy, Paste,
// and starting the selected item.

#include "core/Launching.h"
#include "items/ItemKinds.h"
#include "manager/form_items.h"

namespace rz {

void TFormItems::BitBtnDeleteClick(TObject*) {
    TTreeNode* sel = TVItems.Selected();
    const std::string named = sel ? NamedEntry(sel) : std::string();
    // The clipboard lets go of the entry through LetGo, also of one inside a deleted folder.
    if (!commands.Delete(sel)) return;
    RefreshButtons();
    StatusMessage("Deleted " + named);
    FocusTree();
}

void TFormItems::BitBtnCutClick(TObject*) {
    TTreeNode* sel = TVItems.Selected();
    if (!sel || IsAnchorEntry(sel) || IsSystemEntry(sel)) return;
    if (clipboard_) clipboard_->SetCut(false);
    clipboard_ = sel;
    sel->SetCut(true);
    RefreshButtons();
    StatusMessage("Cut " + NamedEntry(sel));
    FocusTree();
}

void TFormItems::BitBtnCopyClick(TObject*) {
    TTreeNode* sel = TVItems.Selected();
    if (!sel || IsAnchorEntry(sel) || IsSystemEntry(sel) || IsFolderEntry(sel)) return;
    if (clipboard_) clipboard_->SetCut(false);
    clipboard_ = sel;
    RefreshButtons();
    StatusMessage("Copied " + NamedEntry(sel));
    FocusTree();
}

void TFormItems::BitBtnPasteClick(TObject*) {
    TTreeNode* sel = TVItems.Selected();
    if (!clipboard_ || !sel || IsSystemEntry(sel)) return;
    // The button may still be on from before a rename or a drag changed the level.
    if (!MoveFitsAfter(clipboard_, sel)) {
        RefreshButtons();
        return;
    }
    TTreeNode* pasted = nullptr;
    if (clipboard_->Cut()) {
        TTreeNode* moved = clipboard_;
        moved->SetCut(false);
        clipboard_ = nullptr;
        // Pasting a cut entry onto itself leaves the tree as it was.
        if (commands.MoveAfter(moved, sel, "Paste")) pasted = moved;
    } else {
        pasted = commands.PasteCopy(clipboard_, sel);
    }
    if (pasted) {
        TVItems.Select(pasted);
        StatusMessage("Pasted " + NamedEntry(pasted) + " into " + NamedLevel(pasted));
    }
    RefreshButtons();
    FocusTree();
}

void TFormItems::LetGo(TTreeNode* node) {
    auto inside = [node](const TTreeNode* n) { return n && (n == node || n->IsDescendantOf(node)); };
    if (inside(clipboard_)) {
        clipboard_->SetCut(false);
        clipboard_ = nullptr;
    }
    if (inside(dragPressed_) || inside(expandCandidate_)) StopDrag();
    if (inside(dropBatch_.last)) dropBatch_.last = nullptr;
    if (inside(renaming_)) renaming_ = nullptr;
}

void TFormItems::BitBtnLaunchClick(TObject*) {
    TTreeNode* sel = TVItems.Selected();
    if (!sel || sel->ItemId < 0) return;
    LaunchFile(store.tables.PathOf(sel->ItemId), store.ParamsOfItem(sel->ItemId), "");
}

}  // namespace rz
