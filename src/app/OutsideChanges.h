#pragma once
// Changes that reach the data folder from outside while the program runs -
// another computer's save or settings brought in by a sync service, an edit
// by hand - taken in once they have settled: the items are read again as
// after a save, the settings applied. Never in the middle of anything: the
// message loop takes them only between its own messages (not while a menu,
// a box or a dialog runs its loop), not while a save is under way, not over
// the item manager's unsaved edits and not while a window shows what they
// would change.

namespace rz {

// Watches App's data folder; a folder that cannot be watched is logged once
// and the program runs on without.
void StartWatchingDataFolder();
void StopWatchingDataFolder();
// A change was seen and is still to be looked at or taken in.
bool OutsideChangePending();

}  // namespace rz
