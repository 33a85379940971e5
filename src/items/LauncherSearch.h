#pragma once
// The search over the launcher menu: every item and folder of the user's
// tree and the program's own entries of the menu's tail, indexed on first
// use after each load, so that a user who never searches pays nothing for
// it. Items launched lately rank higher.

#include <string>
#include <string_view>
#include <vector>

#include "items/ItemSearch.h"
#include "platform/Menu.h"

namespace rz {

class LauncherMenuParts;

class LauncherSearch {
public:
    explicit LauncherSearch(LauncherMenuParts& launcher) : launcher_(launcher) {}

    enum class Kind { Item, Folder, Own };
    struct Result {
        TMenuItem* entry;
        // The captions of the folders above it, "\" between them.
        const std::string* folder;
        Kind kind;
    };
    // The best limit matches; total, if given, receives the number of all.
    std::vector<Result> Find(std::string_view query, size_t limit, size_t* total = nullptr);

private:
    void BuildIfStale();
    // Items launched lately rank higher: their boosts follow the history.
    void BoostLaunched();
    void AddLevel(TMenuItem& level, int count, int depth, int folder);
    void AddOwnEntries(TMenuItem& root, int userItems);
    void AddEntry(TMenuItem& entry, const std::string& fileName, int depth, int folder, Kind kind);
    int AddFolderPath(int parent, const TMenuItem& folder);

    LauncherMenuParts& launcher_;
    bool built_ = false;
    unsigned builtFor_ = 0;
    bool boosted_ = false;
    unsigned boostedFor_ = 0;
    SearchIndex index_;
    std::vector<TMenuItem*> entries_;
    std::vector<int> folderOf_;
    std::vector<Kind> kinds_;
    std::vector<std::string> folders_;
};

// The name a path ends in: the file, or the last folder of a directory path.
std::string FileNameOfPath(const std::string& path);

}  // namespace rz
