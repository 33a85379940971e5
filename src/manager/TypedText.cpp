#include "manager/TypedText.h"

#include <algorithm>
#include <string_view>

namespace rz {

namespace {
bool Dropped(const char* drop, char c) { return std::string_view(drop).find(c) != std::string_view::npos; }
}  // namespace

std::string WithoutCharacters(const std::string& text, const char* drop) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (!Dropped(drop, c)) out += c;
    }
    return out;
}

std::string WithoutDelimiters(const std::string& text) { return WithoutCharacters(text, kListDelimiters); }

int CaretWithout(const std::string& text, int caret, const char* drop) {
    const int end = std::clamp(caret, 0, static_cast<int>(text.size()));
    int kept = 0;
    for (int i = 0; i < end; ++i) {
        if (!Dropped(drop, text[i])) ++kept;
    }
    return kept;
}

}  // namespace rz
