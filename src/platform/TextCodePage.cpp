#include "platform/TextCodePage.h"

#include <windows.h>

namespace rz {

std::wstring ToUtf16(std::string_view text) { return ToUtf16(text, CP_ACP); }

std::string FromUtf16(std::wstring_view text) { return FromUtf16(text, CP_ACP); }

std::wstring ToUtf16(std::string_view text, unsigned codePage) {
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    std::wstring wide(static_cast<size_t>(::MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0)), L'\0');
    ::MultiByteToWideChar(codePage, 0, text.data(), size, wide.data(), static_cast<int>(wide.size()));
    return wide;
}

std::string FromUtf16(std::wstring_view text, unsigned codePage) {
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    std::string narrow(
        static_cast<size_t>(::WideCharToMultiByte(codePage, 0, text.data(), size, nullptr, 0, nullptr, nullptr)), '\0');
    ::WideCharToMultiByte(codePage, 0, text.data(), size, narrow.data(), static_cast<int>(narrow.size()), nullptr,
                          nullptr);
    return narrow;
}

}  // namespace rz
