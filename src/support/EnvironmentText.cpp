#include "support/EnvironmentText.h"

#include <windows.h>

#include <algorithm>
#include <optional>

#include "platform/TextCodePage.h"

namespace rz {

namespace {

// The system takes any name without "=" or a control character.
bool LookableName(std::wstring_view name) {
    return !name.empty() &&
           std::none_of(name.begin(), name.end(), [](wchar_t c) { return c == L'=' || c < L' '; });
}

// Only these are reported as missing: "50% of 20%" names no variable.
bool LooksLikeVariable(std::wstring_view name) {
    return !name.empty() && std::all_of(name.begin(), name.end(), [](wchar_t c) {
        return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') || (c >= L'0' && c <= L'9') || c > 0x7F ||
               std::wstring_view(L"_-.()#$@{}").find(c) != std::wstring_view::npos;
    });
}

std::optional<std::wstring> VariableValue(const std::wstring& name) {
    std::wstring value(256, L'\0');
    for (;;) {
        ::SetLastError(ERROR_SUCCESS);
        const DWORD n = ::GetEnvironmentVariableW(name.c_str(), value.data(), static_cast<DWORD>(value.size()));
        if (n == 0) {
            if (::GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
            return std::wstring();
        }
        if (n < value.size()) {
            value.resize(n);
            return value;
        }
        value.assign(n, L'\0');
    }
}

}  // namespace

ExpandedText ExpandVariables(const std::string& typed) {
    ExpandedText result;
    if (typed.find('%') == std::string::npos) {
        result.text = typed;
        return result;
    }
    const std::wstring text = ToUtf16(typed);
    std::wstring out;
    size_t at = 0;
    while (at < text.size()) {
        const size_t open = text.find(L'%', at);
        const size_t close = open == std::wstring::npos ? open : text.find(L'%', open + 1);
        if (close == std::wstring::npos) {
            out.append(text, at);
            break;
        }
        out.append(text, at, open - at);
        const std::wstring name = text.substr(open + 1, close - open - 1);
        const std::optional<std::wstring> value = LookableName(name) ? VariableValue(name) : std::nullopt;
        if (value) {
            out += *value;
            at = close + 1;
        } else {
            // The closing "%" may open the next name, as the system reads it.
            out.append(text, open, close - open);
            at = close;
            const std::string utf8 = FromUtf16(name);
            if (LooksLikeVariable(name) &&
                std::find(result.undefined.begin(), result.undefined.end(), utf8) == result.undefined.end())
                result.undefined.push_back(utf8);
        }
        if (out.size() > kMaxExpandedChars) {
            result.tooLong = true;
            result.text = typed;
            return result;
        }
    }
    result.text = FromUtf16(out);
    return result;
}

std::string Expanded(const std::string& typed) { return ExpandVariables(typed).text; }

std::string UndefinedVariablesText(const std::vector<std::string>& undefined) {
    if (undefined.empty()) return {};
    std::string names;
    for (size_t i = 0; i < undefined.size(); ++i) {
        if (i > 0) names += i + 1 == undefined.size() ? " and " : ", ";
        names += "%" + undefined[i] + "%";
    }
    return names + (undefined.size() == 1 ? " is not defined." : " are not defined.");
}

}  // namespace rz
