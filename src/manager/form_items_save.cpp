// Saving: the store is renamed to the backup, written anew, and the backup
// removed only once the writing has finished.

#include "core/AppData.h"
#include "items/StoreFolders.h"
#include "manager/form_items.h"
#include "core/Launching.h"
#include "support/JCLPathes.h"
#include "support/UcvSysExceptions.h"
#include "support/UcvSysIO.h"

namespace rz {

void TFormItems::BitBtnSaveClick(TObject*) {
    const std::string backup = App.dataFolder + "item_bak";
    const std::string live = App.dataFolder + "shortcuts";
    // A stale backup goes whole or not at all: the live store must never
    // stand beside a part of one.
    DiscardFolder(backup);
    if (!RenameFolder(live, backup)) {
        SaveFailed();
        return;
    }
    // From here a failure leaves the old store in item_bak\ for the next start.
    if (!::CreateDirectoryA(live.c_str(), nullptr)) RaiseInOutError("Cannot create", live);
    store.WriteItemListFile(TVItems.GetFirstNode(), live);
    // Not deleted in place: a kill half-way would leave a partial backup that
    // the next start offers to restore over the complete new store.
    DiscardFolder(backup);
    PlaySystemSound(kSoundSaved);
    StatusMessage("Save succesful!");
    saved_ = true;
    TVUndo.BeginUpdate();
    TVUndo.Assign(TVItems);
    TVUndo.EndUpdate();
    TVUndo.Tag = TVItems.Tag;
}

void TFormItems::SaveFailed() {
    PlaySystemSound(kSoundRefused);
    std::string reason;
    if (DirectoryExists(App.dataFolder + "item_bak")) {
        std::string shortFolder = ShortPathOf(App.dataFolder);
        // Without a short form the long one still names the folder.
        reason = (shortFolder.empty() ? App.dataFolder : shortFolder) +
                 "item_bak\\ already exists(!), please restart Razaveza";
    } else {
        reason = "Possibly \"locked\" files (e.g. a file opened by another program)";
    }
    StatusMessage("Save unsuccesful! " + reason);
}

}  // namespace rz
