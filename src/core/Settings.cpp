#include "core/Settings.h"

#include <windows.h>

#include <cerrno>
#include <cstdlib>
#include <map>
#include <stdexcept>

#include "core/AppData.h"
#include "core/ColourTheme.h"
#include "core/ErrorLog.h"
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

constexpr TShortCut kDefaultLauncherKey = kCtrlBit | 'L';

std::string SettingsPath() { return App.dataFolder + kSettingsFileName; }

// The file's text as read once by LoadSettings.
struct StoredSettings {
    std::string text;

    // A key that is absent leaves the value; present-empty gives "".
    bool String(const char* section, const char* key, std::string& value) const {
        std::optional<std::string> found = ProfileValue(text, section, key);
        if (found) value = std::move(*found);
        return found.has_value();
    }
    int Integer(const char* section, const char* key, int defaultValue) const {
        std::string value;
        return String(section, key, value) ? ParseSettingInteger(value, defaultValue) : defaultValue;
    }
    bool Bool(const char* section, const char* key, bool defaultValue) const {
        return Integer(section, key, defaultValue ? 1 : 0) != 0;
    }
};

// Hotkey lines this run could not read, by key: written back as they stand,
// since the user may know a key name the program does not. What was logged
// already (with the file's path) is not logged again at the next load.
std::map<std::string, std::string> g_unreadKeys;
std::map<std::string, std::string> g_loggedKeys;

TShortCut ReadHotKey(const StoredSettings& stored, const char* key, TShortCut fallback) {
    g_unreadKeys.erase(key);
    std::string text;
    if (!stored.String(kGeneral, key, text)) return fallback;
    // An emptied line means no key at all.
    if (const TShortCut read = TextToShortCut(text); read || text.empty()) return read;
    g_unreadKeys[key] = text;
    std::string& logged = g_loggedKeys[key];
    if (logged != SettingsPath() + '\n' + text) {
        logged = SettingsPath() + '\n' + text;
        LogTolerated(std::string("The hotkey line \"") + key + "=" + text + "\" in \"" + SettingsPath() +
                         "\" names no key the program knows; " +
                         (fallback ? ShortCutToText(fallback) + " serves instead" : std::string("no key serves")),
                     ERROR_INVALID_DATA);
    }
    return fallback;
}

// The file as LoadSettings last read it, the values the record then held,
// and the text the windows show since ApplySettings.
struct ReadSettings {
    std::string path;
    std::string text;
    std::map<std::string, std::string> values;
};
ReadSettings g_read;
std::string g_appliedText;

// What SaveSettings writes for a hotkey: an unread line as it stood while
// its fallback still serves.
std::string HotKeyText(const char* key, TShortCut value, TShortCut fallback) {
    auto unread = g_unreadKeys.find(key);
    return unread != g_unreadKeys.end() && value == fallback ? unread->second : ShortCutToText(value);
}

// Whether the file's colours line was one this version reads: an unread
// one stays as it stands while the choice is left as it was read.
bool g_coloursLineRead = false;

ColourChoice ReadColours(const StoredSettings& stored) {
    std::string text;
    g_coloursLineRead = false;
    if (!stored.String(kFont, "Colours", text)) return ColourChoice::AsWindows;
    const int value = ParseSettingInteger(text, -1);
    g_coloursLineRead = value >= 0 && value <= static_cast<int>(ColourChoice::Dark);
    return g_coloursLineRead ? static_cast<ColourChoice>(value) : ColourChoice::AsWindows;
}

std::vector<ProfileEntry> SettingsEntries() {
    std::vector<ProfileEntry> entries;
    entries.push_back({kGeneral, "TaskBar", Settings.TaskBar ? "1" : "0"});
    entries.push_back({kGeneral, "OpenLauncherHotkey",
                       HotKeyText("OpenLauncherHotkey", Settings.OpenLauncherHotkey, kDefaultLauncherKey)});
    // Whoever never set it finds no such line in the file; one taken away is emptied.
    if (Settings.OpenSearchHotkey || g_unreadKeys.count("OpenSearchHotkey") ||
        ProfileValue(g_read.text, kGeneral, "OpenSearchHotkey"))
        entries.push_back({kGeneral, "OpenSearchHotkey", HotKeyText("OpenSearchHotkey", Settings.OpenSearchHotkey, 0)});
    entries.push_back({kFont, "WindowsDraw", Settings.WindowsDraw ? "1" : "0"});
    entries.push_back({kFont, "FontName", Settings.FontName});
    entries.push_back({kFont, "FontSize", std::to_string(Settings.FontSize > 0 ? Settings.FontSize : 8)});
    entries.push_back({kMisc, "DrawMenuBar", Settings.DrawMenuBar ? "1" : "0"});
    if (Settings.Colours != ColourChoice::AsWindows || g_coloursLineRead)
        entries.push_back({kFont, "Colours", std::to_string(static_cast<int>(Settings.Colours))});
    return entries;
}


// What this run did not change and someone else changed in the file since
// it was read stays as the file has it now: the newer value.
std::vector<ProfileEntry> EntriesToWrite() {
    std::vector<ProfileEntry> entries = SettingsEntries();
    if (g_read.path != SettingsPath()) return entries;
    const std::string now = ReadProfileText(SettingsPath());
    std::erase_if(entries, [&now](const ProfileEntry& entry) {
        const auto read = g_read.values.find(entry.key);
        const bool changedHere = read == g_read.values.end() || read->second != entry.value;
        const bool changedThere =
            ProfileValue(now, entry.section, entry.key) != ProfileValue(g_read.text, entry.section, entry.key);
        return !changedHere && changedThere;
    });
    return entries;
}

bool AnyWindowOpen() {
    for (TTitledDialog* w : g_links.windows)
        if (w->Visible()) return true;
    return false;
}

// Logged, and said where the user looks: an open window's status line, or
// a box when a window without one is open or the log could not take it.
void ReportSettingsFailure(unsigned long code) {
    const bool logged = LogTolerated("Cannot write \"" + SettingsPath() + "\"", code);
    const std::string words = ProblemInWords(code, App.dataFolder) + ": the settings cannot be saved";
    if (g_links.showStatus && g_links.showStatus(words)) return;
    if (!logged || AnyWindowOpen()) ShowNotice(kNoticeGiven, words + ".", 0);
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
    const StoredSettings stored{ReadProfileText(SettingsPath())};
    Settings.TaskBar = stored.Bool(kGeneral, "TaskBar", true);
    Settings.OpenLauncherHotkey = ReadHotKey(stored, "OpenLauncherHotkey", kDefaultLauncherKey);
    if (g_links.hotKey) g_links.hotKey->SetHotKey(Settings.OpenLauncherHotkey);
    Settings.OpenSearchHotkey = ReadHotKey(stored, "OpenSearchHotkey", 0);
    if (g_links.searchHotKey) g_links.searchHotKey->SetHotKey(Settings.OpenSearchHotkey);
    Settings.WindowsDraw = stored.Bool(kFont, "WindowsDraw", true);
    Settings.FontName = "Verdana";
    stored.String(kFont, "FontName", Settings.FontName);
    Settings.FontSize = stored.Integer(kFont, "FontSize", 8);
    Settings.DrawMenuBar = stored.Bool(kMisc, "DrawMenuBar", false);
    Settings.Colours = ReadColours(stored);
    g_read = ReadSettings{SettingsPath(), stored.text, {}};
    for (const ProfileEntry& entry : SettingsEntries()) g_read.values[entry.key] = entry.value;
    Application.ProcessMessages();
    ReadAutostart();
}

bool SaveSettings() {
    const bool written = WriteProfileValues(SettingsPath(), EntriesToWrite());
    if (!written) ReportSettingsFailure(::GetLastError());
    WriteAutostart(Settings.Autostart);
    Application.ProcessMessages();
    return written;
}

bool SettingsChangedOnDisk() { return ReadProfileText(SettingsPath()) != g_appliedText; }

void ApplySettings() {
    const SettingsLinks& c = Links();
    g_appliedText = g_read.text;
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
    FollowColourTheme(true);
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

void PauseHotKeys(bool pause) {
    for (TJvApplicationHotKey* key : {g_links.hotKey, g_links.searchHotKey})
        if (key) key->SetPaused(pause);
}

std::vector<std::string> ChangeHotKeys(TShortCut launcher, TShortCut search) {
    std::vector<std::string> refused;
    PauseHotKeys(false);
    if (search && search == launcher) {
        refused.push_back(ShortCutToText(search) + " opens the launcher menu already");
        search = Settings.OpenSearchHotkey == launcher ? 0 : Settings.OpenSearchHotkey;
    }
    struct Change {
        TJvApplicationHotKey* key;
        TShortCut wanted;
        TShortCut& setting;
        TShortCut old;
    };
    Change changes[] = {{g_links.hotKey, launcher, Settings.OpenLauncherHotkey, Settings.OpenLauncherHotkey},
                        {g_links.searchHotKey, search, Settings.OpenSearchHotkey, Settings.OpenSearchHotkey}};
    // Both let go first: the two may swap their keys.
    for (Change& c : changes)
        if (c.key && c.wanted != c.key->HotKey()) c.key->SetHotKey(0);
    for (Change& c : changes) {
        c.setting = c.wanted;
        if (!c.key || c.wanted == c.key->HotKey()) continue;
        c.key->SetHotKey(c.wanted);
        if (!c.wanted || c.key->Registered()) continue;
        refused.push_back(ShortCutToText(c.wanted) + " is used by another program");
        c.key->SetHotKey(c.old);
        c.setting = c.old;
    }
    return refused;
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
