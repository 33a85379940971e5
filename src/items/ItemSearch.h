#pragma once
// Finding items by what the user types: every entry's caption and file name
// are folded once when added; a query is folded once and ranked against all
// of them. Knows no window, menu or store.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace rz {

// Best first; the order of the values is the order of the results.
enum class SearchRank : int {
    CaptionPrefix = 0,
    WordPrefix = 1,
    Substring = 2,
    LettersInOrder = 3,
    None = 4,
};

class SearchIndex {
public:
    void Clear();
    void Reserve(size_t entries);
    // Entries are numbered in the order added, which is the tree order.
    void Add(std::string_view caption, std::string_view fileName, int depth);
    int Size() const { return static_cast<int>(entries_.size()); }

    // The entries that match, best rank first, then the shallowest, then in
    // tree order; at most limit of them. An empty query matches nothing.
    std::vector<int> Find(std::string_view query, size_t limit) const;

private:
    SearchRank RankOfEntry(int entry, std::string_view foldedQuery) const;
    struct Entry {
        uint32_t caption, captionSize, file, fileSize;
        uint32_t depth;
    };
    std::string_view Text(uint32_t at, uint32_t size) const { return {text_.data() + at, size}; }
    std::vector<Entry> entries_;
    // All folded captions and file names, one after the other.
    std::string text_;
};

}  // namespace rz
