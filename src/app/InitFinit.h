#pragma once
// The program's life cycle: the single-instance guard, start-up, the reload
// after the item manager saved, and the orderly end.

#include <string>

namespace rz {

// The guard and, in the first instance only, StartUp. Returns the start flag.
bool GuardAndStart();
void ReleaseInstanceGuard();

void StartUp();
void ReloadItems();
void ShutDown();
// False when the user chose Cancel: the program ends and nothing is loaded.
bool ResolveLeftoverBackup();

// Tests run start-up in a folder of their own instead of the program's.
void OverrideDataFolder(const std::string& folder);

}  // namespace rz
