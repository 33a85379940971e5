// Editing the tree through the item clipboard: Delete, Cut, Copy, Paste,
// and starting the selected item.

#include "manager/FolderRules.h"
#include "manager/form_items.h"
#include "core/Launching.h"

namespace rz {

bool TFormItems::ClipboardFitsAfter(TTreeNode* target) {
    std::string refusal;
    if (FolderDropAllowed(clipboard_, target, &refusal)) return true;
    StatusMessage(refusal);
    return false;
}

void TFormItems::BitBtnDeleteClick(TObject*) {
    TTreeNode* sel = TVItems.Selected();
    if (!sel || IsAnchorEntry(sel) || IsSystemEntry(sel)) return;
    // The clipboard must not keep an entry that is gone, also one inside a deleted folder.
    if (clipboard_ && (clipboard_ == sel || clipboard_->IsDescendantOf(sel))) clipboard_ = nullptr;
    TVItems.Delete(sel);
    RefreshButtons();
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
    if (clipboard_->Cut()) {
        TTreeNode* moved = clipboard_;
        moved->SetCut(false);
        clipboard_ = nullptr;
        // Pasting a cut entry onto itself leaves the tree as it was.
        if (moved != sel && !sel->IsDescendantOf(moved)) {
            TVItems.MoveBefore(moved, sel->Parent(), sel->GetNextSibling());
            TVItems.Select(moved);
        }
    } else {
        // A copy shares the item id, and so the path and parameters, of its source.
        TTreeNode* copy = TVItems.InsertAfter(sel, clipboard_->Text());
        copy->SetImageIndex(clipboard_->ImageIndex());
        copy->SetSelectedIndex(clipboard_->SelectedIndex());
        copy->SetStateIndex(-1);
        copy->ItemId = clipboard_->ItemId;
        TVItems.Select(copy);
    }
    RefreshButtons();
}

void TFormItems::BitBtnLaunchClick(TObject*) {
    TTreeNode* sel = TVItems.Selected();
    if (!sel || sel->ItemId < 0) return;
    LaunchFile(store.tables.PathOf(sel->ItemId), store.ParamsOfItem(sel->ItemId), "");
}

}  // namespace rz
