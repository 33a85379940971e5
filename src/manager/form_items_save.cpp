// Saving: the store is written anew by the save protocol; a successful save
// becomes the state that Undo and Close go back to. A store that changed on
// disk since it was loaded (another computer's save brought in by a sync
// service) is overwritten only when the user says so.

#include "core/AppData.h"
#include "core/Launching.h"
#include "manager/StoreSave.h"
#include "manager/form_items.h"
#include "platform/MessageBox.h"

namespace rz {

namespace {
constexpr char kSaveQuestion[] = "Save changes to the items?";
constexpr char kOverwriteQuestion[] =
    "The items on disk were changed by another program or computer after the item manager read them.\r\n\r\n"
    "Overwrite them with the items shown here?\r\n\r\n"
    "If you choose \"No\", nothing is saved and your edits stay here; closing the item manager without "
    "saving shows the items as they are on disk.";
}  // namespace

void TFormItems::BitBtnSaveClick(TObject*) {
    if (!OverwriteAgreed()) return;
    const SaveOutcome outcome = SaveStore(store, App.dataFolder);
    PlaySystemSound(outcome.saved ? kSoundSaved : kSoundRefused);
    StatusMessage(outcome.message);
    if (!outcome.saved) return;
    saved_ = true;
    commands.KeepSaved();
}

bool TFormItems::OverwriteAgreed() {
    if (LookAtStore(App.dataFolder).print == store.onDisk) return true;
    // Owned by this window, so that nothing here is pressed while the question is open.
    const int answer =
        ShowMessageBox(Handle(), kOverwriteQuestion, App.itemsTitle, MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2);
    if (answer == IDYES) return true;
    StatusMessage(kNotSavedChangedOnDisk);
    return false;
}

bool TFormItems::AgreedToClose() {
    // Steps taken back all the way leave the tree as it was saved.
    if (!commands.history.CanUndo()) return true;
    switch (ShowMessageBox(Handle(), kSaveQuestion, App.itemsTitle, MB_YESNOCANCEL | MB_ICONQUESTION)) {
        case IDNO: return true;
        case IDYES:
            BitBtnSaveClick(this);
            // A save refused or failed keeps the window and the edits.
            if (!commands.history.CanUndo()) return true;
            break;
        default: break;
    }
    FocusTree();
    return false;
}

bool TFormItems::HasUnsavedEdits() const {
    // Steps that could be done again count too: a reload would drop them.
    return commands.history.CanUndo() || commands.history.CanRedo() || TVItems.Dragging() || dragPressed_;
}

void TFormItems::ReloadFromDisk() {
    UndoRestore();
    saved_ = false;
    try {
        if (reloadItems) reloadItems();
    } catch (...) {
        // No entry of the view may point into what the reload cleared.
        ViewReset();
        throw;
    }
    ViewReset();
    StatusMessage(kReloadedFromDisk);
}

}  // namespace rz
