#pragma once
// Stores whose program items name programs that exist, as a user's do: a few
// of the system's, or many distinct program files (copies of one small
// program with an icon) generated beside the store.

#include <string>
#include <vector>

#include "StoreGenerator.h"

namespace rzbench {

// The system's own programs that every Windows has.
std::vector<std::string> SystemPrograms();

// count copies of the program at from, as folder + "tool0001.exe" and on;
// their paths.
std::vector<std::string> CopyPrograms(const std::string& from, int count, const std::string& folder);

// 30 top-level items, a folder of 500 and the rest in folders of 100 on the
// top level (items counts the items, not the folders); every fifth item a
// program, taken from programs in turn, the others documents that need not
// exist.
GeneratedStore GenerateProgramStore(int items, const std::vector<std::string>& programs, const std::string& dataFolder);

}  // namespace rzbench
