#include "support/TextEncoding.h"

#include <windows.h>

#include <algorithm>

#include "support/UcvSysStr.h"

namespace rz {

namespace {
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

bool StartsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }
}  // namespace

bool IsAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// The system's decoder refuses overlong forms, surrogates and cut sequences
// (and empty text, which is the same in any code page).
bool IsValidUtf8(std::string_view text) {
    return ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()), nullptr,
                                 0) > 0;
}

std::string Utf8FromFileBytes(std::string bytes, unsigned legacyCodePage) {
    if (StartsWith(bytes, kUtf8Mark)) return bytes.erase(0, kUtf8Mark.size());
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
    if (!StartsWith(bytes, kUtf8Mark)) return bytes;
    return FromWide(ToWide(Utf8FromFileBytes(std::move(bytes), CP_ACP), CP_UTF8), CP_ACP);
}

std::string FileBytesFromText(std::string text) {
    return ::GetACP() == CP_UTF8 ? FileBytesFromUtf8(std::move(text)) : text;
}

}  // namespace rz
