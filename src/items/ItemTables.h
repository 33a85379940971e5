#pragma once
// The run-time tables that the tree and the menu cannot carry: full paths
// by item id, parameters of program items, and the extensions whose type
// icons are in the icon lists. Rows only grow until the next load.

#include <string>
#include <vector>

#include "support/UcvSysStr.h"

namespace rz {

class ItemTables {
public:
    TcvDynStringArray paths;
    TcvDynStringArray paramIds;
    TcvDynStringArray params;
    TcvDynStringArray extensions;
    int nextItemId = 0;

    void Clear();
    // Empty for an id that has no row.
    const std::string& PathOf(int itemId) const;
    std::string ParamsOfItem(int itemId) const;
    bool HasParamRow(int itemId) const;
    void SetItemParams(int itemId, const std::string& parameters);
    // The parameters as a load or a save leaves them, and back to them:
    // what the manager changed since is dropped with its other edits.
    void KeepParams();
    void RestoreParams();
    // Appends a path row (and a parameter row for program items); returns the new id.
    int AddLink(const std::string& path, const std::string* parameters);

    // The rows appended since a moment, to be taken back and put back in
    // the order they came (an edit undone and done again).
    struct RowsEnd {
        int paths = 0, paramRows = 0, nextItemId = 0;
        bool operator==(const RowsEnd&) const = default;
    };
    struct AddedRows {
        RowsEnd from, to;
        std::vector<std::string> paths, paramIds, params;
    };
    RowsEnd End() const { return RowsEnd{paths.Length(), paramIds.Length(), nextItemId}; }
    AddedRows RowsSince(const RowsEnd& from) const;
    void TakeBack(const AddedRows& rows);
    void PutBack(const AddedRows& rows);

private:
    std::vector<std::string> keptParams_;
};

}  // namespace rz
