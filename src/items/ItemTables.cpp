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

ItemTables::AddedRows ItemTables::RowsSince(const RowsEnd& from) const {
    AddedRows rows{from, End(), {}, {}, {}};
    for (int i = from.paths; i < paths.Length(); ++i) rows.paths.push_back(paths[i]);
    for (int i = from.paramRows; i < paramIds.Length(); ++i) {
        rows.paramIds.push_back(paramIds[i]);
        rows.params.push_back(params[i]);
    }
    return rows;
}

void ItemTables::TakeBack(const AddedRows& rows) {
    paths.TruncateTo(rows.from.paths);
    paramIds.TruncateTo(rows.from.paramRows);
    params.TruncateTo(rows.from.paramRows);
    nextItemId = rows.from.nextItemId;
}

void ItemTables::PutBack(const AddedRows& rows) {
    // Only onto the very end they were taken from: ids are row numbers.
    if (End() != rows.from) return;
    for (const std::string& p : rows.paths) AppendString(paths, p);
    for (size_t i = 0; i < rows.paramIds.size(); ++i) {
        AppendString(paramIds, rows.paramIds[i]);
        AppendString(params, rows.params[i]);
    }
    nextItemId = rows.to.nextItemId;
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
