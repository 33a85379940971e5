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
    boosted_ = false;
}

void LauncherSearch::BoostLaunched() {
    const LaunchHistory& history = launcher_.Launches();
    if (boosted_ && boostedFor_ == history.Version()) return;
    index_.ClearBoosts();
    // The history is small and the tree may be large: only items whose path
    // it knows are looked at closer.
    if (history.Size() > 0) {
        for (size_t i = 0; i < entries_.size(); ++i) {
            const TMenuItem& entry = *entries_[i];
            const std::string path = launcher_.PathOfItem(entry.Tag);
            if (!history.KnowsPath(path)) continue;
            const double score = history.Score(path, launcher_.ParamsOfItem(entry.Tag), entry.Caption);
            index_.SetBoost(static_cast<int>(i), BoostOfScore(score));
        }
    }
    boosted_ = true;
    boostedFor_ = history.Version();
}

std::vector<LauncherSearch::Result> LauncherSearch::Find(std::string_view query, size_t limit, size_t* total) {
    BuildIfStale();
    BoostLaunched();
    std::vector<Result> results;
    for (int i : index_.Find(query, limit, total)) results.push_back({entries_[i], &folders_[folderOf_[i]]});
    return results;
}

}  // namespace rz
