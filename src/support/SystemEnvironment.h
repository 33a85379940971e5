#pragma once
// The environment the program hands to what it launches. A tray program
// runs for days: a variable the user set since its start (or a PATH entry a
// new tool added) reaches its launches only when it reads the registry
// again, as the shell does when the system announces the change.

#include <windows.h>

namespace rz {

// Reads the variables of the three keys (any may be null) into this
// process's environment in the order a new logon applies them: the
// system's, the user's, the session's; a REG_EXPAND_SZ value expanded
// against what came before it; PATH the system's followed by the user's.
// A name the keys held at the last reading and hold no more is removed;
// variables that never came from the keys stay as they are. The number of
// variables set.
int RefreshEnvironmentFrom(HKEY systemKey, HKEY userKey, HKEY volatileKey);
// The same from the machine's and the user's keys.
int RefreshEnvironment();
// What the registry holds now, as the base for the first refresh.
void NoteRegistryEnvironment();

}  // namespace rz
