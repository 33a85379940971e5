#pragma once
// The six settings of zuvizove.ziz and the autostart value, and how they
// reach the windows. The routines act on the windows and controls handed
// over by LinkSettings once the forms exist.

#include <functional>
#include <string>
#include <vector>

#include "platform/Seam.h"

namespace rz {

class TButton;
class TCheckBox;
class TComboBox;
class TTitledDialog;
class TJvApplicationHotKey;
class TLinkLabel;
class TRichEdit;

struct TSettings {
    bool TaskBar = true;
    bool WindowsDraw = true;
    std::string FontName = "Verdana";
    int FontSize = 8;
    bool DrawMenuBar = false;
};

extern TSettings Settings;

inline constexpr char kSettingsFileName[] = "zuvizove.ziz";
inline constexpr char kAutostartValueName[] = "Corvane-Razaveza";
inline constexpr char kRunKeyPath[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

// What the settings are read from and applied to: the hotkey component, the
// preferences dialog's controls, the three titled windows in their order
// (preferences, item manager, about box), the two controls whose fonts are
// set apart from their windows' (the dialog's help text, the about box's
// link) and the main form's two switches.
struct SettingsLinks {
    TJvApplicationHotKey* hotKey = nullptr;
    TCheckBox* systray = nullptr;
    TCheckBox* taskBar = nullptr;
    TCheckBox* winDefDrawAll = nullptr;
    TComboBox* fontName = nullptr;
    TComboBox* fontSize = nullptr;
    TButton* fontDefault = nullptr;
    std::vector<TTitledDialog*> windows;
    TRichEdit* helpText = nullptr;
    TLinkLabel* link = nullptr;
    std::function<void(bool taskBar)> applyTaskBarPresence;
    std::function<void(bool attach)> attachActivation;
};

void LinkSettings(SettingsLinks links);

void LoadSettings();
void SaveSettings();
void ApplySettings();
// The dialog's part of ApplySettings: the font lists (no selection where the
// setting is not among their items), the taskbar and drawing boxes and the
// font controls' state.
void ShowSettingsInControls();
void SetFontControlsState(bool windowsDraw);
void ReadAutostart();
void WriteAutostart(bool on);
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
