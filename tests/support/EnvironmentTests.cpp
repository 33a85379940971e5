// Variables in typed paths, and the environment read again from the registry.

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "TestSupport.h"
#include "platform/Handles.h"
#include "support/EnvironmentText.h"
#include "support/SystemEnvironment.h"

using namespace rz;

namespace {

void SetVariables(const std::vector<std::pair<const char*, std::string>>& values) {
    for (const auto& [name, value] : values) ::SetEnvironmentVariableA(name, value.c_str());
}

// The test's keys go, values and all (they have no sub-keys of their own).
void DeleteTestKeys(const std::wstring& base) {
    for (const wchar_t* sub : {L"\\System", L"\\User", L""}) ::RegDeleteKeyW(HKEY_CURRENT_USER, (base + sub).c_str());
    ::RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\RazavezaTests");
}

std::string Variable(const char* name) {
    char value[512] = {};
    const DWORD n = ::GetEnvironmentVariableA(name, value, sizeof(value));
    return n == 0 && ::GetLastError() == ERROR_ENVVAR_NOT_FOUND ? "<unset>" : std::string(value, n);
}

}  // namespace

TEST(ExpandVariables, DefinedNamesOnceUndefinedAndStrayPercentsAsTyped) {
    const std::string big(32000, 'x');
    SetVariables({{"RZT_HOME", "C:\\Home"}, {"RZT_SELF", "%RZT_SELF%"}, {"RZT_BIG", big}, {"RZT_EMPTY", ""},
                  {"RZT_WIDE", rztest::U8(u8"D:\\Фото")}});
    struct Case {
        std::string typed, text;
        std::vector<std::string> undefined;
        bool tooLong;
    } cases[] = {
        {"%RZT_HOME%\\Tools\\x.exe", "C:\\Home\\Tools\\x.exe", {}, false},
        {"%RZT_WIDE%\\%RZT_EMPTY%b", rztest::U8(u8"D:\\Фото\\b"), {}, false},
        // A value naming its own variable is not read again: no endless loop.
        {"%RZT_SELF%", "%RZT_SELF%", {}, false},
        {"%", "%", {}, false},
        {"%%", "%%", {}, false},
        {"50% of 20%", "50% of 20%", {}, false},
        {"%RZT_NONE%\\a %RZT_NONE% %RZT_ALSO%", "%RZT_NONE%\\a %RZT_NONE% %RZT_ALSO%", {"RZT_NONE", "RZT_ALSO"}, false},
        // The closing "%" of an undefined name may open the next, as the system reads it.
        {"%RZT_NONE%RZT_HOME%", "%RZT_NONEC:\\Home", {"RZT_NONE"}, false},
        {"%RZT_BIG%", big, {}, false},
        {"%RZT_BIG%\\%RZT_BIG%", "%RZT_BIG%\\%RZT_BIG%", {}, true},
    };
    for (const Case& c : cases) {
        const ExpandedText got = ExpandVariables(c.typed);
        EXPECT_EQ(got.text, c.text) << c.typed;
        EXPECT_EQ(got.undefined, c.undefined) << c.typed;
        EXPECT_EQ(got.tooLong, c.tooLong) << c.typed;
    }
}

TEST(RefreshEnvironment, TheKeysValuesArriveExpandedWithThePathsJoinedAndRemovedOnesGo) {
    const std::wstring base = L"Software\\RazavezaTests\\Environment";
    DeleteTestKeys(base);
    auto create = [&](const wchar_t* sub) {
        HKEY k = nullptr;
        ::RegCreateKeyExW(HKEY_CURRENT_USER, (base + sub).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr);
        return unique_hkey(k);
    };
    unique_hkey system = create(L"\\System"), user = create(L"\\User");
    ASSERT_TRUE(system && user);
    const struct {
        HKEY key;
        const wchar_t* name;
        std::wstring value;
        DWORD type;
    } values[] = {{system.get(), L"Path", L"C:\\sys", REG_SZ},
                  {system.get(), L"RZT_BASE", L"C:\\base", REG_SZ},
                  {user.get(), L"PATH", L"%RZT_BASE%\\bin", REG_EXPAND_SZ},
                  {user.get(), L"RZT_TOOL", L"%RZT_BASE%\\tool;%RZT_LATER%", REG_EXPAND_SZ},
                  {user.get(), L"RZT_LATER", L"later", REG_SZ},
                  {user.get(), L"RZT_LOOP", L"%RZT_LOOP%", REG_EXPAND_SZ},
                  {user.get(), L"RZT_GONE", L"here", REG_SZ},
                  {user.get(), L"RZT_HUGE", std::wstring(40000, L'h'), REG_SZ},
                  {user.get(), L"RZT_NUMBER", L"", REG_DWORD}};
    for (const auto& v : values)
        ::RegSetValueExW(v.key, v.name, 0, v.type, reinterpret_cast<const BYTE*>(v.value.c_str()),
                         static_cast<DWORD>((v.value.size() + 1) * sizeof(wchar_t)));

    const std::string pathBefore = [] {
        std::string p(32768, '\0');
        p.resize(::GetEnvironmentVariableA("PATH", p.data(), static_cast<DWORD>(p.size())));
        return p;
    }();
    SetVariables({{"RZT_OWN", "mine"}, {"RZT_HUGE", "before"}});
    RefreshEnvironmentFrom(system.get(), user.get(), nullptr);
    const std::pair<const char*, std::string> first[] = {
        {"PATH", "C:\\sys;C:\\base\\bin"}, {"RZT_TOOL", "C:\\base\\tool;later"}, {"RZT_LOOP", "%RZT_LOOP%"},
        {"RZT_GONE", "here"},              {"RZT_HUGE", "before"},               {"RZT_OWN", "mine"},
        {"RZT_NUMBER", "<unset>"}};
    for (const auto& [name, value] : first) EXPECT_EQ(Variable(name), value) << name;

    // What the keys no longer hold goes; what never came from them stays.
    ::RegDeleteValueW(user.get(), L"RZT_GONE");
    ::RegDeleteValueW(user.get(), L"PATH");
    RefreshEnvironmentFrom(system.get(), user.get(), nullptr);
    const std::pair<const char*, std::string> second[] = {
        {"PATH", "C:\\sys"}, {"RZT_GONE", "<unset>"}, {"RZT_OWN", "mine"}};
    for (const auto& [name, value] : second) EXPECT_EQ(Variable(name), value) << name;

    ::SetEnvironmentVariableA("PATH", pathBefore.c_str());
    system.reset();
    user.reset();
    DeleteTestKeys(base);
}
