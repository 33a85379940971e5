#pragma once
// Text the user types into the manager's fields: the item list's two
// delimiters never reach an item, and a field rewritten while the user types
// keeps the caret where the typing goes on.

#include <string>

namespace rz {

// Without every "^" and "|".
std::string WithoutDelimiters(const std::string& text);
// text without the characters listed in drop.
std::string WithoutCharacters(const std::string& text, const char* drop);
// Where a caret standing at caret in text stands once the characters listed
// in drop are removed from it.
int CaretWithout(const std::string& text, int caret, const char* drop);

inline constexpr char kListDelimiters[] = "^|";

}  // namespace rz
