#include "core/Settings.h"

#include <windows.h>

#include <cerrno>
#include <cstdlib>
#include <stdexcept>

#include "core/AppData.h"
#include "core/SettingsFile.h"
#include "core/TitledDialog.h"
#include "platform/Application.h"
#include "platform/Fonts.h"
#include "platform/Form.h"
#include "platform/HotKey.h"
#include "platform/LinkLabel.h"
#include "platform/RichEdit.h"
#include "platform/ShortCut.h"
#include "support/UcvGraphics.h"
#include "support/UcvSysExceptions.h"

namespace rz {

TSettings Settings;

namespace {

SettingsLinks g_links;

// Applying runs only once the forms are linked; before that is a wiring fault.
const SettingsLinks& Links() {
    if (g_links.windows.empty()) throw std::logic_error("settings applied before the forms were linked");
    return g_links;
}

constexpr char kGeneral[] = "General Settings";
constexpr char kFont[] = "Font Settings";
constexpr char kMisc[] = "Misc Settings";

std::string SettingsPath() { return App.dataFolder + kSettingsFileName; }

// A key that is absent gives nullopt-like "missing"; present-empty gives "".
bool ReadString(const char* section, const char* key, std::string& value) {
    std::optional<std::string> found = ProfileValue(ReadProfileText(SettingsPath()), section, key);
    if (found) value = std::move(*found);
    return found.has_value();
}

int ReadInteger(const char* section, const char* key, int defaultValue) {
    std::string text;
    return ReadString(section, key, text) ? ParseSettingInteger(text, defaultValue) : defaultValue;
}

bool ReadBool(const char* section, const char* key, bool defaultValue) {
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void WriteString(const char* section, const char* key, const std::string& value) {
    WriteProfileText(SettingsPath(), WithProfileValue(ReadProfileText(SettingsPath()), section, key, value));
}

unique_hkey OpenRunKey() {
    HKEY key = nullptr;
    LONG rc = ::RegCreateKeyExA(HKEY_CURRENT_USER, kRunKeyPath, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key, nullptr);
    if (rc != ERROR_SUCCESS) throw EOSError(SystemErrorText(rc), rc);
    return unique_hkey(key);
}

MenuFontInfo QueryMenuFont() {
    const LOGFONTW menu = SystemMenuLogFont();
    WindowDC screen(nullptr);
    int dpi = ::GetDeviceCaps(screen.get(), LOGPIXELSY);
    int points = menu.lfHeight < 0 ? ::MulDiv(-menu.lfHeight, 72, dpi) : 8;
    return {FaceNameOf(menu), points};
}

}  // namespace

Seam<MenuFontInfo()> SystemMenuFont{&QueryMenuFont};

void LinkSettings(SettingsLinks links) { g_links = std::move(links); }

int ParseSettingInteger(const std::string& text, int defaultValue) {
    if (text.empty()) return defaultValue;
    const char* s = text.c_str();
    bool negative = false;
    if (*s == '-' || *s == '+') negative = *s++ == '-';
    int base = 10;
    if (*s == '$') {
        base = 16;
        ++s;
    } else if (s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        base = 16;
        s += 2;
    }
    if (!*s || std::isspace(static_cast<unsigned char>(*s)) || *s == '-' || *s == '+') return defaultValue;
    char* end = nullptr;
    errno = 0;
    long long v = std::strtoll(s, &end, base);
    if (*end || errno == ERANGE || v > 0xFFFFFFFFLL) return defaultValue;
    if (base == 10 && v > 0x7FFFFFFFLL) return defaultValue;
    int value = static_cast<int>(static_cast<unsigned long>(v));
    return negative ? -value : value;
}

void LoadSettings() {
    Settings.TaskBar = ReadBool(kGeneral, "TaskBar", true);
    std::string hotkey = "CTRL+L";
    ReadString(kGeneral, "OpenLauncherHotkey", hotkey);
    Settings.OpenLauncherHotkey = TextToShortCut(hotkey);
    if (g_links.hotKey) g_links.hotKey->SetHotKey(Settings.OpenLauncherHotkey);
    std::string searchHotkey;
    ReadString(kGeneral, "OpenSearchHotkey", searchHotkey);
    Settings.OpenSearchHotkey = TextToShortCut(searchHotkey);
    if (g_links.searchHotKey) g_links.searchHotKey->SetHotKey(Settings.OpenSearchHotkey);
    Settings.WindowsDraw = ReadBool(kFont, "WindowsDraw", true);
    Settings.FontName = "Verdana";
    ReadString(kFont, "FontName", Settings.FontName);
    Settings.FontSize = ReadInteger(kFont, "FontSize", 8);
    Settings.DrawMenuBar = ReadBool(kMisc, "DrawMenuBar", false);
    Application.ProcessMessages();
    ReadAutostart();
}

void SaveSettings() {
    WriteString(kGeneral, "TaskBar", Settings.TaskBar ? "1" : "0");
    WriteString(kGeneral, "OpenLauncherHotkey", ShortCutToText(Settings.OpenLauncherHotkey));
    // Whoever never set it finds no such line in the file.
    if (Settings.OpenSearchHotkey) WriteString(kGeneral, "OpenSearchHotkey", ShortCutToText(Settings.OpenSearchHotkey));
    WriteString(kFont, "WindowsDraw", Settings.WindowsDraw ? "1" : "0");
    WriteString(kFont, "FontName", Settings.FontName);
    WriteString(kFont, "FontSize", std::to_string(Settings.FontSize > 0 ? Settings.FontSize : 8));
    WriteString(kMisc, "DrawMenuBar", Settings.DrawMenuBar ? "1" : "0");
    WriteAutostart(Settings.Autostart);
    Application.ProcessMessages();
}

void ApplySettings() {
    const SettingsLinks& c = Links();
    if (c.applyTaskBarPresence) c.applyTaskBarPresence(Settings.TaskBar);

    if (c.attachActivation) c.attachActivation(!Settings.WindowsDraw);
    const MenuFontInfo menuFont = SystemMenuFont();
    const std::string& face = Settings.WindowsDraw ? menuFont.name : Settings.FontName;
    const int points = Settings.WindowsDraw ? menuFont.points : FontSizeForDrawing(Settings.FontSize);
    for (TTitledDialog* w : c.windows) {
        // In own drawing the title is painted into the caption bar instead.
        w->SetCaption(Settings.WindowsDraw ? w->Title() : std::string());
        w->SetFont(face, points);
        if (Settings.WindowsDraw) {
            w->OnActivate = nullptr;
            w->OnDeactivate = nullptr;
            w->OnPaint = nullptr;
        } else {
            w->OnActivate = [w](TObject* s) { w->FormActivate(s); };
            w->OnDeactivate = [w](TObject* s) { w->FormActivate(s); };
            w->OnPaint = [w](TObject* s) { w->FormPaint(s); };
        }
    }
    if (c.helpText) c.helpText->SetFont(face, points);
    // The link shows any font underlined; in platform drawing it keeps the one its window gave it.
    if (c.link && !Settings.WindowsDraw) c.link->SetFont(face, points);
}

void ReadAutostart() {
    unique_hkey key = OpenRunKey();
    char data[MAX_PATH * 2] = {};
    DWORD size = sizeof(data) - 1;
    DWORD type = 0;
    LONG rc = ::RegQueryValueExA(key.get(), kAutostartValueName, nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
    Settings.Autostart = rc == ERROR_SUCCESS && data[0] != '\0';
}

void WriteAutostart(bool on) {
    unique_hkey key = OpenRunKey();
    if (on) {
        std::string path = App.dataFolder + App.programFileName;
        LONG rc = ::RegSetValueExA(key.get(), kAutostartValueName, 0, REG_SZ,
                                   reinterpret_cast<const BYTE*>(path.c_str()), static_cast<DWORD>(path.size() + 1));
        if (rc != ERROR_SUCCESS) throw EOSError(SystemErrorText(rc), rc);
    } else {
        LONG rc = ::RegDeleteValueA(key.get(), kAutostartValueName);
        if (rc != ERROR_SUCCESS && rc != ERROR_FILE_NOT_FOUND) throw EOSError(SystemErrorText(rc), rc);
    }
}

void HideOpenWindows() {
    for (TTitledDialog* f : g_links.windows) {
        if (f->Visible()) {
            f->Hide();
            f->Tag = 1;
        }
    }
}

void ReshowHiddenWindows() {
    for (TTitledDialog* f : g_links.windows) {
        if (f->Tag == 1) {
            f->Show();
            f->Tag = 0;
        }
    }
}

}  // namespace rz
