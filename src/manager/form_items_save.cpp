// Saving: the store is renamed to the backup, written anew, and the backup
// removed only once every file of the new store is on disk whole.

#include "core/AppData.h"
#include "core/ErrorLog.h"
#include "core/Launching.h"
#include "items/StoreFolders.h"
#include "manager/form_items.h"
#include "platform/FileIO.h"
#include "platform/SystemError.h"
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
    try {
        if (!CreateFolder(live)) RaiseInOutError("Cannot create", live);
        store.WriteItemListFile(TVItems.GetFirstNode(), live);
    } catch (const EInOutError& e) {
        // Nothing is lost yet: the old store is whole in item_bak\.
        RestoreBackup(e);
        return;
    }
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

void TFormItems::RestoreBackup(const EInOutError& failure) {
    const std::string backup = App.dataFolder + "item_bak";
    const std::string live = App.dataFolder + "shortcuts";
    const bool restored = DiscardFolder(live) && RenameFolder(backup, live);
    LogTolerated(std::string("Save failed, ") +
                     (restored ? "the previous items were put back" : "the previous items stay in item_bak") + ": " +
                     failure.what(),
                 failure.Code);
    PlaySystemSound(kSoundRefused);
    std::string reason = SystemMessage(failure.Code);
    if (reason.empty()) reason = "the items could not be written";
    StatusMessage("Save unsuccesful! " + reason +
                  (restored ? " - the saved items are unchanged"
                            : " - the saved items are kept in item_bak\\, please restart Razaveza"));
}

void TFormItems::SaveFailed() {
    PlaySystemSound(kSoundRefused);
    std::string reason;
    if (DirectoryExists(App.dataFolder + "item_bak")) {
        std::string shortFolder = ShortPathOf(App.dataFolder);
        // Without a short form the long one still names the folder.
        reason = (shortFolder.empty() ? App.dataFolder : shortFolder) +
                 "item_bak\\ already exists(!), please restart Razaveza";
    } else if (FolderRefusesNewFiles(App.dataFolder)) {
        reason = ProblemInWords(ERROR_WRITE_PROTECT, App.dataFolder) + ": items cannot be saved";
    } else {
        reason = "Possibly \"locked\" files (e.g. a file opened by another program)";
    }
    StatusMessage("Save unsuccesful! " + reason);
}

}  // namespace rz
