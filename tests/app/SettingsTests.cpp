#include <windows.h>

#include <algorithm>
#include <cstring>
#include <set>

#include "AppFixture.h"
#include "core/ColourTheme.h"
#include "core/Settings.h"
#include "support/UcvGraphics.h"
#include "dialogs/form_about.h"
#include "dialogs/form_config.h"
#include "menu/form_general.h"
#include "platform/FileIO.h"
#include "platform/Palette.h"
#include "platform/SystemTheme.h"
#include "platform/ShortCut.h"
#include "support/TextEncoding.h"

using namespace rz;
using rztest::AppTest;

namespace {

class SettingsTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        Settings = TSettings{};
        WriteAutostart(false);
    }
    void TearDown() override {
        // A failed check inside a replaced write leaves no dangling replacement behind.
        WriteWholeFile.Restore();
        AppendToFile.Restore();
        WriteAutostart(false);
        AppTest::TearDown();
    }
    std::string Ini() const { return dir / "zuvizove.ziz"; }
    void Put(const char* section, const char* key, const char* value) {
        ::WritePrivateProfileStringA(section, key, value, Ini().c_str());
    }
    std::string Get(const char* section, const char* key) {
        char buffer[256] = {};
        ::GetPrivateProfileStringA(section, key, "<none>", buffer, sizeof(buffer), Ini().c_str());
        return buffer;
    }
    // "key=value" lines of a section, in file order.
    std::vector<std::string> Section(const char* section) {
        char buffer[4096] = {};
        DWORD n = ::GetPrivateProfileSectionA(section, buffer, sizeof(buffer), Ini().c_str());
        std::vector<std::string> out;
        for (const char* p = buffer; p < buffer + n && *p; p += std::strlen(p) + 1) out.emplace_back(p);
        return out;
    }
    std::vector<std::string> Sections() {
        char buffer[4096] = {};
        DWORD n = ::GetPrivateProfileSectionNamesA(buffer, sizeof(buffer), Ini().c_str());
        std::vector<std::string> out;
        for (const char* p = buffer; p < buffer + n && *p; p += std::strlen(p) + 1) out.emplace_back(p);
        return out;
    }
    std::string RunValue() {
        char data[MAX_PATH * 2] = {};
        HKEY key = nullptr;
        if (::RegOpenKeyExA(HKEY_CURRENT_USER, kRunKeyPath, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
            return "<no key>";
        DWORD type = 0, bytes = sizeof(data);
        LONG rc = ::RegQueryValueExA(key, kAutostartValueName, nullptr, &type, reinterpret_cast<BYTE*>(data), &bytes);
        ::RegCloseKey(key);
        return rc == ERROR_SUCCESS ? std::string(data) : "<absent>";
    }
};

}  // namespace

TEST(SettingInteger, DecimalDollarHexAndZeroXHex) {
    EXPECT_EQ(ParseSettingInteger("12", 5), 12);
    EXPECT_EQ(ParseSettingInteger("-3", 5), -3);
    EXPECT_EQ(ParseSettingInteger("$1A", 5), 26);
    EXPECT_EQ(ParseSettingInteger("0x10", 5), 16);
    EXPECT_EQ(ParseSettingInteger("0X1f", 5), 31);
    for (const char* bad : {"", "yes", "0x", "$", "12a", "1.5", "99999999999", "--1"})
        EXPECT_EQ(ParseSettingInteger(bad, 5), 5) << bad;
}

TEST(ShortCutText, ModifiersInAnyOrderAndCaseComeBackCanonical) {
    EXPECT_EQ(TextToShortCut("CTRL+L"), 0x4000 | 'L');
    EXPECT_EQ(ShortCutToText(0x4000 | 'L'), "Ctrl+L");
    TShortCut s = TextToShortCut("alt+shift+f5");
    EXPECT_EQ(s, kShiftBit | kAltBit | VK_F5);
    EXPECT_EQ(ShortCutToText(s), "Shift+Alt+F5");
    EXPECT_EQ(TextToShortCut("^l"), kCtrlBit | 'L');
    EXPECT_EQ(TextToShortCut("Ctrl+Alt+Shift+pgdn"), kShiftBit | kCtrlBit | kAltBit | VK_NEXT);
    EXPECT_EQ(ShortCutToText(kCtrlBit | VK_SPACE), "Ctrl+Space");
    EXPECT_EQ(TextToShortCut("F24"), VK_F24);
    EXPECT_EQ(TextToShortCut("Ctrl+7"), kCtrlBit | '7');
    for (const char* bad : {"", "Ctrl+", "Hyper+L", "Ctrl+LL", "L+Ctrl"}) EXPECT_EQ(TextToShortCut(bad), 0) << bad;
}

TEST_F(SettingsTest, NoFileGivesTheDefaultsAndTheFirstSaveWritesExactlySixKeys) {
    StartUp();
    EXPECT_TRUE(Settings.TaskBar);
    EXPECT_TRUE(Settings.WindowsDraw);
    EXPECT_EQ(Settings.FontName, "Verdana");
    EXPECT_EQ(Settings.FontSize, 8);
    EXPECT_FALSE(Settings.DrawMenuBar);
    EXPECT_EQ(FormGeneral().JvApplicationHotKey.HotKey(), kCtrlBit | 'L');
    EXPECT_EQ(FormGeneral().JvSearchHotKey.HotKey(), 0) << "no search key until one is set";
    EXPECT_FALSE(rztest::FileExists(Ini()));

    SaveSettings();
    EXPECT_EQ(Sections(), (std::vector<std::string>{"General Settings", "Font Settings", "Misc Settings"}));
    EXPECT_EQ(Section("General Settings"), (std::vector<std::string>{"TaskBar=1", "OpenLauncherHotkey=Ctrl+L"}));
    // "Verdana" is not installed here: the stored name is kept all the same.
    EXPECT_EQ(Section("Font Settings"), (std::vector<std::string>{"WindowsDraw=1", "FontName=Verdana", "FontSize=8"}));
    EXPECT_EQ(Section("Misc Settings"), (std::vector<std::string>{"DrawMenuBar=0"}));
}

TEST_F(SettingsTest, ValuesAreReadAndWrittenBackCanonically) {
    Put("General Settings", "TaskBar", "yes");
    Put("General Settings", "OpenLauncherHotkey", "alt+shift+f5");
    Put("General Settings", "OpenSearchHotkey", "ctrl+shift+f6");
    Put("Font Settings", "WindowsDraw", "0");
    Put("Font Settings", "FontSize", "$A");
    Put("Misc Settings", "DrawMenuBar", "1");
    Put("Misc Settings", "Other", "kept");
    StartUp();
    EXPECT_TRUE(Settings.TaskBar);
    EXPECT_FALSE(Settings.WindowsDraw);
    EXPECT_EQ(Settings.FontSize, 10);
    EXPECT_TRUE(Settings.DrawMenuBar);
    EXPECT_TRUE(FormItems().store.drawMenuBar);
    EXPECT_EQ(FormGeneral().JvSearchHotKey.HotKey(), kShiftBit | kCtrlBit | VK_F6);
    EXPECT_NE(FormGeneral().JvSearchHotKey.Id(), FormGeneral().JvApplicationHotKey.Id());
    SaveSettings();
    SaveSettings();
    EXPECT_EQ(Get("General Settings", "TaskBar"), "1");
    EXPECT_EQ(Get("General Settings", "OpenLauncherHotkey"), "Shift+Alt+F5");
    EXPECT_EQ(Get("General Settings", "OpenSearchHotkey"), "Shift+Ctrl+F6");
    EXPECT_EQ(Get("Font Settings", "WindowsDraw"), "0");
    EXPECT_EQ(Get("Font Settings", "FontSize"), "10");
    EXPECT_EQ(Get("Misc Settings", "DrawMenuBar"), "1");
    EXPECT_EQ(Get("Misc Settings", "Other"), "kept");

    Put("General Settings", "TaskBar", "2");
    LoadSettings();
    EXPECT_TRUE(Settings.TaskBar);
    Put("General Settings", "TaskBar", "0");
    LoadSettings();
    EXPECT_FALSE(Settings.TaskBar);
}

TEST_F(SettingsTest, AnEmptyFontNameIsReadAsEmpty) {
    Put("Font Settings", "FontName", "");
    LoadSettings();
    EXPECT_EQ(Settings.FontName, "");
}

TEST_F(SettingsTest, FontNamesInAnyScriptSurviveReadingAndWriting) {
    using rztest::U8;
    if (LegacyAnsiCodePage() != 1252) GTEST_SKIP() << "the legacy file below is Windows-1252 text";
    const std::string mark = "\xEF\xBB\xBF";
    const struct {
        const char* what;
        std::string stored, name;
        std::string written = {};  // as the file holds it, where that differs from name
    } cases[] = {
        {"UTF-8 with mark", mark + "[Font Settings]\r\nFontName=" + U8(u8"ＭＳ ゴシック") + "\r\n",
         U8(u8"ＭＳ ゴシック")},
        {"UTF-8 without mark", "[Font Settings]\r\nFontName=" + U8(u8"Привет 😀") + "\r\n", U8(u8"Привет 😀")},
        // The file stays in the encoding it has.
        {"Windows-1252 of older versions", "[Font Settings]\r\nFontName=Caf\xE9\r\n", U8(u8"Café"), "Caf\xE9"},
    };
    for (const auto& c : cases) {
        rztest::WriteFile(Ini(), c.stored);
        LoadSettings();
        ApplySettings();
        EXPECT_EQ(Settings.FontName, c.name) << c.what;
        SaveSettings();
        const std::string saved = rztest::ReadFile(Ini());
        EXPECT_EQ(saved.compare(0, 3, mark) == 0, c.stored.compare(0, 3, mark) == 0) << c.what;
        EXPECT_NE(saved.find("\r\nFontName=" + (c.written.empty() ? c.name : c.written) + "\r\n"), std::string::npos)
            << c.what;
        Settings.FontName.clear();
        LoadSettings();
        EXPECT_EQ(Settings.FontName, c.name) << c.what;
    }
}

TEST_F(SettingsTest, RegressionSizeOutsideTheListNoLongerFailsTheSave) {
    Put("Font Settings", "FontSize", "20");
    Put("Font Settings", "FontName", "No Such Font Anywhere");
    StartUp();
    FormConfig().Show();
    EXPECT_EQ(FormConfig().CmBoxFontSize.ItemIndex(), -1);
    EXPECT_EQ(FormConfig().CmBoxFontName.ItemIndex(), -1);
    EXPECT_NO_THROW(SaveSettings());
    EXPECT_EQ(Get("Font Settings", "FontSize"), "20");
    EXPECT_EQ(Get("Font Settings", "FontName"), "No Such Font Anywhere");
    FormConfig().Hide();

    // Nothing valid stored: 8.
    Put("Font Settings", "FontSize", "big");
    LoadSettings();
    ApplySettings();
    SaveSettings();
    EXPECT_EQ(Get("Font Settings", "FontSize"), "8");
}

TEST_F(SettingsTest, RegressionTheWindowsAndTheMenuDrawTheSameFontSize) {
    Put("Font Settings", "WindowsDraw", "0");
    StartUp();
    // A hand-written 14 gave a 14-point manager beside an 8-point menu.
    const std::pair<int, int> cases[] = {{14, 14}, {6, 6}, {72, 72}, {5, 8}, {73, 8}, {0, 8}, {-9, 8}};
    for (const auto& [stored, drawn] : cases) {
        Settings.FontSize = stored;
        ApplySettings();
        EXPECT_EQ(FormItems().FontSize(), drawn) << stored;
        EXPECT_EQ(FormConfig().FontSize(), drawn) << stored;
        EXPECT_EQ(FontSizeForDrawing(Settings.FontSize), drawn) << stored << " in the menu";
    }
}

TEST_F(SettingsTest, ApplyingPicksListEntriesAndTheDrawingMode) {
    auto fonts = InstalledScreenFonts();
    ASSERT_FALSE(fonts.empty());
    Put("Font Settings", "FontName", fonts.back().c_str());
    Put("Font Settings", "FontSize", "11");
    Put("Font Settings", "WindowsDraw", "0");
    StartUp();
    FormConfig().Show();
    EXPECT_EQ(FormConfig().CmBoxFontName.Text(), fonts.back());
    EXPECT_EQ(FormConfig().CmBoxFontSize.Text(), "11");
    EXPECT_FALSE(FormConfig().CBWinDefDrawAll.Checked());
    EXPECT_TRUE(FormConfig().CmBoxFontName.Enabled());
    EXPECT_TRUE(FormConfig().BtnDefault.Enabled());
    // Own drawing: empty captions, the chosen font, title painters attached.
    EXPECT_EQ(FormItems().Caption(), "");
    EXPECT_EQ(FormItems().FontName(), fonts.back());
    EXPECT_EQ(FormAbout().FontSize(), 11);
    EXPECT_TRUE(FormConfig().OnPaint);
    EXPECT_TRUE(Application.OnActivate);

    Settings.WindowsDraw = true;
    ApplySettings();
    FormConfig().ShowSettings();
    EXPECT_EQ(FormItems().Caption(), "Corvane Razaveza - Manage Items");
    EXPECT_EQ(FormConfig().Caption(), "Corvane Razaveza - Preferences");
    EXPECT_EQ(FormAbout().Caption(), "Corvane Razaveza - About");
    EXPECT_FALSE(FormConfig().OnPaint);
    EXPECT_FALSE(Application.OnActivate);
    EXPECT_TRUE(FormConfig().CBWinDefDrawAll.Checked());
    EXPECT_FALSE(FormConfig().CmBoxFontName.Enabled());
    EXPECT_FALSE(FormConfig().CmBoxFontSize.Enabled());
    EXPECT_FALSE(FormConfig().BtnDefault.Enabled());
    FormConfig().Hide();
}

TEST_F(SettingsTest, TaskBarPresenceReplacesTheExtendedStyle) {
    Put("General Settings", "TaskBar", "0");
    StartUp();
    EXPECT_EQ(::GetWindowLongA(Application.Handle(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW, WS_EX_TOOLWINDOW);
    Settings.TaskBar = true;
    ApplySettings();
    EXPECT_EQ(::GetWindowLongA(Application.Handle(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW, 0);
}

TEST_F(SettingsTest, AutostartOnOffAndOffWhenAbsent) {
    StartUp();
    EXPECT_FALSE(Settings.Autostart);
    WriteAutostart(true);
    EXPECT_EQ(RunValue(), dir.Path() + "razaveza.exe");
    ReadAutostart();
    EXPECT_TRUE(Settings.Autostart);
    // Saving with autostart off removes the value.
    Settings.Autostart = false;
    SaveSettings();
    EXPECT_EQ(RunValue(), "<absent>");
    EXPECT_NO_THROW(WriteAutostart(false));
    ReadAutostart();
    EXPECT_FALSE(Settings.Autostart);
}

TEST_F(SettingsTest, NewSettingsAreAppliedBehindHiddenWindows) {
    StartUp();
    FormItems().Show();
    HideOpenWindows();
    EXPECT_FALSE(FormItems().Visible());
    EXPECT_EQ(FormItems().Tag, 1);
    EXPECT_EQ(FormAbout().Tag, 0);
    ReshowHiddenWindows();
    EXPECT_TRUE(FormItems().Visible());
    EXPECT_EQ(FormItems().Tag, 0);
    EXPECT_FALSE(FormAbout().Visible());
    FormItems().Hide();
}

TEST_F(SettingsTest, RegressionAnUnreadableHotkeyIsLoggedOnceServedByTheDefaultAndWrittenBackUnchanged) {
    // As a user of another language might write it; it read as no key and Close emptied it.
    rztest::WriteFile(Ini(),
                      "; mine\r\n[General Settings]\r\nTaskBar=yes\r\nOpenLauncherHotkey=Strg+L\r\n"
                      "OpenSearchHotkey=Strg+Umschalt+L\r\nCustom=kept\r\n");
    StartUp();
    EXPECT_EQ(FormGeneral().JvApplicationHotKey.HotKey(), kCtrlBit | 'L');
    EXPECT_TRUE(FormGeneral().JvApplicationHotKey.Registered());
    EXPECT_EQ(FormGeneral().JvSearchHotKey.HotKey(), 0);
    LoadSettings();
    SaveSettings();
    const std::string log = rztest::ReadFile(dir / "errorlog.txt");
    for (const char* text :
         {"OpenLauncherHotkey=Strg+L", "OpenSearchHotkey=Strg+Umschalt+L", "Ctrl+L serves instead"}) {
        const size_t at = log.find(text);
        EXPECT_TRUE(at != std::string::npos && log.find(text, at + 1) == std::string::npos) << text << ": " << log;
    }
    EXPECT_EQ(Section("General Settings"),
              (std::vector<std::string>{"TaskBar=1", "OpenLauncherHotkey=Strg+L", "OpenSearchHotkey=Strg+Umschalt+L",
                                        "Custom=kept"}));
    EXPECT_EQ(rztest::ReadFile(Ini()).rfind("; mine\r\n", 0), 0u);
}

// One whole replacement per save, none when nothing changed; a write cut anywhere leaves the old file.
TEST_F(SettingsTest, AWriteFailingAtEveryByteLeavesTheOldFileWhole_LoggedAndSaid) {
    const std::string old = "[General Settings]\r\nTaskBar=1\r\nOpenLauncherHotkey=Ctrl+L\r\n";
    rztest::WriteFile(Ini(), old);
    StartUp();
    Settings.FontName = "A longer name than the page the old file fills";
    Settings.DrawMenuBar = true;
    auto diskFull = [](const std::string&, const std::string&) {
        ::SetLastError(ERROR_DISK_FULL);
        return false;
    };
    // No window open and no room for the log either: a box says it.
    AppendToFile.Replace(diskFull);
    WriteWholeFile.Replace(diskFull);
    EXPECT_FALSE(SaveSettings());
    AppendToFile.Restore();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "The disk is full: the settings cannot be saved.");
    boxes.clear();

    // Logged, and said in the status line of the open manager.
    FormItems().Show();
    rztest::WriteFile(Ini() + ".tmp", "[Gen");  // the user's: the writes take names of their own
    size_t whole = 1;
    for (size_t cut = 0; cut < whole; ++cut) {
        WriteWholeFile.Replace([cut, &whole](const std::string& path, const std::string& bytes) {
            whole = bytes.size();
            WriteWholeFile.Real(path, bytes.substr(0, cut));
            ::SetLastError(ERROR_DISK_FULL);
            return false;
        });
        EXPECT_FALSE(SaveSettings()) << cut;
        ASSERT_EQ(rztest::ReadFile(Ini()), old) << cut;
        ASSERT_EQ(rztest::ReadFile(Ini() + ".tmp"), "[Gen") << cut;
        ASSERT_EQ(RemoveReplaceLeftovers(dir.Path()), 0) << "a temporary file stayed after " << cut;
    }
    EXPECT_GT(whole, old.size());
    EXPECT_EQ(FormItems().StatusBarHelp.PanelText(), "The disk is full: the settings cannot be saved");
    FormItems().Hide();
    EXPECT_TRUE(boxes.empty());
    EXPECT_NE(rztest::ReadFile(dir / "errorlog.txt").find("Cannot write \"" + Ini() + "\". Last Win32 Error (112)"),
              std::string::npos);

    int writes = 0;
    WriteWholeFile.Replace([&writes](const std::string& path, const std::string& bytes) {
        ++writes;
        return WriteWholeFile.Real(path, bytes);
    });
    EXPECT_TRUE(SaveSettings());
    EXPECT_TRUE(SaveSettings());
    WriteWholeFile.Restore();
    EXPECT_EQ(writes, 1) << "an unchanged file was written again";
    EXPECT_EQ(Get("Misc Settings", "DrawMenuBar"), "1");
}

// Another computer's settings synced in while this one runs: Close writes
// what this run changed and leaves the newer lines it did not touch.
TEST_F(SettingsTest, SavingKeepsLinesChangedInTheFileSinceItWasRead) {
    const std::string general =
        "[General Settings]\r\nTaskBar=1\r\nOpenLauncherHotkey=alt+shift+f5\r\n[Font Settings]\r\n";
    rztest::WriteFile(Ini(), general + "WindowsDraw=1\r\nFontName=Tahoma\r\nFontSize=8\r\n");
    LoadSettings();
    rztest::WriteFile(Ini(), general + "WindowsDraw=0\r\nFontName=Arial\r\nFontSize=8\r\n");
    Settings.TaskBar = false;
    Settings.FontSize = 10;
    ASSERT_TRUE(SaveSettings());
    EXPECT_EQ(Section("General Settings"), (std::vector<std::string>{"TaskBar=0", "OpenLauncherHotkey=Shift+Alt+F5"}));
    EXPECT_EQ(Section("Font Settings"), (std::vector<std::string>{"WindowsDraw=0", "FontName=Arial", "FontSize=10"}));
    EXPECT_EQ(Section("Misc Settings"), (std::vector<std::string>{"DrawMenuBar=0"}));
}

TEST_F(SettingsTest, LinesThisRunDidNotChangeKeepTheirBytesInAnyEncoding) {
    // A cp1252 line came back as UTF-8 (Close, with a binary file, is end to end).
    const std::string cp1252 =
        "[General Settings]\r\nTaskBar = 1\r\nOpenLauncherHotkey=Ctrl+L\r\n[Font Settings]\r\nWindowsDraw=1\r\n"
        "FontName=\"Tahoma\"\r\nFontSize=8\r\n[Misc Settings]\r\nDrawMenuBar=0\r\nNote=Caf\xE9 cr\xE8me\r\n";
    const struct {
        const char* font;
        std::string line;  // what the font line becomes
    } cases[] = {
        {"Tahoma", "FontName=\"Tahoma\""},
        {"Arial", "FontName=Arial"},
        {"Fran\xC3\xA7ois", "FontName=Fran\xE7ois"},  // in the file's own code page
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.font);
        rztest::WriteFile(Ini(), cp1252);
        LoadSettings();
        Settings.FontName = c.font;
        ASSERT_TRUE(SaveSettings());
        std::string expected = cp1252;
        expected.replace(expected.find("FontName=\"Tahoma\""), 17, c.line);
        EXPECT_EQ(rztest::ReadFile(Ini()), expected);
    }
    // A name the file's code page cannot hold makes the whole file UTF-8, its other text kept.
    rztest::WriteFile(Ini(), cp1252);
    LoadSettings();
    Settings.FontName = "\xCE\xA9mega";
    ASSERT_TRUE(SaveSettings());
    LoadSettings();
    EXPECT_EQ(Settings.FontName, "\xCE\xA9mega");
    EXPECT_NE(rztest::ReadFile(Ini()).find("Note=Caf\xC3\xA9 cr\xC3\xA8me"), std::string::npos);
}

// The colours line: written once a choice other than "as Windows" was made
// or the file had one; a line this version cannot read stays as it stands.
TEST_F(SettingsTest, TheColoursLineIsWrittenOnceChosen_AnUnreadOneStays) {
    using C = ColourChoice;
    const struct {
        const char* stored;
        C read, chosen;
        const char* written;
    } cases[] = {
        {nullptr, C::AsWindows, C::AsWindows, "<none>"}, {nullptr, C::AsWindows, C::Dark, "2"},
        {"2", C::Dark, C::AsWindows, "0"},               {"purple", C::AsWindows, C::AsWindows, "purple"},
        {"7", C::AsWindows, C::Light, "1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored ? c.stored : "no line");
        ::DeleteFileA(Ini().c_str());
        if (c.stored) Put("Font Settings", "Colours", c.stored);
        LoadSettings();
        EXPECT_EQ(Settings.Colours, c.read);
        Settings.Colours = c.chosen;
        ASSERT_TRUE(SaveSettings());
        EXPECT_EQ(Get("Font Settings", "Colours"), c.written);
    }
}

namespace {

// The system's theme as the seams give it; put back, with the palette, when done.
struct SystemColours {
    SystemColours() { Set(false, false); }
    ~SystemColours() {
        ReadRegistryValue.Restore();
        HighContrastOn.Restore();
        Settings.Colours = ColourChoice::AsWindows;
        FollowColourTheme();
    }
    void Set(bool appsDark, bool highContrast) {
        ReadRegistryValue.Replace([appsDark](HKEY, const std::string&, const std::string&) {
            return RegistryValue{true, REG_DWORD, {BYTE(appsDark ? 0 : 1), 0, 0, 0}};
        });
        HighContrastOn.Replace([highContrast] { return highContrast; });
    }
};

void AnnounceThemeChange() {
    ::SendMessageW(FormGeneral().Handle(), WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"ImmersiveColorSet"));
}

}  // namespace

// High contrast first, then the choice, then the app theme; switching
// back and forth leaks no brushes; a burst of announcements is followed
// once, after it ends, not palette by palette.
TEST_F(SettingsTest, ThePaletteFollowsHighContrastTheChoiceAndTheAppTheme_OnceABurstEnds) {
    SystemColours system;
    StartUp();
    using C = ColourChoice;
    using K = PaletteKind;
    const struct {
        C choice;
        bool appsDark, highContrast;
        K kind;
    } cases[] = {{C::AsWindows, false, false, K::Light}, {C::AsWindows, true, false, K::Dark},
                 {C::Light, true, false, K::Light},      {C::Dark, false, false, K::Dark},
                 {C::Dark, false, true, K::HighContrast}};
    for (const auto& c : cases) {
        system.Set(c.appsDark, c.highContrast);
        Settings.Colours = c.choice;
        FollowColourTheme();
        EXPECT_EQ(CurrentPalette()->Kind(), c.kind) << static_cast<int>(c.choice) << c.appsDark << c.highContrast;
    }
    Settings.Colours = ColourChoice::AsWindows;
    const unsigned before = rztest::GdiObjectsInUse();
    for (int i = 0; i < 300; ++i) {
        system.Set(i % 2 == 0, false);
        FollowColourTheme();
        ASSERT_NE(CurrentPalette()->Brush(COLOR_MENU), nullptr);
    }
    EXPECT_LE(rztest::GdiObjectsInUse(), before + 4) << "GDI objects leak per theme switch";

    const Palette* first = CurrentPalette().get();
    ASSERT_FALSE(first->IsDark());
    for (int i = 0; i < 100; ++i) {
        system.Set(i % 2 == 1, false);  // the last says dark
        AnnounceThemeChange();
    }
    EXPECT_EQ(CurrentPalette().get(), first) << "followed while the announcements still came";
    std::set<const Palette*> made{first};
    for (const DWORD start = ::GetTickCount(); !CurrentPalette()->IsDark() && ::GetTickCount() - start < 5000;) {
        Application.ProcessMessages();
        made.insert(CurrentPalette().get());
        ::Sleep(10);
    }
    EXPECT_TRUE(CurrentPalette()->IsDark()) << "the switch was not followed";
    EXPECT_EQ(made.size(), 2u) << "a palette for each announcement";
}
