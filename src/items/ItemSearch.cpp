#include "items/ItemSearch.h"

#include <algorithm>

#include "support/TextFold.h"

namespace rz {

namespace {

// Learning reorders a prefix match only among prefix matches: it never lifts
// an item over a better kind of match.
int KindGroup(SearchRank rank) {
    switch (rank) {
        case SearchRank::CaptionPrefix:
        case SearchRank::WordPrefix: return 0;
        case SearchRank::Substring: return 1;
        case SearchRank::WordStarts: return 2;
        default: return 3;
    }
}

// Typo, kind group, boost (highest first), rank, the program's own last,
// depth, tree order.
uint64_t SortKey(bool typo, SearchRank rank, uint16_t boost, bool own, uint16_t depth, int entry) {
    return (uint64_t(typo) << 63) | (uint64_t(KindGroup(rank)) << 60) | (uint64_t(0xFFFF - boost) << 44) |
           (uint64_t(rank) << 41) | (uint64_t(own) << 40) | (uint64_t(std::min<uint16_t>(depth, 0xFF)) << 32) |
           uint32_t(entry);
}

}  // namespace

std::string_view FileStem(std::string_view fileName) {
    const size_t dot = fileName.rfind('.');
    return dot == std::string_view::npos || dot == 0 ? fileName : fileName.substr(0, dot);
}

void SearchIndex::Clear() {
    entries_.clear();
    text_.clear();
}

void SearchIndex::Reserve(size_t entries) {
    entries_.reserve(entries);
    text_.reserve(entries * 32);
}

void SearchIndex::Add(std::string_view caption, std::string_view fileName, int depth, bool own) {
    Entry e{};
    const std::string foldedCaption = FoldForSearch(caption);
    const std::string foldedFile = FoldForSearch(FileStem(fileName));
    e.caption = static_cast<uint32_t>(text_.size());
    e.captionSize = static_cast<uint32_t>(foldedCaption.size());
    text_ += foldedCaption;
    e.file = static_cast<uint32_t>(text_.size());
    e.fileSize = static_cast<uint32_t>(foldedFile.size());
    text_ += foldedFile;
    e.mask = LetterMask(foldedCaption) | LetterMask(foldedFile);
    e.startMask = WordStartMask(foldedCaption) | WordStartMask(foldedFile);
    e.depth = static_cast<uint16_t>(std::clamp(depth, 0, 0xFFFF));
    e.own = own;
    entries_.push_back(e);
}

void SearchIndex::SetBoost(int entry, uint16_t boost) {
    if (entry >= 0 && entry < Size()) entries_[entry].boost = boost;
}

void SearchIndex::ClearBoosts() {
    for (Entry& e : entries_) e.boost = 0;
}

bool SearchIndex::Matches(int entry, const std::vector<QueryWord>& words, SearchRank& worst, bool& typo) const {
    const Entry& e = entries_[entry];
    worst = SearchRank::CaptionPrefix;
    typo = false;
    // A letter the texts lack rules out an exact match at the cost of one
    // instruction: most entries end here.
    for (const QueryWord& word : words) {
        const int missing = __builtin_popcountll(word.mask & ~e.mask);
        if (missing > (word.typoAllowed ? 1 : 0)) return false;
    }
    const std::string_view caption = Text(e.caption, e.captionSize), file = Text(e.file, e.fileSize);
    for (const QueryWord& word : words) {
        const WordMatch m =
            MatchWord(caption, file, word, (word.mask & ~e.mask) == 0, (word.startBits & e.startMask) != 0);
        if (m.rank == SearchRank::None) return false;
        worst = std::max(worst, m.rank);
        typo = typo || m.typo;
    }
    return true;
}

std::vector<int> SearchIndex::Find(std::string_view query, size_t limit, size_t* total) const {
    const std::vector<QueryWord> words = SplitQuery(FoldForSearch(query));
    std::vector<uint64_t> keys;
    if (!words.empty()) {
        SearchRank rank = SearchRank::None;
        bool typo = false;
        for (int i = 0; i < Size(); ++i)
            if (Matches(i, words, rank, typo))
                keys.push_back(SortKey(typo, rank, entries_[i].boost, entries_[i].own, entries_[i].depth, i));
    }
    if (total) *total = keys.size();
    const size_t n = std::min(limit, keys.size());
    std::partial_sort(keys.begin(), keys.begin() + static_cast<std::ptrdiff_t>(n), keys.end());
    std::vector<int> found;
    found.reserve(n);
    for (size_t i = 0; i < n; ++i) found.push_back(static_cast<int>(keys[i] & 0xFFFFFFFFu));
    return found;
}

}  // namespace rz
