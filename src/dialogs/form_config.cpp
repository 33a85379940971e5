#include "dialogs/form_config.h"

#include <set>

#include "core/AppData.h"
#include "core/Settings.h"
#include "platform/Fonts.h"
#include "platform/Handles.h"
#include "platform/Layout.h"

namespace rz {

namespace {
constexpr int kClientWidth = 468;
constexpr int kClientHeight = 297;
constexpr int kHelpLeft = 322;
constexpr int kHelpWidth = 145;
constexpr int kHeadingHeight = 20;
// The help text sits inside the panel's edge.
constexpr int kHelpInset = 2;
constexpr int kButtonTop = 266;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;
}  // namespace

TFormConfig::TFormConfig() : TTitledDialog("FormConfig", App.configTitle) {
    CreateForm("", kClientWidth, kClientHeight);
    CenterOnScreen();
    CreateControls();
    WireEvents();
    PCSettingsResize(&PCSettings);
}

void TFormConfig::CreateControls() {
    TSControl.SetCaption("Control");
    TSVisuals.SetCaption("Visuals");
    PCSettings.AddPage(TSControl);
    PCSettings.AddPage(TSVisuals);
    PCSettings.SetActivePage(TSVisuals);
    for (TEnhComboBox* list : {&CmBoxFontName, &CmBoxFontSize, &CmBoxColours}) {
        list->AlwaysShowBorder = true;
        list->AutoDropDownWidth = true;
        list->DropDownWidth = Scaled(137);
        list->ItemHeight = Scaled(13);
        list->HorizontalExtent = 0;
    }
    CmBoxFontName.Sorted = true;
    CmBoxFontSize.ExtendedInterface = true;
    CmBoxFontSize.SetItems({"6", "7", "8", "9", "10", "11", "12"});
    // In the order of the setting's values.
    CmBoxColours.SetItems({"as Windows", "light", "dark"});
    LayOutControls();
}

void TFormConfig::DpiChanged() {
    for (TEnhComboBox* list : {&CmBoxFontName, &CmBoxFontSize, &CmBoxColours}) list->SetItemHeight(Scaled(13));
    LayOutControls();
    PCSettingsResize(&PCSettings);
}

// The help panel's place follows the pages (PCSettingsResize).
void TFormConfig::LayOutControls() {
    constexpr int buttonStep = kButtonWidth + 6;
    constexpr int firstButton = kClientWidth - 4 * buttonStep - 4;
    // Children stack in creation order, the first on top: the help text lies
    // over its panel, and both over the pages' right-hand part.
    LayOut(Handle(), Dpi(),
           {Row(RichEditHelp, nullptr, kHelpLeft + kHelpInset, kHeadingHeight + kHelpInset, kHelpWidth - 2 * kHelpInset,
                0),
            Row(PanelHeading, "Conext Sensitive Help", kHelpLeft, 0, kHelpWidth, kHeadingHeight),
            Row(PanelHelp, nullptr, kHelpLeft, kHeadingHeight, kHelpWidth, 0),
            Row(PCSettings, nullptr, 4, 4, kClientWidth - 8, 256),
            Row(BtnCancel, "Cancel", firstButton, kButtonTop, kButtonWidth, kButtonHeight),
            Row(BtnApply, "Apply", firstButton + buttonStep, kButtonTop, kButtonWidth, kButtonHeight),
            Row(BtnOK, "OK", firstButton + 2 * buttonStep, kButtonTop, kButtonWidth, kButtonHeight),
            Row(BtnHelp, "Help", firstButton + 3 * buttonStep, kButtonTop, kButtonWidth, kButtonHeight)});
    GrpBxFontSets.SetDpi(Dpi());
    LayOutPages();
}

// Each frame comes after the boxes it frames, so that it lies below them.
void TFormConfig::LayOutPages() {
    LayOut(TSControl.Handle(), Dpi(),
           {Row(ChkBxSystray, "Always show Corvane Razaveza in Systray", 18, 26, 280, 17),
            Row(ChkBxTaskBar, "Always* show Corvane Razaveza in TaskBar", 18, 48, 280, 17),
            Row(GrpBxMixed, "General Settings", 8, 8, 298, 70), Row(LblLauncherKey, "Open the menu:", 18, 108, 100, 16),
            Row(HKLauncher, nullptr, 122, 105, 174, 21), Row(LblSearchKey, "Open the search:", 18, 135, 100, 16),
            Row(HKSearch, nullptr, 122, 132, 174, 21), Row(GrpBxHotkeys, "Hotkeys", 8, 86, 298, 76)});
    // The font name list is narrower than its dropped list; a list's height
    // is that of the field with the list dropped.
    LayOut(TSVisuals.Handle(), Dpi(),
           {Row(CBWinDefDrawAll, "Let Windows default draw all controls.", 8, 8, 298, 17),
            Row(LblFontName, "Font Name", 18, 54, 121, 16), Row(CmBoxFontName, nullptr, 18, 70, 121, 200),
            Row(LblFontSize, "Font Size", 152, 54, 60, 16), Row(CmBoxFontSize, nullptr, 152, 70, 52, 200),
            Row(BtnDefault, "Default", 221, 104, 75, 23), Row(GrpBxFontSets, "Program Font Settings", 8, 34, 298, 104),
            Row(LblColours, "Colours", 18, 153, 60, 16), Row(CmBoxColours, nullptr, 80, 150, 121, 200)});
}

void TFormConfig::WireEvents() {
    OnShow = [this](TObject* s) { FormShow(s); };
    OnClose = [this](TObject* s, bool& hide) { FormClose(s, hide); };
    PCSettings.OnChange = [this](TObject* s) { PCSettingsChange(s); };
    PCSettings.OnResize = [this](TObject* s) { PCSettingsResize(s); };
    auto explain = [this](TObject* s) { OnEnterExplain(s); };
    for (TControl* c :
         std::initializer_list<TControl*>{&BtnOK, &BtnCancel, &BtnApply, &PCSettings, &ChkBxSystray, &ChkBxTaskBar,
                                          &CBWinDefDrawAll, &CmBoxFontName, &CmBoxFontSize, &BtnDefault, &CmBoxColours})
        c->OnEnter = explain;
    for (THotKeyEdit* field : {&HKLauncher, &HKSearch}) {
        // The current keys can be pressed into the fields only while the system lets go of them.
        field->OnEnter = [this](TObject* s) {
            OnEnterExplain(s);
            PauseHotKeys(true);
        };
        field->OnExit = [](TObject*) { PauseHotKeys(false); };
        field->OnRefused = [this](const std::string& reason) {
            ::MessageBeep(MB_ICONWARNING);
            RichEditHelp.SetText(reason);
        };
    }
    CBWinDefDrawAll.OnClick = [this](TObject* s) { CBWinDefDrawAllClick(s); };
    BtnDefault.OnClick = [this](TObject* s) { BtnDefaultClick(s); };
    BtnApply.OnClick = [this](TObject* s) { BtnApplyClick(s); };
    BtnOK.OnClick = [this](TObject* s) { BtnOKClick(s); };
    BtnCancel.OnClick = [this](TObject* s) { BtnCancelClick(s); };
    BtnHelp.OnClick = [this](TObject* s) { BtnHelpClick(s); };
}

void TFormConfig::FormShow(TObject*) {
    ShowSettings();
    FocusFirstControl();
}

void TFormConfig::PCSettingsChange(TObject*) { FocusFirstControl(); }

void TFormConfig::FocusFirstControl() {
    if (PCSettings.ActivePage() == &TSControl) ChkBxSystray.SetFocus();
    else CBWinDefDrawAll.SetFocus();
}

void TFormConfig::PCSettingsResize(TObject*) {
    const RECT page = TSVisuals.Bounds();
    const int left = Scaled(kHelpLeft), width = Scaled(kHelpLeft + kHelpWidth) - left;
    const int heading = Scaled(kHeadingHeight), inset = Scaled(kHelpInset);
    const int headingTop = page.top - Scaled(4);
    const int helpTop = headingTop + heading;
    const int helpHeight = (page.bottom - page.top) - heading + Scaled(6);
    PanelHeading.SetBounds(left, headingTop, width, heading);
    PanelHelp.SetBounds(left, helpTop, width, helpHeight);
    RichEditHelp.SetBounds(left + inset, helpTop + inset, width - 2 * inset, helpHeight - 2 * inset);
}

void TFormConfig::OnEnterExplain(TObject* sender) {
    const auto* component = dynamic_cast<const TComponent*>(sender);
    RichEditHelp.SetText(ExplainText(component ? component->Name : std::string()));
}

std::string ExplainText(const std::string& controlName) {
    static const std::pair<const char*, const char*> kTexts[] = {
        {"ChkBxSystray",
         "If checked program will register itself to windows startup registry. This means the program in the "
         "future always will place itself in the systray when the computer starts ready to be used. \r\n\r\n"
         "You can at any time uncheck this setting and the program will un-register itself again."},
        {"ChkBxTaskBar",
         "If checked the program will be shown in the taskbar when - and only when - a window of the program is "
         "visible. If unchecked the program will never be shown in the taskbar even if a window of the program "
         "is visible."},
        {"CBWinDefDrawAll",
         "If checked all fonts in program will be drawn by Windows meaning it'll choose the fonts you typical "
         "see in Windows.\r\n\r\nThat is of course the most compatible setting and is bound to work. However if "
         "you wish to customize the font size and type, you need to have this box unchecked."},
        {"CmBoxFontName",
         "If you have chosen not to let Windows default draw controls, you can in this combobox choose what "
         "font should be used."},
        {"CmBoxFontSize",
         "If you have chosen not to let Windows default draw controls, you can in this combobox choose what "
         "size font should be used."},
        {"BtnDefault",
         "If you have chosen not to let Windows default draw controls, you can with this button quickly choose "
         "between 2 different defaults (respective what program and Windows default to)."},
        {"HKLauncher",
         "Press the keys that open the launcher menu from any program, for example Ctrl+Alt+L. Backspace "
         "empties the field: the menu then opens from the tray icon only."},
        {"HKSearch",
         "Press the keys that open the search box from any program, for example Ctrl+Shift+L. Backspace "
         "empties the field: no key opens the search then."},
        {"CmBoxColours",
         "Choose the colours of the menus and windows the program draws itself: \"as Windows\" follows the light "
         "or dark app colours set in Windows, \"light\" and \"dark\" keep to one. High contrast, when it is on, "
         "goes before all three."},
        {"BtnCancel", "Cancel and exit (without saving changes to settings)."},
        {"BtnApply", "Apply changes to settings (doesn't exit)."},
        {"BtnOK", "Save changes to settings and exit."},
    };
    for (const auto& [name, text] : kTexts)
        if (controlName == name) return text;
    return "No help available for this topic";
}

namespace {
int CALLBACK CollectFont(const LOGFONTW* lf, const TEXTMETRICW*, DWORD, LPARAM data) {
    // No exception may unwind through the system's enumeration: out of
    // memory ends it with the names collected so far.
    try {
        // Vertical variants ("@Face") are not choices for menus.
        if (lf->lfFaceName[0] != L'@') reinterpret_cast<std::set<std::string>*>(data)->insert(FaceNameOf(*lf));
        return 1;
    } catch (...) {
        return 0;
    }
}
}  // namespace

std::vector<std::string> InstalledScreenFonts() {
    std::set<std::string> names;
    WindowDC screen(nullptr);
    LOGFONTW lf{};
    lf.lfCharSet = DEFAULT_CHARSET;
    ::EnumFontFamiliesExW(screen.get(), &lf, &CollectFont, reinterpret_cast<LPARAM>(&names), 0);
    return {names.begin(), names.end()};
}

}  // namespace rz
