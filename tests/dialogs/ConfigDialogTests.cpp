// The preferences dialog driven through its controls' own notifications.

#include <algorithm>
#include <vector>

#include "DialogFixture.h"
#include "core/ColourTheme.h"
#include "manager/form_items.h"
#include "menu/form_general.h"

using namespace rz;
using rztest::DialogTest;

namespace {

RECT ClientRectOf(HWND hwnd) {
    RECT r;
    ::GetClientRect(hwnd, &r);
    return r;
}

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

class ConfigDialogTest : public DialogTest {
protected:
    void ExpectHelpPanelAlongThePages() {
        const RECT page = Config().TSVisuals.Bounds();
        const RECT heading = Config().PanelHeading.Bounds();
        const RECT help = Config().PanelHelp.Bounds();
        const RECT text = Config().RichEditHelp.Bounds();
        EXPECT_EQ(heading.left, 322);
        EXPECT_EQ(Width(heading), 145);
        EXPECT_EQ(heading.top, page.top - 4);
        EXPECT_EQ(help.left, 322);
        EXPECT_EQ(Width(help), 145);
        EXPECT_EQ(help.top, heading.bottom);
        EXPECT_EQ(Height(help), Height(page) - Height(heading) + 6);
        EXPECT_TRUE(text.left > help.left && text.top > help.top && text.right < help.right &&
                    text.bottom < help.bottom);
    }
    // Unchecks "Let Windows default draw" so the font controls can be used.
    void OwnDrawingInDialog() {
        if (Config().CBWinDefDrawAll.Checked()) Press(Config().CBWinDefDrawAll);
        ASSERT_TRUE(Config().BtnDefault.Enabled());
    }
    // What Apply has done by the time it rebuilds the menu drawing, for own
    // drawing in font at 11 points, no taskbar button and autostart on.
    void ExpectHiddenStoredAndApplied(const std::string& font) {
        for (TForm* f : std::initializer_list<TForm*>{&Config(), &FormItems(), &About()}) {
            EXPECT_FALSE(f->Visible()) << f->Name;
            EXPECT_EQ(f->Tag, 1) << f->Name;
        }
        EXPECT_EQ(Ini("Font Settings", "WindowsDraw"), "0");
        EXPECT_EQ(Ini("Font Settings", "FontName"), font);
        EXPECT_EQ(Ini("Font Settings", "FontSize"), "11");
        EXPECT_EQ(Ini("General Settings", "TaskBar"), "0");
        EXPECT_TRUE(AutostartPresent());
        EXPECT_FALSE(Settings.WindowsDraw);
        EXPECT_EQ(Settings.FontSize, 11);
        EXPECT_EQ(FormItems().FontName(), font);
        EXPECT_EQ(FormItems().Caption(), "");
    }
    void PressDefault(const MenuFontInfo& font) {
        menuFont = font;
        Press(Config().BtnDefault);
    }
};

}  // namespace

TEST_F(ConfigDialogTest, HelpPanelFollowsThePagesSizeAndButtonsRunCancelApplyOkHelp) {
    StartUp();
    const RECT client = ClientRectOf(Config().Handle());
    EXPECT_EQ(Width(client), 468);
    EXPECT_EQ(Height(client), 297);
    EXPECT_EQ(Config().PCSettings.ActivePage(), &Config().TSVisuals);
    EXPECT_EQ(Config().TSControl.Caption(), "Control");
    ExpectHelpPanelAlongThePages();

    // A smaller page control, and a larger font with its taller tab row.
    RECT pc = Config().PCSettings.Bounds();
    Config().PCSettings.SetBounds(pc.left, pc.top, Width(pc), Height(pc) - 40);
    ExpectHelpPanelAlongThePages();
    const int pageTop = Config().TSVisuals.Bounds().top;
    Config().SetFont("Tahoma", 14);
    EXPECT_GT(Config().TSVisuals.Bounds().top, pageTop);
    ExpectHelpPanelAlongThePages();

    const LONG style = ::GetWindowLongA(Config().RichEditHelp.Handle(), GWL_STYLE);
    EXPECT_TRUE((style & ES_READONLY) && (style & WS_VSCROLL) && (style & ES_MULTILINE));
    EXPECT_FALSE(style & WS_TABSTOP);

    const TButton* row[] = {&Config().BtnCancel, &Config().BtnApply, &Config().BtnOK, &Config().BtnHelp};
    for (int i = 1; i < 4; ++i) {
        EXPECT_GT(row[i]->Bounds().left, row[i - 1]->Bounds().right) << row[i]->Caption();
        EXPECT_EQ(row[i]->Bounds().top, row[0]->Bounds().top);
    }
    EXPECT_GE(row[0]->Bounds().top, Config().PCSettings.Bounds().bottom);
}

TEST_F(ConfigDialogTest, HelpTextFollowsTheFocusAndEachPageFocusesItsFirstControl) {
    StartUp();
    Config().Show();
    EXPECT_EQ(::GetFocus(), Config().CBWinDefDrawAll.Handle());
    EXPECT_EQ(Config().RichEditHelp.Text(), ExplainText("CBWinDefDrawAll"));
    EXPECT_NE(Config().RichEditHelp.Text().find(" see in Windows.\r\n\r\nThat is"), std::string::npos);

    Config().PCSettings.SetFocus();
    EXPECT_EQ(Config().RichEditHelp.Text(), "No help available for this topic");
    Config().BtnOK.SetFocus();
    EXPECT_EQ(Config().RichEditHelp.Text(), "Save changes to settings and exit.");
    Config().BtnCancel.SetFocus();
    EXPECT_EQ(Config().RichEditHelp.Text(), "Cancel and exit (without saving changes to settings).");
    // Help has no text of its own: the last one stays.
    Config().BtnHelp.SetFocus();
    EXPECT_EQ(Config().RichEditHelp.Text(), "Cancel and exit (without saving changes to settings).");
    OwnDrawingInDialog();
    std::vector<std::string> seen;
    for (TControl* c : std::initializer_list<TControl*>{&Config().CmBoxFontName, &Config().CmBoxFontSize,
                                                        &Config().BtnDefault, &Config().BtnApply}) {
        c->SetFocus();
        EXPECT_EQ(Config().RichEditHelp.Text(), ExplainText(c->Name)) << c->Name;
        seen.push_back(Config().RichEditHelp.Text());
    }
    std::sort(seen.begin(), seen.end());
    EXPECT_EQ(std::unique(seen.begin(), seen.end()), seen.end());

    // Left on the tab row moves to "Control", as the user does it.
    Config().PCSettings.SetFocus();
    ::SendMessageA(Config().PCSettings.Handle(), WM_KEYDOWN, VK_LEFT, 0);
    EXPECT_EQ(Config().PCSettings.ActivePage(), &Config().TSControl);
    EXPECT_TRUE(::IsWindowVisible(Config().TSControl.Handle()));
    EXPECT_FALSE(::IsWindowVisible(Config().TSVisuals.Handle()));
    EXPECT_EQ(::GetFocus(), Config().ChkBxSystray.Handle());
    EXPECT_EQ(Config().RichEditHelp.Text(), ExplainText("ChkBxSystray"));
    Config().ChkBxTaskBar.SetFocus();
    EXPECT_EQ(Config().RichEditHelp.Text(), ExplainText("ChkBxTaskBar"));

    // Opened again, on the page it was left at.
    Config().Hide();
    Config().Show();
    EXPECT_EQ(::GetFocus(), Config().ChkBxSystray.Handle());
}

TEST_F(ConfigDialogTest, CtrlTabSwitchesPagesRoundTheEndFromAnyControl) {
    StartUp();
    Config().Show();
    Config().PCSettings.SetFocus();
    ::SendMessageA(Config().PCSettings.Handle(), WM_KEYDOWN, VK_LEFT, 0);
    ASSERT_EQ(Config().PCSettings.ActivePage(), &Config().TSControl);
    Config().ChkBxTaskBar.SetFocus();

    // Ctrl+Tab and Ctrl+Shift+Tab switch pages round the end, from wherever the focus is;
    // a plain Tab is left to the dialog navigation.
    BYTE keys[256];
    ::GetKeyboardState(keys);
    const BYTE saved[2] = {keys[VK_CONTROL], keys[VK_SHIFT]};
    MSG tab{::GetFocus(), WM_KEYDOWN, VK_TAB, 0, 0, {0, 0}};
    const std::pair<BYTE, TTabSheet*> steps[] = {
        {0, &Config().TSVisuals}, {0x80, &Config().TSControl}, {0x80, &Config().TSVisuals}, {0, &Config().TSControl}};
    keys[VK_CONTROL] = 0x80;
    for (const auto& [shift, page] : steps) {
        keys[VK_SHIFT] = shift;
        ::SetKeyboardState(keys);
        EXPECT_TRUE(SwitchPageByKey(Config().Handle(), tab));
        EXPECT_EQ(Config().PCSettings.ActivePage(), page);
        EXPECT_TRUE(::IsWindowVisible(page->Handle()));
    }
    keys[VK_CONTROL] = 0;
    keys[VK_SHIFT] = 0;
    ::SetKeyboardState(keys);
    EXPECT_FALSE(SwitchPageByKey(Config().Handle(), tab));
    keys[VK_CONTROL] = saved[0];
    keys[VK_SHIFT] = saved[1];
    ::SetKeyboardState(keys);
    EXPECT_EQ(::GetFocus(), Config().ChkBxSystray.Handle());
}

TEST_F(ConfigDialogTest, DrawingBoxTogglesTheFontControlsAtOnceByClickAndBySpace) {
    StartUp();
    Config().Show();
    auto fontControlsEnabled = [this] {
        bool name = ::IsWindowEnabled(Config().CmBoxFontName.Handle());
        EXPECT_EQ(name, ::IsWindowEnabled(Config().CmBoxFontSize.Handle()) != FALSE);
        EXPECT_EQ(name, ::IsWindowEnabled(Config().BtnDefault.Handle()) != FALSE);
        return name;
    };
    EXPECT_TRUE(Config().CBWinDefDrawAll.Checked());
    EXPECT_FALSE(fontControlsEnabled());

    Press(Config().CBWinDefDrawAll);
    EXPECT_FALSE(Config().CBWinDefDrawAll.Checked());
    EXPECT_TRUE(fontControlsEnabled());

    Config().CBWinDefDrawAll.SetFocus();
    ::SendMessageA(Config().CBWinDefDrawAll.Handle(), WM_KEYDOWN, VK_SPACE, 0);
    ::SendMessageA(Config().CBWinDefDrawAll.Handle(), WM_KEYUP, VK_SPACE, 0);
    EXPECT_TRUE(Config().CBWinDefDrawAll.Checked());
    EXPECT_FALSE(fontControlsEnabled());
    EXPECT_TRUE(::IsWindowEnabled(Config().GrpBxFontSets.Handle()));
    // Nothing is stored or applied before Apply.
    EXPECT_FALSE(rztest::FileExists(dir / "zuvizove.ziz"));
}

TEST_F(ConfigDialogTest, DefaultPicksTheMenuFontOrVerdanaAndNineEightOrSeven) {
    StartUp();
    Config().Show();
    OwnDrawingInDialog();
    Config().CmBoxFontName.SetItems({"Zeta", "Verdana", "Tahoma", "Arial"});
    PressDefault({"Tahoma", 8});
    EXPECT_EQ(Config().CmBoxFontName.Text(), "Tahoma");
    EXPECT_EQ(Config().CmBoxFontSize.Text(), "8");
    PressDefault({"Not Installed", 12});
    EXPECT_EQ(Config().CmBoxFontName.Text(), "Verdana");
    EXPECT_EQ(Config().CmBoxFontSize.Text(), "9");
    // The name must match exactly.
    PressDefault({"tahoma", 6});
    EXPECT_EQ(Config().CmBoxFontName.Text(), "Verdana");
    EXPECT_EQ(Config().CmBoxFontSize.Text(), "7");
    // The window shows the choice too.
    EXPECT_EQ(::SendMessageA(Config().CmBoxFontSize.Handle(), CB_GETCURSEL, 0, 0), Config().CmBoxFontSize.IndexOf("7"));

    Config().CmBoxFontName.SetItems({"Zeta", "Arial"});
    PressDefault({"Not Installed", 9});
    EXPECT_EQ(Config().CmBoxFontName.Text(), "Arial");
    EXPECT_FALSE(rztest::FileExists(dir / "zuvizove.ziz"));
}

TEST_F(ConfigDialogTest, ApplyHidesSavesLoadsAppliesRebuildsTheMenuDrawingThenReshows) {
    StartUp();
    const std::string font = Config().CmBoxFontName.Items().back();
    FormItems().Show();
    About().Show();
    Config().Show();
    OwnDrawingInDialog();
    Choose(Config().CmBoxFontName, font);
    Choose(Config().CmBoxFontSize, "11");
    Press(Config().ChkBxTaskBar);
    Press(Config().ChkBxSystray);

    // What each earlier step left behind, seen from the menu step.
    int menuSteps = 0;
    auto rebuild = Config().applyMenuDrawing;
    Config().applyMenuDrawing = [&] {
        ++menuSteps;
        ExpectHiddenStoredAndApplied(font);
        rebuild();
    };
    Press(Config().BtnApply);
    Config().applyMenuDrawing = rebuild;
    EXPECT_EQ(menuSteps, 1);
    for (TForm* f : std::initializer_list<TForm*>{&Config(), &FormItems(), &About()}) {
        EXPECT_TRUE(f->Visible()) << f->Name;
        EXPECT_EQ(f->Tag, 0) << f->Name;
    }
    // Own drawing reached the menu, its Kit entries freshly copied included.
    const TMenuItem& root = FormItems().PMItems.Items();
    EXPECT_TRUE(root.Items(root.Count() - 1)->OnDrawItem);
    const TMenuItem& kit = *root.Items(root.Count() - 2);
    EXPECT_TRUE(kit.Items(kit.Count() - 1)->OnDrawItem);
    // The help text and the link took the new font; the link is still underlined.
    const LOGFONTA help = FontOf(Config().RichEditHelp.Font());
    EXPECT_EQ(std::string(help.lfFaceName), font);
    EXPECT_EQ(Points(help), 11);
    const LOGFONTA link = FontOf(About().LabelUrl.Font());
    EXPECT_EQ(std::string(link.lfFaceName), font);
    EXPECT_EQ(Points(link), 11);
    EXPECT_TRUE(link.lfUnderline);

    // And back to platform drawing: the menu font everywhere, the link still underlined.
    Press(Config().CBWinDefDrawAll);
    Press(Config().BtnApply);
    EXPECT_EQ(std::string(FontOf(Config().RichEditHelp.Font()).lfFaceName), "Tahoma");
    EXPECT_EQ(std::string(FontOf(About().LabelUrl.Font()).lfFaceName), "Tahoma");
    EXPECT_TRUE(FontOf(About().LabelUrl.Font()).lfUnderline);
    EXPECT_FALSE(root.Items(root.Count() - 1)->OnDrawItem);
    EXPECT_EQ(FormItems().Caption(), "Corvane Razaveza - Manage Items");
    About().Close();
    FormItems().Hide();
    Config().Hide();
}

TEST_F(ConfigDialogTest, OkStoresClosesTheDialogAndStillBringsTheManagerBack) {
    StartUp();
    FormItems().Show();
    Config().Show();
    OwnDrawingInDialog();
    Choose(Config().CmBoxFontSize, "10");
    Choose(Config().CmBoxColours, "dark");
    Press(Config().BtnOK);
    EXPECT_FALSE(Config().Visible());
    EXPECT_EQ(Config().Tag, 0);
    EXPECT_TRUE(FormItems().Visible());
    EXPECT_EQ(FormItems().Tag, 0);
    EXPECT_EQ(Ini("Font Settings", "FontSize"), "10");
    EXPECT_EQ(FormItems().FontSize(), 10);
    EXPECT_EQ(Ini("Font Settings", "Colours"), "2");
    EXPECT_TRUE(rz::CurrentPalette()->IsDark()) << "the chosen colours were not put into effect";
    FormItems().Hide();
    Settings.Colours = ColourChoice::AsWindows;
    FollowColourTheme();
}

TEST_F(ConfigDialogTest, RegressionCancelEscAndCloseBoxPutTheStoredSettingsBack) {
    WriteAutostart(true);
    StartUp();
    ASSERT_TRUE(Settings.Autostart);
    auto edit = [this] {
        Config().Show();
        Press(Config().ChkBxSystray);
        Press(Config().ChkBxTaskBar);
        OwnDrawingInDialog();
        Choose(Config().CmBoxFontSize, "12");
        Choose(Config().CmBoxColours, "light");
        ASSERT_FALSE(Config().ChkBxSystray.Checked());
    };
    auto expectStored = [this](const char* how) {
        EXPECT_FALSE(Config().Visible()) << how;
        EXPECT_TRUE(AutostartPresent()) << how;
        EXPECT_TRUE(Config().ChkBxSystray.Checked()) << how;
        EXPECT_TRUE(Config().ChkBxTaskBar.Checked()) << how;
        EXPECT_TRUE(Config().CBWinDefDrawAll.Checked()) << how;
        EXPECT_FALSE(Config().CmBoxFontSize.Enabled()) << how;
        EXPECT_EQ(Config().CmBoxFontSize.Text(), "8") << how;
        EXPECT_EQ(::SendMessageA(Config().CmBoxFontSize.Handle(), CB_GETCURSEL, 0, 0),
                  Config().CmBoxFontSize.IndexOf("8"))
            << how;
        EXPECT_EQ(Config().CmBoxColours.Text(), "as Windows") << how;
        EXPECT_FALSE(rztest::FileExists(dir / "zuvizove.ziz")) << how;
    };

    edit();
    Press(Config().BtnCancel);
    expectStored("Cancel");

    edit();
    ::SendMessageA(Config().Handle(), WM_CLOSE, 0, 0);
    expectStored("close box");

    edit();
    MSG esc{::GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0, 0, {0, 0}};
    ASSERT_TRUE(esc.hwnd);
    EXPECT_TRUE(::IsDialogMessageA(Config().Handle(), &esc));
    expectStored("Esc");

    // What the program's Close then writes is what was stored, even with
    // edits still open in the dialog.
    edit();
    SaveSettings();
    EXPECT_TRUE(AutostartPresent());
    EXPECT_EQ(Ini("Font Settings", "FontSize"), "8");
    EXPECT_EQ(Ini("Font Settings", "WindowsDraw"), "1");
    EXPECT_EQ(Ini("General Settings", "TaskBar"), "1");
    Press(Config().BtnCancel);
}

TEST_F(ConfigDialogTest, HelpSaysNotFoundWithoutTheHelpPage) {
    StartUp();
    Config().Show();
    Press(Config().BtnHelp);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].text.find("help.html\" not found."), std::string::npos) << boxes[0].text;
    Config().Hide();
}

TEST_F(ConfigDialogTest, FontListsAreDropDownListsThatFitTheirDroppedWidth) {
    StartUp();
    Config().Show();
    OwnDrawingInDialog();
    TEnhComboBox& names = Config().CmBoxFontName;
    TEnhComboBox& sizes = Config().CmBoxFontSize;
    for (TEnhComboBox* list : {&names, &sizes})
        EXPECT_EQ(::GetWindowLongA(list->Handle(), GWL_STYLE) & 3, CBS_DROPDOWNLIST) << list->Name;
    EXPECT_TRUE(::SendMessageA(sizes.Handle(), CB_GETEXTENDEDUI, 0, 0));
    EXPECT_FALSE(::SendMessageA(names.Handle(), CB_GETEXTENDEDUI, 0, 0));
    EXPECT_EQ(::SendMessageA(names.Handle(), CB_GETDROPPEDWIDTH, 0, 0), 137);

    auto textWidth = [&names](const std::string& s) {
        HDC dc = ::GetDC(names.Handle());
        HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageA(names.Handle(), WM_GETFONT, 0, 0)));
        SIZE size{};
        ::GetTextExtentPoint32A(dc, s.c_str(), static_cast<int>(s.size()), &size);
        ::SelectObject(dc, old);
        ::ReleaseDC(names.Handle(), dc);
        return static_cast<int>(size.cx);
    };
    auto droppedWidth = [](TEnhComboBox& list) {
        ::SendMessageA(list.Handle(), CB_SHOWDROPDOWN, TRUE, 0);
        ::SendMessageA(list.Handle(), CB_SHOWDROPDOWN, FALSE, 0);
        return static_cast<int>(::SendMessageA(list.Handle(), CB_GETDROPPEDWIDTH, 0, 0));
    };
    const std::string longest = "A rather long font family name";
    names.SetItems({"A", longest});
    EXPECT_EQ(droppedWidth(names), textWidth(longest) + 8);
    std::vector<std::string> many(names.VisibleItems() + 1, "B");
    many.push_back(longest);
    names.SetItems(many);
    EXPECT_EQ(droppedWidth(names), textWidth(longest) + 8 + ::GetSystemMetrics(SM_CXVSCROLL));
    Config().Hide();
}

// Keys pressed into a field: a combination is taken; a lone modifier, Esc
// or a key other programs need for typing is not. Apply takes the key at
// once and writes it; one another program holds is refused with its name,
// OK keeps the dialog open, and the old key stays in effect, in the field
// and in the file.
TEST_F(ConfigDialogTest, HotkeyFieldsTakeCombinationsAndRefuseKeysHeldElsewhere) {
    StartUp();
    Config().Show();
    THotKeyEdit& field = Config().HKLauncher;
    const TShortCut ctrlAltK = kCtrlBit | kAltBit | 'K';
    const struct {
        std::vector<BYTE> held;
        WPARAM key;
    } presses[] = {{{VK_CONTROL, VK_MENU}, 'K'}, {{VK_CONTROL}, VK_CONTROL}, {{}, VK_ESCAPE}, {{VK_SHIFT}, 'Q'}};
    for (const auto& press : presses) {
        BYTE state[256] = {};
        for (BYTE k : press.held) state[k] = 0x80;
        ::SetKeyboardState(state);
        ::SendMessageA(field.Handle(), WM_KEYDOWN, press.key, 0);
        ::SendMessageA(field.Handle(), WM_KEYUP, press.key, 0);
        EXPECT_EQ(field.Text(), "Ctrl+Alt+K") << press.key;
    }
    BYTE none[256] = {};
    ::SetKeyboardState(none);
    Press(Config().BtnApply);
    EXPECT_EQ(FormGeneral().JvApplicationHotKey.HotKey(), ctrlAltK);
    EXPECT_EQ(Ini("General Settings", "OpenLauncherHotkey"), "Ctrl+Alt+K");

    ASSERT_TRUE(::RegisterHotKey(nullptr, 7, MOD_CONTROL | MOD_ALT, 'J'));  // as another program would
    field.SetValue(kCtrlBit | kAltBit | 'J');
    Press(Config().BtnOK);
    ::UnregisterHotKey(nullptr, 7);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Ctrl+Alt+J is used by another program.");
    EXPECT_TRUE(Config().Visible());
    EXPECT_EQ(field.Value(), ctrlAltK);
    EXPECT_EQ(FormGeneral().JvApplicationHotKey.HotKey(), ctrlAltK);
    EXPECT_EQ(Ini("General Settings", "OpenLauncherHotkey"), "Ctrl+Alt+K");
}
