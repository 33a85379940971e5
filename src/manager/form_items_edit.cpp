// Editing the tree through the item clipboard: Delete, Cut, Copy, Paste,
// and starting the selected item.

#include "manager/form_items.h"
#include "core/Launching.h"

namespace rz {

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

TTreeNode* TFormItems::InsertEntryAfter(TTreeNode* after, const std::string& caption, int icon, int itemId) {
    TTreeNode* entry = TVItems.InsertAfter(after, caption);
    entry->SetImageIndex(icon);
    entry->SetSelectedIndex(icon);
    entry->SetStateIndex(-1);
    entry->ItemId = itemId;
    return entry;
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
        if (moved != sel && !sel->IsDescendantOf(moved)) {
            TVItems.MoveBefore(moved, sel->Parent(), sel->GetNextSibling());
            TVItems.Select(moved);
        }
    } else {
        TTreeNode* copy = InsertEntryAfter(sel, clipboard_->Text(), clipboard_->ImageIndex(), CopyOfLink(clipboard_));
        copy->SetSelectedIndex(clipboard_->SelectedIndex());
        TVItems.Select(copy);
    }
    RefreshButtons();
}

int TFormItems::CopyOfLink(const TTreeNode* source) {
    if (source->ItemId < 0) return -1;
    // A row of its own: editing the copy's parameters must leave the source's alone.
    ItemTables& tables = store.tables;
    const std::string path = tables.PathOf(source->ItemId);
    const std::string params = tables.ParamsOfItem(source->ItemId);
    return tables.AddLink(path, tables.HasParamRow(source->ItemId) ? &params : nullptr);
}

void TFormItems::BitBtnLaunchClick(TObject*) {
    TTreeNode* sel = TVItems.Selected();
    if (!sel || sel->ItemId < 0) return;
    LaunchFile(store.tables.PathOf(sel->ItemId), store.ParamsOfItem(sel->ItemId), "");
}

}  // namespace rz
