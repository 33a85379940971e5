#include "items/StoreFolders.h"

#include <windows.h>

#include "support/UcvSysIO.h"

namespace rz {

namespace {
// A discard folder that could not be deleted keeps its name: the next one
// takes the next number.
constexpr int kDiscardNames = 100;

std::string DiscardName(const std::string& parent, int n) {
    return parent + kDiscardFolderName + (n == 0 ? std::string() : std::to_string(n));
}
}  // namespace

bool DiscardFolder(const std::string& folder) {
    if (!DirectoryExists(folder)) return true;
    const std::string parent = folder.substr(0, folder.find_last_of('\\') + 1);
    RemoveDiscardedFolders(parent);
    for (int n = 0; n < kDiscardNames; ++n) {
        const std::string discard = DiscardName(parent, n);
        if (PathExists(discard)) continue;
        if (!::MoveFileA(folder.c_str(), discard.c_str())) return false;
        DeleteFolderTree(discard);
        return true;
    }
    return false;
}

void RemoveDiscardedFolders(const std::string& dataFolder) {
    for (int n = 0; n < kDiscardNames; ++n) {
        const std::string discard = DiscardName(dataFolder, n);
        if (DirectoryExists(discard)) DeleteFolderTree(discard);
    }
}

}  // namespace rz
