#include "items/SearchMatch.h"

#include <algorithm>

#include "support/TextFold.h"

namespace rz {

namespace {

// Longer words are never forgiven a typo; they are rare and would cost the most.
constexpr size_t kMaxTypoLetters = 64;

bool IsWordChar(char c) {
    const auto u = static_cast<unsigned char>(c);
    // Bytes of characters beyond ASCII count as letters.
    return u >= 0x80 || (u >= '0' && u <= '9') || (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z');
}

// A word starts the text or follows a character that is not a letter or digit.
bool IsWordStart(std::string_view text, size_t at) { return at == 0 || !IsWordChar(text[at - 1]); }

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 0x20 || c == 0x7F; }

char32_t DecodeAt(std::string_view text, size_t& at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    const size_t size = std::min(Utf8Length(lead), text.size() - at);
    if (size == 1) return text[at++] & 0xFF;
    char32_t c = lead & (0xFF >> (size + 1));
    for (size_t i = 1; i < size; ++i) c = (c << 6) | (text[at + i] & 0x3F);
    at += size;
    return c;
}

uint64_t BitOf(char32_t c) {
    if (c >= 'a' && c <= 'z') return uint64_t(1) << (c - 'a');
    if (c >= '0' && c <= '9') return uint64_t(1) << (26 + c - '0');
    if (c >= 0x80) return uint64_t(1) << (36 + c % 28);
    return 0;
}

SearchRank RankOf(std::string_view text, std::string_view word, bool isCaption) {
    size_t at = text.find(word);
    if (at == std::string_view::npos) return SearchRank::None;
    if (at == 0) return isCaption ? SearchRank::CaptionPrefix : SearchRank::WordPrefix;
    for (; at != std::string_view::npos; at = text.find(word, at + 1))
        if (IsWordStart(text, at)) return SearchRank::WordPrefix;
    return SearchRank::Substring;
}

// Where each character of word goes in text, in order: right after the one
// before where it can, else at a word start, else the first place left.
// False when the letters are not in text in that order, or the word has
// more than kMaxPlaced characters. Allocates nothing: most texts get here.
constexpr size_t kMaxPlaced = 64;
struct Placed {
    size_t count = 0;
    std::pair<size_t, size_t> at[kMaxPlaced];  // byte offset and size of each character
};

bool PlaceLetters(std::string_view text, std::string_view word, Placed& placed, bool& atWordStarts) {
    auto& places = placed.at;
    size_t count = 0, at = 0;
    // Most texts fail here, in one pass.
    for (size_t k = 0; k < word.size(); ++count) {
        const size_t size = Utf8Length(static_cast<unsigned char>(word[k]));
        if (count == kMaxPlaced) return false;
        at = text.find(word.substr(k, size), at);
        if (at == std::string_view::npos) return false;
        places[count] = {at, size};
        at += size;
        k += size;
    }
    placed.count = count;
    // The last place each character can take with the rest still fitting after it.
    size_t latest[kMaxPlaced];
    size_t end = text.size(), k = word.size();
    for (size_t i = count; i-- > 0;) {
        const size_t size = places[i].second;
        k -= size;
        end = text.rfind(word.substr(k, size), end - size);
        latest[i] = end;
    }
    atWordStarts = true;
    size_t next = 0;
    k = 0;
    for (size_t i = 0; i < count; ++i) {
        const std::string_view c = word.substr(k, places[i].second);
        k += c.size();
        size_t chosen = text.find(c, next);
        const bool follows = i > 0 && chosen == next;
        if (!follows && !IsWordStart(text, chosen)) {
            for (size_t p = text.find(c, chosen + 1); p != std::string_view::npos && p <= latest[i];
                 p = text.find(c, p + 1))
                if (IsWordStart(text, p)) {
                    chosen = p;
                    break;
                }
        }
        atWordStarts = atWordStarts && (follows || IsWordStart(text, chosen));
        places[i].first = chosen;
        next = chosen + c.size();
    }
    return true;
}

// q[qi..] equals t[ti..] for as long as q lasts.
bool RestEqual(const std::u32string& q, size_t qi, const char32_t* t, size_t tn, size_t ti) {
    if (qi > q.size() || ti > tn || q.size() - qi > tn - ti) return false;
    return std::equal(q.begin() + static_cast<std::ptrdiff_t>(qi), q.end(), t + ti);
}

// How many letters of t a prefix within one edit (a letter changed, added,
// left out, or two swapped) of q takes; -1 when no prefix is that close.
int LettersWithinOneEdit(const std::u32string& q, const char32_t* t, size_t tn) {
    const size_t n = q.size();
    size_t i = 0;
    while (i < n && i < tn && q[i] == t[i]) ++i;
    if (i == n) return static_cast<int>(n);
    if (RestEqual(q, i + 1, t, tn, i + 1)) return static_cast<int>(n);
    if (RestEqual(q, i + 1, t, tn, i)) return static_cast<int>(n - 1);
    if (RestEqual(q, i, t, tn, i + 1)) return static_cast<int>(n + 1);
    if (i + 1 < n && i + 1 < tn && q[i] == t[i + 1] && q[i + 1] == t[i] && RestEqual(q, i + 2, t, tn, i + 2))
        return static_cast<int>(n);
    return -1;
}

// The first word of text whose beginning is within one edit of the word:
// where it starts and the bytes that matched; npos when there is none.
std::pair<size_t, size_t> TypoPrefix(std::string_view text, const QueryWord& word) {
    const std::u32string& q = word.letters;
    char32_t letters[kMaxTypoLetters + 1];
    size_t ends[kMaxTypoLetters + 1];
    for (size_t start = 0; start < text.size(); ++start) {
        if (!IsWordChar(text[start]) || !IsWordStart(text, start)) continue;
        size_t count = 0, at = start;
        const auto decode = [&](size_t upTo) {
            for (; at < text.size() && count < upTo; ++count) {
                letters[count] = DecodeAt(text, at);
                ends[count] = at;
            }
        };
        // A prefix one edit away starts with one of the word's first two letters.
        decode(2);
        const bool near =
            letters[0] == q[0] || letters[0] == q[1] || (count > 1 && (letters[1] == q[0] || letters[1] == q[1]));
        if (!near) continue;
        decode(q.size() + 1);
        const int used = LettersWithinOneEdit(q, letters, count);
        if (used > 0) return {start, ends[used - 1] - start};
    }
    return {std::string_view::npos, 0};
}

}  // namespace

uint64_t LetterMask(std::string_view folded) {
    uint64_t mask = 0;
    for (size_t at = 0; at < folded.size();) mask |= BitOf(DecodeAt(folded, at));
    return mask;
}

uint64_t WordStartMask(std::string_view folded) {
    uint64_t mask = 0;
    for (size_t start = 0; start < folded.size(); ++start) {
        if (!IsWordChar(folded[start]) || !IsWordStart(folded, start)) continue;
        size_t at = start;
        mask |= BitOf(DecodeAt(folded, at));
        if (at < folded.size()) mask |= BitOf(DecodeAt(folded, at));
    }
    return mask;
}

std::vector<QueryWord> SplitQuery(std::string_view folded) {
    std::vector<QueryWord> words;
    for (size_t at = 0; at < folded.size();) {
        if (IsBlank(folded[at])) {
            ++at;
            continue;
        }
        size_t end = at;
        while (end < folded.size() && !IsBlank(folded[end])) ++end;
        QueryWord word;
        word.text = std::string(folded.substr(at, end - at));
        at = end;
        if (std::any_of(words.begin(), words.end(), [&](const QueryWord& w) { return w.text == word.text; })) continue;
        for (size_t i = 0; i < word.text.size();) word.letters += DecodeAt(word.text, i);
        word.mask = LetterMask(word.text);
        word.typoAllowed = word.letters.size() >= 4 && word.letters.size() <= kMaxTypoLetters;
        const uint64_t first = BitOf(word.letters[0]), second = word.letters.size() > 1 ? BitOf(word.letters[1]) : 0;
        // A letter without a bit of its own could be anywhere.
        word.startBits = first && second ? first | second : ~uint64_t(0);
        words.push_back(std::move(word));
    }
    return words;
}

WordMatch MatchWord(std::string_view caption, std::string_view file, const QueryWord& word, bool exactPossible,
                    bool typoPossible) {
    if (exactPossible) {
        SearchRank rank = RankOf(caption, word.text, true);
        if (rank > SearchRank::WordPrefix) rank = std::min(rank, RankOf(file, word.text, false));
        if (rank == SearchRank::None) {
            Placed placed;
            bool atWordStarts = false;
            if (PlaceLetters(caption, word.text, placed, atWordStarts))
                rank = atWordStarts ? SearchRank::WordStarts : SearchRank::LettersInOrder;
        }
        if (rank != SearchRank::None) return {rank, false};
    }
    if (word.typoAllowed && typoPossible &&
        (TypoPrefix(caption, word).first != std::string_view::npos ||
         TypoPrefix(file, word).first != std::string_view::npos))
        return {SearchRank::WordPrefix, true};
    return {};
}

std::vector<std::pair<size_t, size_t>> MatchedParts(std::string_view caption, std::string_view query) {
    const FoldedText folded = FoldForSearchMapped(caption);
    const std::string_view text = folded.text;
    std::vector<std::pair<size_t, size_t>> found;
    Placed placed;
    for (const QueryWord& word : SplitQuery(FoldForSearch(query))) {
        size_t at = text.find(word.text);
        for (size_t p = at; p != std::string_view::npos; p = text.find(word.text, p + 1))
            if (IsWordStart(text, p)) {
                at = p;
                break;
            }
        bool atWordStarts = false;
        if (at != std::string_view::npos) {
            found.emplace_back(at, word.text.size());
        } else if (PlaceLetters(text, word.text, placed, atWordStarts)) {
            found.insert(found.end(), placed.at, placed.at + placed.count);
        } else if (word.typoAllowed) {
            const auto [start, size] = TypoPrefix(text, word);
            if (start != std::string_view::npos) found.emplace_back(start, size);
        }
    }
    // From folded bytes to the characters of the caption they came from.
    std::vector<std::pair<size_t, size_t>> parts;
    for (const auto& [start, size] : found)
        if (size > 0) parts.emplace_back(folded.from[start], folded.to[start + size - 1]);
    std::sort(parts.begin(), parts.end());
    std::vector<std::pair<size_t, size_t>> merged;
    for (const auto& part : parts) {
        if (!merged.empty() && part.first <= merged.back().second)
            merged.back().second = std::max(merged.back().second, part.second);
        else merged.push_back(part);
    }
    return merged;
}

}  // namespace rz
