// Moving entries by dragging them inside the tree; a folder the pointer
// rests on opens by itself.

#include "items/ItemKinds.h"
#include "manager/FolderRules.h"
#include "manager/form_items.h"

namespace rz {

namespace {
constexpr int kDragThreshold = 8;
constexpr int kRedrawLimit = 10;
}  // namespace

void TFormItems::HookDragDropAndSweep() {
    TVItems.OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState k, int x, int y) {
        TVItemsMouseDown(s, b, k, x, y);
    };
    TVItems.OnMouseUp = [this](TObject* s, TMouseButton b, TShiftState k, int x, int y) {
        TVItemsMouseUp(s, b, k, x, y);
    };
    TVItems.OnDragOver = [this](TObject* s, TObject* source, int x, int y, TDragState state, bool& accept) {
        TVItemsDragOver(s, source, x, y, state, accept);
    };
    TVItems.OnDragDrop = [this](TObject* s, TObject* source, int x, int y) { TVItemsDragDrop(s, source, x, y); };
    TVItems.OnEndDrag = [this](TObject* s, TObject* target, int x, int y) { TVItemsEndDrag(s, target, x, y); };
    TVItems.OnDropFiles = [this](TObject* s, const std::string& path, const POINT& at) {
        TVItemsDropFiles(s, path, at);
    };
    TVItems.OnDropFilesDone = [this](TObject* s) { TVItemsDropFilesDone(s); };
    TimerDrag.OnTimer = [this](TObject* s) { TimerDragTimer(s); };
    TimerExpand.OnTimer = [this](TObject* s) { TimerExpandTimer(s); };
    BitBtnSweep.OnClick = [this](TObject* s) { BitBtnSweepClick(s); };
}

void TFormItems::TVItemsMouseDown(TObject*, TMouseButton button, TShiftState, int x, int y) {
    if (button != mbLeft) return;
    dragPressed_ = TVItems.GetNodeAt(x, y);
    if (dragPressed_ && !IsAnchorEntry(dragPressed_) && !IsSystemEntry(dragPressed_)) TimerDrag.SetEnabled(true);
}

void TFormItems::TVItemsMouseUp(TObject*, TMouseButton button, TShiftState, int, int) {
    if (button != mbLeft) return;
    redrawCount_ = 0;
    StopDrag();
}

void TFormItems::TVItemsEndDrag(TObject*, TObject*, int, int) { StopDrag(); }

void TFormItems::StopDrag() {
    TimerDrag.SetEnabled(false);
    TimerExpand.SetEnabled(false);
    dragPressed_ = nullptr;
    expandCandidate_ = nullptr;
}

void TFormItems::TimerDragTimer(TObject*) {
    TimerDrag.SetEnabled(false);
    // The press may have ended where the tree did not see it.
    if (!dragPressed_ || !TVItems.BeginDrag(kDragThreshold)) StopDrag();
}

bool TFormItems::MoveFitsAfter(const TTreeNode* moved, const TTreeNode* target) {
    std::string refusal;
    if (FolderDropAllowed(moved, target, &refusal)) return true;
    StatusMessage(refusal);
    return false;
}

void TFormItems::TVItemsDragOver(TObject*, TObject*, int x, int y, TDragState, bool& accept) {
    TTreeNode* target = TVItems.GetNodeAt(x, y);
    if (target) accept = !IsSystemEntry(target) && MoveFitsAfter(dragPressed_, target);
    if (TimerDrag.Enabled() && target != dragPressed_) TimerDrag.SetEnabled(false);
    if (target != expandCandidate_) TimerExpand.SetEnabled(false);
    if (!target || !IsFolderEntry(target) || IsSystemEntry(target) || !accept) return;
    if (TimerExpand.Enabled()) {
        RedrawAroundExpandCandidate();
    } else {
        TimerExpand.SetEnabled(true);
        expandCandidate_ = target;
    }
}

void TFormItems::RedrawAroundExpandCandidate() {
    if (!expandCandidate_ || redrawCount_ >= kRedrawLimit) return;
    ++redrawCount_;
    for (TTreeNode* n : {expandCandidate_->GetFirstChild(), expandCandidate_->GetNextSibling()}) {
        if (!n) continue;
        const int image = n->ImageIndex();
        n->SetImageIndex(kIconFolder);
        n->SetImageIndex(image);
        const std::string text = n->Text();
        n->SetText(text + " ");
        n->SetText(text);
    }
}

void TFormItems::TimerExpandTimer(TObject*) {
    TimerExpand.SetEnabled(false);
    TTreeNode* folder = expandCandidate_;
    if (!folder || folder->Expanded()) return;
    TVItems.Select(folder);
    TVItems.Expand(folder);
}

void TFormItems::TVItemsDragDrop(TObject*, TObject*, int x, int y) {
    TTreeNode* target = TVItems.GetNodeAt(x, y);
    TTreeNode* moved = dragPressed_;
    if (!target || !moved || target == moved || target->IsDescendantOf(moved)) return;
    const bool done = commands.MoveAfter(moved, target, "Drag");
    // Resting on a folder selected it: the properties must not show the
    // moved entry while an edit goes to the folder.
    TVItems.Select(moved);
    PropertiesDisplay(moved);
    if (done) StatusMessage("Moved " + NamedEntry(moved) + " into " + NamedLevel(moved));
    FocusTree();
}

}  // namespace rz
