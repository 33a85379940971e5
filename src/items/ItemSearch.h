#pragma once
// Finding items by what the user types: every entry's caption and file name
// are folded once when added; a query is folded once and ranked against all
// of them. Knows no window, menu or store.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "items/SearchMatch.h"

namespace rz {

class SearchIndex {
public:
    void Clear();
    void Reserve(size_t entries);
    // Entries are numbered in the order added, which is the tree order. The
    // file name takes part without its extension. The program's own entries
    // come after the user's where the rest ties.
    void Add(std::string_view caption, std::string_view fileName, int depth, bool own = false);
    int Size() const { return static_cast<int>(entries_.size()); }

    // How much the user launched the entry lately (0: never). Among matches
    // of the same kind a higher boost comes first; a prefix of the caption
    // and a prefix of one of its words count as the same kind here.
    void SetBoost(int entry, uint16_t boost);
    void ClearBoosts();

    // The entries that match every word of the query, in any order: exact
    // matches before those with a typo, then by the kind of match, the
    // boost, the user's before the program's own, the depth and the tree
    // order; at most limit of them. total, if given, receives the number of
    // all matches. An empty query matches nothing.
    std::vector<int> Find(std::string_view query, size_t limit, size_t* total = nullptr) const;

private:
    bool Matches(int entry, const std::vector<QueryWord>& words, SearchRank& worst, bool& typo) const;
    struct Entry {
        uint32_t caption, captionSize, file, fileSize;
        uint64_t mask, startMask;
        uint16_t depth, boost;
        bool own;
    };
    std::string_view Text(uint32_t at, uint32_t size) const { return {text_.data() + at, size}; }
    std::vector<Entry> entries_;
    // All folded captions and file names, one after the other.
    std::string text_;
};

// A file name without its extension; a name that starts with its only dot is kept.
std::string_view FileStem(std::string_view fileName);

}  // namespace rz
