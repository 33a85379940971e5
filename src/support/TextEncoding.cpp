#include "support/TextEncoding.h"

#include <windows.h>

#include <algorithm>

#include "support/UcvSysStr.h"

namespace rz {

namespace {
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16Mark = "\xFF\xFE";

bool StartsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

// Length of the sequence that starts with lead and the lowest and highest
// second byte it allows (overlong forms and surrogates are not UTF-8).
struct Lead {
    int length;
    unsigned char low, high;
};
Lead LeadOf(unsigned char c) {
    if (c >= 0xC2 && c <= 0xDF) return {2, 0x80, 0xBF};
    if (c == 0xE0) return {3, 0xA0, 0xBF};
    if (c == 0xED) return {3, 0x80, 0x9F};
    if (c >= 0xE1 && c <= 0xEF) return {3, 0x80, 0xBF};
    if (c == 0xF0) return {4, 0x90, 0xBF};
    if (c >= 0xF1 && c <= 0xF3) return {4, 0x80, 0xBF};
    if (c == 0xF4) return {4, 0x80, 0x8F};
    return {0, 0, 0};
}

std::string Utf8FromUtf16(std::string_view bytes) {
    std::wstring wide(bytes.size() / 2, L'\0');
    for (size_t i = 0; i < wide.size(); ++i)
        wide[i] = static_cast<wchar_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                       static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
    return FromWide(wide, CP_UTF8);
}
}  // namespace

bool IsAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

bool IsValidUtf8(std::string_view text) {
    for (size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            ++i;
            continue;
        }
        const Lead lead = LeadOf(c);
        if (lead.length == 0 || i + lead.length > text.size()) return false;
        const unsigned char second = static_cast<unsigned char>(text[i + 1]);
        if (second < lead.low || second > lead.high) return false;
        for (int k = 2; k < lead.length; ++k) {
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
        }
        i += static_cast<size_t>(lead.length);
    }
    return true;
}

std::string Utf8FromFileBytes(std::string bytes, unsigned legacyCodePage) {
    if (StartsWith(bytes, kUtf8Mark)) return bytes.erase(0, kUtf8Mark.size());
    if (StartsWith(bytes, kUtf16Mark)) return Utf8FromUtf16(std::string_view(bytes).substr(kUtf16Mark.size()));
    if (IsValidUtf8(bytes)) return bytes;
    return FromWide(ToWide(bytes, legacyCodePage), CP_UTF8);
}

std::string FileBytesFromUtf8(std::string text) {
    if (IsAscii(text)) return text;
    return text.insert(0, kUtf8Mark);
}

unsigned LegacyAnsiCodePage() {
    DWORD codePage = 0;
    const int got = ::GetLocaleInfoW(LOCALE_SYSTEM_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE | LOCALE_RETURN_NUMBER,
                                     reinterpret_cast<LPWSTR>(&codePage), sizeof(codePage) / sizeof(WCHAR));
    // Locales written only in Unicode have none (0): Western is the likeliest.
    return got && codePage != CP_ACP && codePage != CP_UTF8 ? codePage : 1252;
}

std::string TextFromFileBytes(std::string bytes) {
    if (::GetACP() == CP_UTF8) return Utf8FromFileBytes(std::move(bytes), LegacyAnsiCodePage());
    if (!StartsWith(bytes, kUtf8Mark) && !StartsWith(bytes, kUtf16Mark)) return bytes;
    return FromWide(ToWide(Utf8FromFileBytes(std::move(bytes), CP_ACP), CP_UTF8), CP_ACP);
}

std::string FileBytesFromText(std::string text) {
    return ::GetACP() == CP_UTF8 ? FileBytesFromUtf8(std::move(text)) : text;
}

}  // namespace rz
