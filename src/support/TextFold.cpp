#include "support/TextFold.h"

#include <windows.h>

#include <algorithm>

#include "platform/TextCodePage.h"

namespace rz {

namespace {

bool IsAscii(std::string_view text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

bool IsCombiningMark(wchar_t c) { return c >= 0x0300 && c <= 0x036F; }

// Letters that carry their mark in the letter itself, so decomposing leaves
// them whole.
const wchar_t* LigatureOf(wchar_t c) {
    switch (c) {
        case L'\u00DF': return L"ss";
        case L'\u00E6': return L"ae";
        case L'\u0153': return L"oe";
        case L'\u00F8': return L"o";
        case L'\u0111': return L"d";
        case L'\u0142': return L"l";
        case L'\u0131': return L"i";
        case L'\u00F0': return L"d";
        case L'\u00FE': return L"th";
        default: return nullptr;
    }
}

// Base letters and their marks apart; the text as it was where the system cannot.
std::wstring Decomposed(const std::wstring& text) {
    const int size = static_cast<int>(text.size());
    int n = ::FoldStringW(MAP_COMPOSITE, text.c_str(), size, nullptr, 0);
    if (n <= 0) return text;
    std::wstring out(static_cast<size_t>(n), L'\0');
    n = ::FoldStringW(MAP_COMPOSITE, text.c_str(), size, out.data(), n);
    if (n <= 0) return text;
    out.resize(static_cast<size_t>(n));
    return out;
}

}  // namespace

std::string FoldForSearch(std::string_view text) {
    std::string out(text);
    if (IsAscii(text)) {
        for (char& c : out)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        return out;
    }
    std::wstring wide = ToUtf16(out);
    if (wide.empty()) return out;
    ::CharLowerBuffW(wide.data(), static_cast<DWORD>(wide.size()));
    std::wstring folded;
    folded.reserve(wide.size());
    for (wchar_t c : Decomposed(wide)) {
        if (IsCombiningMark(c)) continue;
        if (const wchar_t* plain = LigatureOf(c)) folded += plain;
        else folded += c;
    }
    return FromUtf16(folded);
}

size_t Utf8Length(unsigned char lead) {
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    if (lead >= 0xE0) return lead <= 0xEF ? 3 : 1;
    return lead >= 0xC2 ? 2 : 1;
}

FoldedText FoldForSearchMapped(std::string_view text) {
    FoldedText out;
    out.text.reserve(text.size());
    for (size_t at = 0; at < text.size();) {
        const size_t size = std::min(Utf8Length(static_cast<unsigned char>(text[at])), text.size() - at);
        const std::string folded = FoldForSearch(text.substr(at, size));
        out.text += folded;
        out.from.insert(out.from.end(), folded.size(), static_cast<uint32_t>(at));
        out.to.insert(out.to.end(), folded.size(), static_cast<uint32_t>(at + size));
        at += size;
    }
    return out;
}

}  // namespace rz
