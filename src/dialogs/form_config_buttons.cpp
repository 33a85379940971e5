// The preferences dialog's buttons, the drawing-mode box and the copies of
// the settings record into the controls and back.

#include "core/AppData.h"
#include "core/Launching.h"
#include "core/Settings.h"
#include "dialogs/form_config.h"
#include "platform/MessageBox.h"

namespace rz {

void TFormConfig::CBWinDefDrawAllClick(TObject*) { SetFontControlsState(CBWinDefDrawAll.Checked()); }

void TFormConfig::SetFontControlsState(bool windowsDraw) {
    if (!windowsDraw) CBWinDefDrawAll.SetChecked(false);
    CmBoxFontName.SetEnabled(!windowsDraw);
    CmBoxFontSize.SetEnabled(!windowsDraw);
    BtnDefault.SetEnabled(!windowsDraw);
}

void TFormConfig::ShowSettings() {
    CmBoxFontSize.SetItemIndex(CmBoxFontSize.IndexOf(std::to_string(Settings.FontSize)));
    CmBoxFontName.SetItemIndex(CmBoxFontName.IndexOf(Settings.FontName));
    ChkBxTaskBar.SetChecked(Settings.TaskBar);
    CBWinDefDrawAll.SetChecked(Settings.WindowsDraw);
    SetFontControlsState(Settings.WindowsDraw);
    ChkBxSystray.SetChecked(Settings.Autostart);
    HKLauncher.SetValue(Settings.OpenLauncherHotkey);
    HKSearch.SetValue(Settings.OpenSearchHotkey);
    CmBoxColours.SetItemIndex(static_cast<int>(Settings.Colours));
}

void TFormConfig::TakeSettings() {
    Settings.TaskBar = ChkBxTaskBar.Checked();
    Settings.WindowsDraw = CBWinDefDrawAll.Checked();
    // A name or size the lists do not hold leaves them without a selection:
    // the stored value is kept rather than lost or failing the save.
    const std::string name = CmBoxFontName.Text();
    if (!name.empty()) Settings.FontName = name;
    Settings.FontSize = ParseSettingInteger(CmBoxFontSize.Text(), Settings.FontSize > 0 ? Settings.FontSize : 8);
    Settings.Autostart = ChkBxSystray.Checked();
    const int colours = CmBoxColours.ItemIndex();
    if (colours >= 0) Settings.Colours = static_cast<ColourChoice>(colours);
}

void TFormConfig::BtnDefaultClick(TObject*) {
    const MenuFontInfo menuFont = SystemMenuFont();
    const std::vector<std::string>& names = CmBoxFontName.Items();
    int verdana = 0;
    int chosen = -1;
    for (int i = 0; i < static_cast<int>(names.size()); ++i) {
        if (names[i] == "Verdana") verdana = i;
        if (names[i] == menuFont.name) {
            chosen = i;
            break;
        }
    }
    CmBoxFontName.SetItemIndex(chosen >= 0 ? chosen : verdana);
    const char* size = menuFont.points >= 9 ? "9" : menuFont.points == 8 ? "8" : "7";
    CmBoxFontSize.SetItemIndex(CmBoxFontSize.IndexOf(size));
}

std::vector<std::string> TFormConfig::StoreAndApply() {
    HideOpenWindows();
    TakeSettings();
    // Before the file: a refused key leaves the line of the old one.
    const std::vector<std::string> refused = ChangeHotKeys(HKLauncher.Value(), HKSearch.Value());
    SaveSettings();
    LoadSettings();
    ApplySettings();
    ShowSettings();
    if (applyMenuDrawing) applyMenuDrawing();
    return refused;
}

void TFormConfig::ReportRefusedKeys(const std::vector<std::string>& refused) {
    std::string text;
    for (const std::string& line : refused) text += (text.empty() ? "" : "\r\n") + line + ".";
    ShowMessageBox(Handle(), text, App.configTitle, MB_OK | MB_ICONWARNING);
    FocusControl(refused.front().find("launcher") == std::string::npos && HKSearch.Value() == Settings.OpenSearchHotkey
                     ? HKLauncher
                     : HKSearch);
}

void TFormConfig::BtnApplyClick(TObject*) {
    const std::vector<std::string> refused = StoreAndApply();
    ReshowHiddenWindows();
    if (!refused.empty()) ReportRefusedKeys(refused);
}

void TFormConfig::BtnOKClick(TObject*) {
    const std::vector<std::string> refused = StoreAndApply();
    // A refused key keeps the dialog open, showing the key that stays.
    if (!refused.empty()) {
        ReshowHiddenWindows();
        ReportRefusedKeys(refused);
        return;
    }
    // Closed without FormClose: what it would put back was just stored.
    Hide();
    Tag = 0;
    ReshowHiddenWindows();
}

void TFormConfig::BtnCancelClick(TObject*) { Close(); }

void TFormConfig::FormClose(TObject*, bool& hide) {
    // Left in the controls, dropped edits would be stored by the next Close
    // of the program, and an unticked autostart box would remove the value.
    LoadSettings();
    ShowSettings();
    hide = true;
}

void TFormConfig::BtnHelpClick(TObject*) { OpenWithShell(App.dataFolder + "help.html"); }

}  // namespace rz
