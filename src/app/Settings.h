#pragma once
// The six settings of zuvizove.ziz and the autostart value, and how they
// reach the windows.

#include <string>

namespace rz {

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

void LoadSettings();
void SaveSettings();
void ApplySettings();
void SetFontControlsState(bool windowsDraw);
void ReadAutostart();
void WriteAutostart(bool on);
void HideOpenWindows();
void ReshowHiddenWindows();

// Decimal, "$" hex or "0x" hex; anything else gives the default.
int ParseSettingInteger(const std::string& text, int defaultValue);

}  // namespace rz
