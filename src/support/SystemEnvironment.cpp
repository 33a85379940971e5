#include "support/SystemEnvironment.h"

#include <windows.h>

#include <set>

#include "platform/Handles.h"
#include "platform/TextCodePage.h"
#include "support/EnvironmentText.h"

namespace rz {

namespace {

constexpr wchar_t kSystemKey[] = L"SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment";
constexpr wchar_t kUserKey[] = L"Environment";
constexpr wchar_t kVolatileKey[] = L"Volatile Environment";

struct RegistryVariable {
    std::wstring name;
    std::wstring value;
    bool expand = false;
};

std::wstring Upper(std::wstring text) {
    if (!text.empty()) ::CharUpperBuffW(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

// Values the system could not hold as a variable are left out.
std::vector<RegistryVariable> ReadVariables(HKEY key) {
    std::vector<RegistryVariable> found;
    if (!key) return found;
    DWORD count = 0, longestName = 0, longestData = 0;
    if (::RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, &longestName,
                           &longestData, nullptr, nullptr) != ERROR_SUCCESS)
        return found;
    std::wstring name(longestName + 1, L'\0');
    std::wstring data(longestData / sizeof(wchar_t) + 1, L'\0');
    for (DWORD i = 0; i < count; ++i) {
        DWORD nameLength = static_cast<DWORD>(name.size());
        DWORD dataBytes = static_cast<DWORD>(data.size() * sizeof(wchar_t));
        DWORD type = 0;
        if (::RegEnumValueW(key, i, name.data(), &nameLength, nullptr, &type, reinterpret_cast<BYTE*>(data.data()),
                            &dataBytes) != ERROR_SUCCESS)
            continue;
        if (type != REG_SZ && type != REG_EXPAND_SZ) continue;
        std::wstring value(data.data(), dataBytes / sizeof(wchar_t));
        while (!value.empty() && value.back() == L'\0') value.pop_back();
        const std::wstring variable(name.data(), nameLength);
        if (variable.empty() || variable.find(L'=') != std::wstring::npos || value.size() > kMaxExpandedChars)
            continue;
        found.push_back({variable, std::move(value), type == REG_EXPAND_SZ});
    }
    return found;
}

std::wstring ExpandedValue(const RegistryVariable& v) {
    if (!v.expand) return v.value;
    const ExpandedText expanded = ExpandVariables(FromUtf16(v.value));
    return ToUtf16(expanded.text);
}

// Plain values first, so that expanded ones of the same key can name them.
void Apply(const std::vector<RegistryVariable>& variables, const std::wstring* systemPath, std::set<std::wstring>& set) {
    for (bool expanding : {false, true}) {
        for (const RegistryVariable& v : variables) {
            if (v.expand != expanding) continue;
            std::wstring value = ExpandedValue(v);
            const std::wstring key = Upper(v.name);
            if (systemPath && key == L"PATH" && !systemPath->empty())
                value = value.empty() ? *systemPath : *systemPath + L";" + value;
            if (value.size() > kMaxExpandedChars) continue;
            if (::SetEnvironmentVariableW(v.name.c_str(), value.c_str())) set.insert(key);
        }
    }
}

std::wstring SystemPathOf(const std::vector<RegistryVariable>& variables) {
    for (const RegistryVariable& v : variables)
        if (Upper(v.name) == L"PATH") return ExpandedValue(v);
    return {};
}

std::set<std::wstring> g_fromRegistry;
bool g_noted = false;

std::set<std::wstring> NamesIn(std::initializer_list<HKEY> keys) {
    std::set<std::wstring> names;
    for (HKEY key : keys)
        for (const RegistryVariable& v : ReadVariables(key)) names.insert(Upper(v.name));
    return names;
}

struct MachineKeys {
    unique_hkey system, user, session;
};

MachineKeys OpenMachineKeys() {
    MachineKeys keys;
    HKEY k = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSystemKey, 0, KEY_READ, &k) == ERROR_SUCCESS) keys.system.reset(k);
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, kUserKey, 0, KEY_READ, &k) == ERROR_SUCCESS) keys.user.reset(k);
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, kVolatileKey, 0, KEY_READ, &k) == ERROR_SUCCESS) keys.session.reset(k);
    return keys;
}

}  // namespace

int RefreshEnvironmentFrom(HKEY systemKey, HKEY userKey, HKEY volatileKey) {
    const std::vector<RegistryVariable> system = ReadVariables(systemKey);
    // The user's PATH joins the system's; the system's is set first so that
    // a user's value may name it.
    std::set<std::wstring> set;
    Apply(system, nullptr, set);
    const std::wstring systemPath = SystemPathOf(system);
    Apply(ReadVariables(userKey), &systemPath, set);
    Apply(ReadVariables(volatileKey), nullptr, set);
    const std::set<std::wstring> now = NamesIn({systemKey, userKey, volatileKey});
    for (const std::wstring& gone : g_fromRegistry)
        if (!now.count(gone)) ::SetEnvironmentVariableW(gone.c_str(), nullptr);
    g_fromRegistry = now;
    g_noted = true;
    return static_cast<int>(set.size());
}

int RefreshEnvironment() {
    const MachineKeys keys = OpenMachineKeys();
    return RefreshEnvironmentFrom(keys.system.get(), keys.user.get(), keys.session.get());
}

void NoteRegistryEnvironment() {
    if (g_noted) return;
    const MachineKeys keys = OpenMachineKeys();
    g_fromRegistry = NamesIn({keys.system.get(), keys.user.get(), keys.session.get()});
    g_noted = true;
}

}  // namespace rz
