#include "items/ItemSearch.h"

#include <algorithm>

#include "support/TextFold.h"

namespace rz {

namespace {

bool IsWordChar(char c) {
    const auto u = static_cast<unsigned char>(c);
    // Bytes of characters beyond ASCII count as letters.
    return u >= 0x80 || (u >= '0' && u <= '9') || (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z');
}

bool LettersInOrder(std::string_view text, std::string_view query) {
    size_t q = 0;
    for (size_t i = 0; i < text.size() && q < query.size(); ++i)
        if (text[i] == query[q]) ++q;
    return q == query.size();
}

// Places the kinds of ranks before depth and depth before tree order.
uint64_t SortKey(SearchRank rank, uint32_t depth, int entry) {
    return (uint64_t(rank) << 48) | (uint64_t(std::min<uint32_t>(depth, 0xFFFF)) << 32) | uint32_t(entry);
}

// How text answers query, both folded, when its letters are known to be in
// order. A word starts the text or follows a character that is not a letter
// or digit; a file name is a word of its own.
SearchRank RankOf(std::string_view text, std::string_view query, bool wholeIsCaption) {
    size_t at = text.find(query);
    if (at == std::string_view::npos) return SearchRank::LettersInOrder;
    if (at == 0) return wholeIsCaption ? SearchRank::CaptionPrefix : SearchRank::WordPrefix;
    for (; at != std::string_view::npos; at = text.find(query, at + 1))
        if (!IsWordChar(text[at - 1])) return SearchRank::WordPrefix;
    return SearchRank::Substring;
}

}  // namespace

void SearchIndex::Clear() {
    entries_.clear();
    text_.clear();
}

void SearchIndex::Reserve(size_t entries) {
    entries_.reserve(entries);
    text_.reserve(entries * 32);
}

void SearchIndex::Add(std::string_view caption, std::string_view fileName, int depth) {
    Entry e{};
    const std::string foldedCaption = FoldForSearch(caption);
    const std::string foldedFile = FoldForSearch(fileName);
    e.caption = static_cast<uint32_t>(text_.size());
    e.captionSize = static_cast<uint32_t>(foldedCaption.size());
    text_ += foldedCaption;
    e.file = static_cast<uint32_t>(text_.size());
    e.fileSize = static_cast<uint32_t>(foldedFile.size());
    text_ += foldedFile;
    e.depth = static_cast<uint32_t>(std::max(depth, 0));
    entries_.push_back(e);
}

SearchRank SearchIndex::RankOfEntry(int entry, std::string_view q) const {
    const Entry& e = entries_[entry];
    const std::string_view caption = Text(e.caption, e.captionSize), file = Text(e.file, e.fileSize);
    // Every kind of match has the letters in order: most entries fail here,
    // in one pass over each text.
    const bool byCaption = LettersInOrder(caption, q), byFile = LettersInOrder(file, q);
    if (!byCaption && !byFile) return SearchRank::None;
    const SearchRank captionRank = byCaption ? RankOf(caption, q, true) : SearchRank::None;
    if (captionRank <= SearchRank::WordPrefix || !byFile) return captionRank;
    return std::min(captionRank, RankOf(file, q, false));
}

std::vector<int> SearchIndex::Find(std::string_view query, size_t limit) const {
    const std::string q = FoldForSearch(query);
    std::vector<int> found;
    if (q.empty() || limit == 0) return found;
    std::vector<uint64_t> keys;
    for (int i = 0; i < Size(); ++i) {
        const SearchRank rank = RankOfEntry(i, q);
        if (rank != SearchRank::None) keys.push_back(SortKey(rank, entries_[i].depth, i));
    }
    const size_t n = std::min(limit, keys.size());
    std::partial_sort(keys.begin(), keys.begin() + static_cast<std::ptrdiff_t>(n), keys.end());
    found.reserve(n);
    for (size_t i = 0; i < n; ++i) found.push_back(static_cast<int>(keys[i] & 0xFFFFFFFFu));
    return found;
}

}  // namespace rz
