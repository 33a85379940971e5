// Random and mutated settings files through reading, applying and writing, in
// process: nothing may crash or throw or touch anything outside the test
// folder and the program's own autostart value, and writing what was read,
// reading it and writing again gives the same file.
// RZ_FUZZ_COUNT (and RZ_FUZZ_SEED) in the environment run more of them.

#include <windows.h>

#include "AppFixture.h"
#include "FuzzSupport.h"
#include "core/Settings.h"

using namespace rz;
using rztest::Pick;

namespace {

std::string RunValue() {
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, kRunKeyPath, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return "<no key>";
    char data[MAX_PATH * 2] = {};
    DWORD bytes = sizeof(data);
    LONG rc = ::RegQueryValueExA(key, kAutostartValueName, nullptr, nullptr, reinterpret_cast<BYTE*>(data), &bytes);
    ::RegCloseKey(key);
    return rc == ERROR_SUCCESS ? std::string(data) : "<absent>";
}

std::string Value(std::mt19937& rng) {
    static const char* const kValues[] = {
        "0",      "1",       "8", "12",     "99999999",      "-3",    "$10",        "0x7FFFFFFF",
        "Tahoma", "Verdana", "",  "Ctrl+L", "Shift+Alt+F12", "Ctrl+", "\"quoted\"", " padded "};
    return Pick(rng, 3) ? kValues[Pick(rng, static_cast<int>(std::size(kValues)))] : rztest::HostileText(rng);
}

std::string SettingsText(std::mt19937& rng) {
    static const char* const kSections[] = {"General Settings", "Font Settings", "Misc Settings", "Other"};
    static const char* const kKeys[] = {"TaskBar",  "OpenLauncherHotkey", "WindowsDraw", "FontName",
                                        "FontSize", "DrawMenuBar",        "Unknown"};
    std::string text = Pick(rng, 10) == 0 ? "\xFF\xFE" : "";
    for (int s = Pick(rng, 5); s > 0; --s) {
        text += "[" + std::string(Pick(rng, 5) ? kSections[Pick(rng, 4)] : rztest::HostileText(rng)) + "]\r\n";
        for (int k = Pick(rng, 7); k > 0; --k) {
            const std::string key = Pick(rng, 5) ? kKeys[Pick(rng, 7)] : rztest::HostileText(rng);
            text += key + "=" + Value(rng) + (Pick(rng, 4) ? "\r\n" : "\n");
        }
    }
    return Pick(rng, 4) == 0 ? rztest::Mutated(text, rng) : text;
}

using SettingsFuzz = rztest::AppTest;

void ReadApplyWrite() {
    LoadSettings();
    ApplySettings();
    SaveSettings();
}

}  // namespace

TEST_F(SettingsFuzz, ReadWriteReadWriteIsAFixedPointAndTouchesNothingOutside) {
    const rztest::FuzzPlan plan = rztest::PlanFuzz(60);
    const std::string ini = dir / kSettingsFileName;
    WriteAutostart(false);
    const std::string runValue = RunValue();
    const rztest::OutsideWatch outside(dir.Path());
    for (int i = 0; i < plan.count; ++i) {
        SCOPED_TRACE("iteration " + std::to_string(i) + " of seed " + std::to_string(plan.seed));
        std::mt19937 rng(plan.seed + static_cast<unsigned>(i));
        Settings = TSettings{};
        rztest::WriteFile(ini, SettingsText(rng));
        std::string first, second;
        try {
            ReadApplyWrite();
            first = rztest::ReadFile(ini);
            ReadApplyWrite();
            second = rztest::ReadFile(ini);
        } catch (const std::exception& e) {
            FAIL() << "raised: " << e.what();
        }
        ASSERT_EQ(first, second) << "the second write differs from the first";
        ASSERT_EQ(RunValue(), runValue) << "the autostart value changed";
        // A hotkey line that names no key is logged.
        rztest::FolderState made = rztest::StateOf(dir.Path(), true);
        made.erase("errorlog.txt");
        ASSERT_EQ(made.size(), 1u) << "something besides the settings file was made";
        ASSERT_EQ(made.begin()->first, kSettingsFileName);
    }
    const std::vector<std::string> changed = outside.Changed();
    EXPECT_TRUE(changed.empty()) << changed.front();
    EXPECT_TRUE(boxes.empty());
}
