#pragma once
// The preferences dialog: two pages of settings, a context help panel that
// explains the control that has the focus, and the buttons that apply,
// store or drop the edits.

#include <functional>
#include <string>
#include <vector>

#include "controls/CcvWinGroupBox.h"
#include "core/TitledDialog.h"
#include "platform/EnhComboBox.h"
#include "platform/HotKeyEdit.h"
#include "platform/PageControl.h"
#include "platform/Panels.h"
#include "platform/RichEdit.h"
#include "platform/StdControls.h"

namespace rz {

class TFormConfig : public TTitledDialog {
public:
    TFormConfig();

    // Containers come before their contents: members are destroyed in
    // reverse order, so no window outlives its wrapper's parent.
    TPageControl PCSettings{"PCSettings"};
    TTabSheet TSControl{"TSControl"};
    TTabSheet TSVisuals{"TSVisuals"};

    TCheckBox ChkBxSystray{"ChkBxSystray"};
    TCheckBox ChkBxTaskBar{"ChkBxTaskBar"};
    TGroupBox GrpBxMixed{"GrpBxMixed"};
    // The two system-wide keys: the launcher menu's and the search's.
    TLabel LblLauncherKey{"LblLauncherKey"};
    THotKeyEdit HKLauncher{"HKLauncher"};
    TLabel LblSearchKey{"LblSearchKey"};
    THotKeyEdit HKSearch{"HKSearch"};
    TGroupBox GrpBxHotkeys{"GrpBxHotkeys"};

    TCheckBox CBWinDefDrawAll{"CBWinDefDrawAll"};
    TLabel LblFontName{"LblFontName"};
    TEnhComboBox CmBoxFontName{"CmBoxFontName"};
    TLabel LblFontSize{"LblFontSize"};
    TEnhComboBox CmBoxFontSize{"CmBoxFontSize"};
    TButton BtnDefault{"BtnDefault"};
    TcvWinGroupBox GrpBxFontSets{"GrpBxFontSets"};
    // The colours of what the program paints: as Windows, light or dark.
    TLabel LblColours{"LblColours"};
    TEnhComboBox CmBoxColours{"CmBoxColours"};

    TRichEdit RichEditHelp{"RichEditHelp"};
    TPanel PanelHeading{"PanelHeading"};
    TPanel PanelHelp{"PanelHelp"};

    TButton BtnCancel{"BtnCancel"};
    TButton BtnApply{"BtnApply"};
    TButton BtnOK{"BtnOK"};
    TButton BtnHelp{"BtnHelp"};

    void FormShow(TObject* sender);
    // Cancel, Esc and the close box: the controls show the stored settings again.
    void FormClose(TObject* sender, bool& hide);
    // The settings record into the controls (the font lists keep no selection
    // where the record's value is not among their items), and back.
    void ShowSettings();
    void TakeSettings();
    void SetFontControlsState(bool windowsDraw);
    void PCSettingsChange(TObject* sender);
    void PCSettingsResize(TObject* sender);
    void OnEnterExplain(TObject* sender);
    void CBWinDefDrawAllClick(TObject* sender);
    void BtnDefaultClick(TObject* sender);
    void BtnApplyClick(TObject* sender);
    void BtnOKClick(TObject* sender);
    void BtnCancelClick(TObject* sender);
    void BtnHelpClick(TObject* sender);

    // Rebuilds the launcher menu's drawing once new settings are applied;
    // the application wires it.
    std::function<void()> applyMenuDrawing;

private:
    void CreateControls();
    void LayOutControls();
    void LayOutPages();
    void DpiChanged() override;
    void WireEvents();
    void FocusFirstControl();
    // Apply and OK up to the menu drawing; the hotkeys refused, in words.
    std::vector<std::string> StoreAndApply();
    // Said once the windows are back, in a box over this dialog.
    void ReportRefusedKeys(const std::vector<std::string>& refused);
};

// The help panel's text for a control's name.
std::string ExplainText(const std::string& controlName);

// The face names of all installed screen fonts, without duplicates.
std::vector<std::string> InstalledScreenFonts();

}  // namespace rz
