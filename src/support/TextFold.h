#pragma once
// Text folded for searching: case and accents set aside, so that "Édition"
// and "edition" compare equal. Works on UTF-8 and gives UTF-8; pure ASCII
// text is folded byte by byte without any conversion.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace rz {

std::string FoldForSearch(std::string_view text);

// The same folding, character by character, noting for every folded byte
// where the character it came from starts and ends in text: what was found
// in folded text can then be marked in the text as shown.
struct FoldedText {
    std::string text;
    std::vector<uint32_t> from, to;
};
FoldedText FoldForSearchMapped(std::string_view text);

// Bytes of the UTF-8 character that starts with lead (1 for a stray byte).
size_t Utf8Length(unsigned char lead);

}  // namespace rz
