#pragma once
// How the store on disk stands, to tell a change that came from elsewhere
// (another program, a sync service bringing another computer's save) from
// the store that was loaded or saved here: the names, sizes and times of
// its folders, list files and pictures. What sync services and editors
// leave beside those counts for nothing.

#include <string>
#include <vector>

#include "platform/FileIO.h"

namespace rz {

struct StoreFingerprint {
    bool present = false;  // shortcuts\ is there
    unsigned long long digest = 0;
    bool operator==(const StoreFingerprint&) const = default;
};

struct StoreLook {
    StoreFingerprint print;
    // A save is under way, this program's or another computer's on its way
    // in: item_bak\ is there, or a list file is open for writing.
    bool saving = false;
};

// dataFolder ends with "\". Asking whether list files are open for writing
// opens each of them once.
StoreLook LookAtStore(const std::string& dataFolder, bool askWriters = false);

// The print of the store folder (with its trailing "\") as these writes
// made it: what LookAtStore gives while nobody else has changed it since.
StoreFingerprint PrintOfWrites(const std::vector<WrittenEntry>& written, const std::string& storeFolder);

// A conflicted copy ("shortcuts (conflicted copy).txt", "x.sync-conflict-...
// .bmp"), a lock or owner file (".~lock.x#", "~$x"), a temporary or partial
// file, a sync service's own file or folder, desktop.ini and the like: one
// name, no path.
bool IsSyncLeftover(const std::string& name);

}  // namespace rz
