#include "items/ItemTables.h"

#include <algorithm>

namespace rz {

void ItemTables::Clear() {
    paths.Clear();
    paramIds.Clear();
    params.Clear();
    extensions.Clear();
    nextItemId = 0;
    keptParams_.clear();
}

void ItemTables::KeepParams() {
    keptParams_.clear();
    keptParams_.reserve(params.Length());
    for (int i = 0; i < params.Length(); ++i) keptParams_.push_back(params[i]);
}

void ItemTables::RestoreParams() {
    // Rows made since belong to entries that go with the same restore.
    const int kept = std::min(params.Length(), static_cast<int>(keptParams_.size()));
    for (int i = 0; i < kept; ++i)
        if (params[i] != keptParams_[i]) params.Set(i, keptParams_[i]);
}

const std::string& ItemTables::PathOf(int itemId) const {
    static const std::string kEmpty;
    return itemId >= 0 && itemId < paths.Length() ? paths[itemId] : kEmpty;
}

std::string ItemTables::ParamsOfItem(int itemId) const {
    int row = IndexOfString(paramIds, paramIds.High(), std::to_string(itemId));
    return row >= 0 ? params[row] : std::string();
}

bool ItemTables::HasParamRow(int itemId) const {
    return IndexOfString(paramIds, paramIds.High(), std::to_string(itemId)) >= 0;
}

void ItemTables::SetItemParams(int itemId, const std::string& parameters) {
    int row = IndexOfString(paramIds, paramIds.High(), std::to_string(itemId));
    if (row >= 0) params.Set(row, parameters);
}

int ItemTables::AddLink(const std::string& path, const std::string* parameters) {
    int id = nextItemId++;
    AppendString(paths, path);
    if (parameters) {
        AppendString(paramIds, std::to_string(id));
        AppendString(params, *parameters);
    }
    return id;
}

}  // namespace rz
