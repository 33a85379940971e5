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

void LauncherSearch::AddEntry(TMenuItem& entry, const std::string& fileName, int depth, int folder, Kind kind) {
    index_.Add(WithoutAccelerators(entry.Caption), fileName, depth, kind == Kind::Own);
    entries_.push_back(&entry);
    folderOf_.push_back(folder);
    kinds_.push_back(kind);
}

int LauncherSearch::AddFolderPath(int parent, const TMenuItem& folder) {
    std::string path = WithoutAccelerators(folder.Caption);
    if (!folders_[parent].empty()) path = folders_[parent] + "\\" + path;
    folders_.push_back(std::move(path));
    return static_cast<int>(folders_.size()) - 1;
}

void LauncherSearch::AddLevel(TMenuItem& level, int count, int depth, int folder) {
    for (int i = 0; i < count; ++i) {
        TMenuItem& entry = *level.Items(i);
        if (entry.Tag < 0) continue;  // separators, bar-maker and hidden entries
        if (entry.Count() > 0) {
            // Choosing a folder opens it: it is found like an item, before what it holds.
            AddEntry(entry, std::string(), depth, folder, Kind::Folder);
            AddLevel(entry, entry.Count(), depth + 1, AddFolderPath(folder, entry));
            continue;
        }
        AddEntry(entry, FileNameOfPath(launcher_.PathOfItem(entry.Tag)), depth, folder, Kind::Item);
    }
}

// The entries of "Razaveza Kit", the second of the tail's three; the Kit
// itself and Close are not for finding.
void LauncherSearch::AddOwnEntries(TMenuItem& root, int userItems) {
    if (root.Count() - userItems < 2) return;
    TMenuItem& kit = *root.Items(root.Count() - 2);
    const int folder = AddFolderPath(0, kit);
    for (int i = 0; i < kit.Count(); ++i) {
        TMenuItem& entry = *kit.Items(i);
        if (entry.Tag >= 0 && entry.Count() == 0 && entry.Visible) AddEntry(entry, std::string(), 1, folder, Kind::Own);
    }
}

void LauncherSearch::BuildIfStale() {
    if (built_ && builtFor_ == launcher_.MenuLoads()) return;
    index_.Clear();
    entries_.clear();
    folderOf_.clear();
    kinds_.clear();
    folders_.assign(1, std::string());
    TMenuItem& root = launcher_.LauncherMenu().Items();
    // The user's top-level items come before the program's own tail; the
    // root counts them.
    const int userItems = std::clamp(root.Tag, 0, root.Count());
    AddLevel(root, userItems, 0, 0);
    AddOwnEntries(root, userItems);
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
            // Only items are launched; a folder's or an own entry's Tag is no item id.
            if (kinds_[i] != Kind::Item) continue;
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
    for (int i : index_.Find(query, limit, total))
        results.push_back({entries_[i], &folders_[folderOf_[i]], kinds_[i]});
    return results;
}

}  // namespace rz
