#pragma once
// The settings record, its file zuvizove.ziz and the autostart value, and how
// the record reaches the windows. The record knows no control: the
// preferences dialog copies it into its controls and back.

#include <functional>
#include <string>
#include <vector>

#include "platform/Seam.h"
#include "platform/ShortCut.h"

namespace rz {

class TTitledDialog;
class TJvApplicationHotKey;
class TLinkLabel;
class TRichEdit;

// The colours of what the program paints itself: the system's app theme, or always light or dark.
enum class ColourChoice { AsWindows = 0, Light = 1, Dark = 2 };

struct TSettings {
    bool TaskBar = true;
    bool WindowsDraw = true;
    std::string FontName = "Verdana";
    int FontSize = 8;
    bool DrawMenuBar = false;
    TShortCut OpenLauncherHotkey = kCtrlBit | 'L';
    // None unless the file gives one; written only once set.
    TShortCut OpenSearchHotkey = 0;
    // Written only once set, a line older versions pass over.
    ColourChoice Colours = ColourChoice::AsWindows;
    // Whether the Run value is there: the program starts with Windows.
    bool Autostart = false;
};

extern TSettings Settings;

inline constexpr char kSettingsFileName[] = "zuvizove.ziz";
inline constexpr char kAutostartValueName[] = "Corvane-Razaveza";
inline constexpr char kRunKeyPath[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

// Where the record is applied: the two hotkey components, the three titled
// windows in their order (preferences, item manager, about box), the two
// controls whose fonts are set apart from their windows' (the dialog's help
// text, the about box's link) and the main form's two switches.
struct SettingsLinks {
    TJvApplicationHotKey* hotKey = nullptr;
    TJvApplicationHotKey* searchHotKey = nullptr;
    std::vector<TTitledDialog*> windows;
    TRichEdit* helpText = nullptr;
    TLinkLabel* link = nullptr;
    std::function<void(bool taskBar)> applyTaskBarPresence;
    std::function<void(bool attach)> attachActivation;
    // Shows a problem in the status line of an open window; false when none is open.
    std::function<bool(const std::string& text)> showStatus;
};

void LinkSettings(SettingsLinks links);

// The file and the Run value into the record; the hotkey, once linked, takes
// the key read. A hotkey line that names no key is logged once; the default
// key serves and the line is written back as it stands.
void LoadSettings();
// The record into the file, in one replacement of the whole file and only
// when it changes, and the Run value. A value this run did not change whose
// line someone else changed since LoadSettings keeps that newer line. A file
// that cannot be written is logged and said in a status line or a box;
// false then.
bool SaveSettings();
void ApplySettings();
// The file no longer holds what the last ApplySettings put into effect.
bool SettingsChangedOnDisk();
// The Run value into Settings.Autostart.
void ReadAutostart();
void WriteAutostart(bool on);
// The two hotkeys given back to the system while a field takes key
// combinations, so that the current ones can be pressed into it.
void PauseHotKeys(bool pause);
// The hotkeys registered in place of the current ones and kept in Settings;
// one another program holds is refused and the old one stays. What was
// refused, in words ("Ctrl+L is used by another program").
std::vector<std::string> ChangeHotKeys(TShortCut launcher, TShortCut search);
void HideOpenWindows();
void ReshowHiddenWindows();

// The platform's menu font, which platform drawing mode uses.
struct MenuFontInfo {
    std::string name;
    int points = 8;
};
extern Seam<MenuFontInfo()> SystemMenuFont;

// Decimal, "$" hex or "0x" hex; anything else gives the default.
int ParseSettingInteger(const std::string& text, int defaultValue);

}  // namespace rz
