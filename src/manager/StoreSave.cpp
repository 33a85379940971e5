#include "manager/StoreSave.h"

#include <windows.h>

#include <vector>

#include "core/ErrorLog.h"
#include "items/ItemStore.h"
#include "items/StoreFingerprint.h"
#include "items/StoreFolders.h"
#include "platform/FileIO.h"
#include "platform/SystemError.h"
#include "support/JCLPathes.h"
#include "support/UcvSysIO.h"

namespace rz {

namespace {

constexpr char kFailed[] = "Save unsuccesful! ";
// Outside the store, so that no later save takes them away.
constexpr char kConflictsFolder[] = "item_conflicts\\";

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

// A backup held open by another program a moment (a virus scanner, an
// indexer) is asked again; one that stays is marked as no save under way.
bool DropBackup(const std::string& backup) {
    constexpr int kTries = 5;
    for (int i = 0; i < kTries; ++i) {
        if (i > 0) ::Sleep(100 * i);
        if (DiscardFolder(backup)) return true;
    }
    const unsigned long reason = ::GetLastError();
    MarkBackupSaved(backup);
    LogTolerated(
        "The backup \"" + backup + "\" of the saved items cannot be removed; it goes at the next save or start",
        reason);
    return false;
}

std::string SetAsideNote(const std::vector<std::string>& setAside) {
    for (const std::string& path : setAside)
        LogTolerated("A file that came in while the items were saved is kept as \"" + path + "\"", ERROR_FILE_EXISTS);
    if (setAside.empty()) return {};
    return " " + std::to_string(setAside.size()) + " file(s) that came in meanwhile kept in " + kConflictsFolder;
}

}  // namespace

SaveOutcome SaveStore(ItemStore& store, const std::string& dataFolder) {
    const std::string backup = dataFolder + "item_bak";
    const std::string live = dataFolder + "shortcuts";
    // A stale backup goes whole or not at all: the live store must never
    // stand beside a part of one.
    DiscardFolder(backup);
    if (!RenameFolder(live, backup)) return SaveOutcome{false, RenameRefused(dataFolder)};
    StoreFingerprint written;
    std::vector<std::string> setAside;
    std::string keptNote;
    try {
        // Written over nothing: what comes in from elsewhere meanwhile is
        // kept, and the print is of these writes, not of whatever is on disk
        // afterwards.
        WriteRecord record(live + "\\", dataFolder + kConflictsFolder);
        try {
            if (!CreateFolder(live)) RaiseInOutError("Cannot create", live);
            store.WriteItemListFile(store.TopAnchor(), live);
        } catch (const EInOutError&) {
            // The partial store goes: what came in from elsewhere must not go with it.
            keptNote = SetAsideNote(record.KeepOthers());
            throw;
        }
        written = PrintOfWrites(record.Entries(), live + "\\");
        setAside = record.SetAside();
    } catch (const EInOutError& e) {
        // Nothing is lost yet: the old store is whole in item_bak\.
        return SaveOutcome{false, RestoreBackup(dataFolder, e) + keptNote};
    }
    // Not deleted in place: a kill half-way would leave a partial backup that
    // the next start offers to restore over the complete new store. Every
    // file above was flushed before this.
    const bool dropped = DropBackup(backup);
    // Anything on disk that differs from these writes came from elsewhere.
    store.onDisk = written;
    if (!dropped)
        return SaveOutcome{true,
                           "Save succesful! The backup item_bak\\ could not be removed yet." + SetAsideNote(setAside)};
    if (!setAside.empty()) return SaveOutcome{true, "Save succesful!" + SetAsideNote(setAside)};
    return SaveOutcome{true, "Save succesful!"};
}

}  // namespace rz
