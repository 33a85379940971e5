#pragma once
// Text folded for searching: case and accents set aside, so that "Édition"
// and "edition" compare equal. Works on UTF-8 and gives UTF-8; pure ASCII
// text is folded byte by byte without any conversion.

#include <string>
#include <string_view>

namespace rz {

std::string FoldForSearch(std::string_view text);

}  // namespace rz
