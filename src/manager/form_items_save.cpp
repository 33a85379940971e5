// Saving: the store is written anew by the save protocol; a successful save
// becomes the state that Undo and Close go back to.

#include "core/AppData.h"
#include "core/Launching.h"
#include "manager/StoreSave.h"
#include "manager/form_items.h"

namespace rz {

void TFormItems::BitBtnSaveClick(TObject*) {
    const SaveOutcome outcome = SaveStore(store, App.dataFolder);
    PlaySystemSound(outcome.saved ? kSoundSaved : kSoundRefused);
    StatusMessage(outcome.message);
    if (!outcome.saved) return;
    saved_ = true;
    commands.KeepSaved();
}

}  // namespace rz
