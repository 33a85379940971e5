#pragma once
// The save protocol: the store is set aside as the backup, written anew,
// and the backup removed only once every file of the new store is on disk
// whole; a failed write puts the old store back. A file that another
// program puts into the new store before the save writes it moves to
// item_conflicts\ rather than being written over; the store's print is
// that of the save's own writes, so any later difference is an outside
// change. Knows no window: it says how it went, the manager shows it.

#include <string>

namespace rz {

class ItemStore;

struct SaveOutcome {
    bool saved = false;
    std::string message;  // for the status line
};

// Writes the store's tree, from its top anchor, into dataFolder's shortcuts\.
SaveOutcome SaveStore(ItemStore& store, const std::string& dataFolder);

}  // namespace rz
