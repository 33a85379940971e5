#include "items/LauncherSearch.h"

#include <algorithm>

#include "items/ItemStore.h"
#include "items/LauncherParts.h"
#include "support/UcvMenus.h"

namespace rz {

std::string FileNameOfPath(const std::string& path) {
    size_t end = path.size();
    while (end > 0 && path[end - 1] == '\\') --end;
    const size_t cut = path.find_last_of("\\:", end == 0 ? 0 : end - 1);
    const size_t start = cut == std::string::npos ? 0 : cut + 1;
    return start < end ? path.substr(start, end - start) : std::string();
}

void LauncherSearch::AddLevel(TMenuItem& level, int count, int depth, int folder) {
    for (int i = 0; i < count; ++i) {
        TMenuItem& entry = *level.Items(i);
        if (entry.Tag < 0) continue;  // separators, bar-maker and hidden entries
        if (entry.Count() > 0) {
            std::string path = WithoutAccelerators(entry.Caption);
            if (!folders_[folder].empty()) path = folders_[folder] + "\\" + path;
            folders_.push_back(std::move(path));
            AddLevel(entry, entry.Count(), depth + 1, static_cast<int>(folders_.size()) - 1);
            continue;
        }
        index_.Add(WithoutAccelerators(entry.Caption), FileNameOfPath(launcher_.PathOfItem(entry.Tag)), depth);
        entries_.push_back(&entry);
        folderOf_.push_back(folder);
    }
}

void LauncherSearch::BuildIfStale() {
    if (built_ && builtFor_ == launcher_.MenuLoads()) return;
    index_.Clear();
    entries_.clear();
    folderOf_.clear();
    folders_.assign(1, std::string());
    TMenuItem& root = launcher_.LauncherMenu().Items();
    // The user's top-level items come before the program's own tail; the
    // root counts them.
    const int userItems = std::clamp(root.Tag, 0, root.Count());
    AddLevel(root, userItems, 0, 0);
    built_ = true;
    builtFor_ = launcher_.MenuLoads();
}

std::vector<LauncherSearch::Result> LauncherSearch::Find(std::string_view query, size_t limit) {
    BuildIfStale();
    std::vector<Result> results;
    for (int i : index_.Find(query, limit)) results.push_back({entries_[i], &folders_[folderOf_[i]]});
    return results;
}

}  // namespace rz
