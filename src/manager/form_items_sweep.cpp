// The sweep: entries whose file or directory is gone leave the tree. Nothing
// on disk changes, and the store only at the next save.

#include "manager/form_items.h"

namespace rz {

void TFormItems::BitBtnSweepClick(TObject*) {
    // The view reset at the end would take the cut mark off a freed entry.
    if (clipboard_) clipboard_->SetCut(false);
    clipboard_ = nullptr;
    const bool wasAttached = changeAttached_;
    AttachTreeChange(false);
    const int removed = commands.Sweep();
    AttachTreeChange(wasAttached);
    ViewReset();
    StatusMessage("Sweep removed " + std::to_string(removed) + (removed == 1 ? " entry" : " entries"));
}

}  // namespace rz
