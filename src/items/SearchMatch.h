#pragma once
// How one word of a query meets an item's folded texts: its caption and its
// file name without the extension. Shared by the ranking, which wants the
// kind of match, and the list, which marks the letters that matched.

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace rz {

// Best first; the order of the values is the order of the results.
enum class SearchRank : int {
    CaptionPrefix = 0,
    WordPrefix = 1,
    Substring = 2,
    // Letters in order, each at a word start or right after the one before.
    WordStarts = 3,
    LettersInOrder = 4,
    None = 5,
};

// A word of a folded query. Words are separated by blanks and control
// characters, so a pasted line break is a blank too.
struct QueryWord {
    std::string text;
    std::u32string letters;
    uint64_t mask = 0;
    // One typo is forgiven in a word of four letters or more.
    bool typoAllowed = false;
    // Its first two letters: a text word one typo away starts with one of them.
    uint64_t startBits = 0;
};
// The distinct words of a folded query, in the order typed.
std::vector<QueryWord> SplitQuery(std::string_view folded);

// A bit for each letter or digit in folded text: a text that lacks a bit of
// a word cannot match it exactly, and lacks at most one if one typo does.
uint64_t LetterMask(std::string_view folded);
// The bits of the first two letters of every word of folded text.
uint64_t WordStartMask(std::string_view folded);

struct WordMatch {
    SearchRank rank = SearchRank::None;
    bool typo = false;
};
// The best match of word in caption or file (both folded); letters in order
// count only within the caption; a typo only where no exact match is.
// exactPossible false skips straight to the typo (the texts lack a letter),
// typoPossible false leaves it out (no word of the texts starts near it).
WordMatch MatchWord(std::string_view caption, std::string_view file, const QueryWord& word, bool exactPossible = true,
                    bool typoPossible = true);

// Byte ranges [first, second) of caption as given (not folded) that the
// query's words matched, sorted and merged.
std::vector<std::pair<size_t, size_t>> MatchedParts(std::string_view caption, std::string_view query);

}  // namespace rz
