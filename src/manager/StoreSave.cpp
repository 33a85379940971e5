#include "manager/StoreSave.h"

#include "core/ErrorLog.h"
#include "items/ItemStore.h"
#include "items/StoreFolders.h"
#include "platform/FileIO.h"
#include "platform/SystemError.h"
#include "support/JCLPathes.h"
#include "support/UcvSysIO.h"

namespace rz {

namespace {

constexpr char kFailed[] = "Save unsuccesful! ";

std::string RenameRefused(const std::string& dataFolder) {
    if (!DirectoryExists(dataFolder + "item_bak")) {
        if (FolderRefusesNewFiles(dataFolder))
            return kFailed + ProblemInWords(ERROR_WRITE_PROTECT, dataFolder) + ": items cannot be saved";
        return kFailed + std::string("Possibly \"locked\" files (e.g. a file opened by another program)");
    }
    const std::string shortFolder = ShortPathOf(dataFolder);
    // Without a short form the long one still names the folder.
    return kFailed + (shortFolder.empty() ? dataFolder : shortFolder) +
           "item_bak\\ already exists(!), please restart Razaveza";
}

// A write that failed: the partial store goes, the backup comes back.
std::string RestoreBackup(const std::string& dataFolder, const EInOutError& failure) {
    const std::string backup = dataFolder + "item_bak";
    const std::string live = dataFolder + "shortcuts";
    const bool restored = DiscardFolder(live) && RenameFolder(backup, live);
    LogTolerated(std::string("Save failed, ") +
                     (restored ? "the previous items were put back" : "the previous items stay in item_bak") + ": " +
                     failure.what(),
                 failure.Code);
    std::string reason = SystemMessage(failure.Code);
    if (reason.empty()) reason = "the items could not be written";
    return kFailed + reason +
           (restored ? " - the saved items are unchanged"
                     : " - the saved items are kept in item_bak\\, please restart Razaveza");
}

}  // namespace

SaveOutcome SaveStore(ItemStore& store, const std::string& dataFolder) {
    const std::string backup = dataFolder + "item_bak";
    const std::string live = dataFolder + "shortcuts";
    // A stale backup goes whole or not at all: the live store must never
    // stand beside a part of one.
    DiscardFolder(backup);
    if (!RenameFolder(live, backup)) return SaveOutcome{false, RenameRefused(dataFolder)};
    try {
        if (!CreateFolder(live)) RaiseInOutError("Cannot create", live);
        store.WriteItemListFile(store.TopAnchor(), live);
    } catch (const EInOutError& e) {
        // Nothing is lost yet: the old store is whole in item_bak\.
        return SaveOutcome{false, RestoreBackup(dataFolder, e)};
    }
    // Not deleted in place: a kill half-way would leave a partial backup that
    // the next start offers to restore over the complete new store.
    DiscardFolder(backup);
    // What this save wrote is no change from outside.
    store.onDisk = LookAtStore(dataFolder).print;
    return SaveOutcome{true, "Save succesful!"};
}

}  // namespace rz
