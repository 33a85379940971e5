#include "ManagerFixture.h"
#include "platform/Timer.h"

using namespace rz;
using rztest::ManagerTest;

namespace {

// A key as the program's loop hands it on: the dialog keys first, then the
// focused window; Ctrl held through the thread's keyboard state.
void PressKey(HWND form, HWND target, WORD key, bool ctrl) {
    BYTE state[256] = {};
    ::GetKeyboardState(state);
    state[VK_CONTROL] = ctrl ? 0x80 : 0;
    ::SetKeyboardState(state);
    ::SetFocus(target);
    MSG msg{target, WM_KEYDOWN, key, 1, 0, {0, 0}};
    if (!::IsDialogMessageA(form, &msg)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    state[VK_CONTROL] = 0;
    ::SetKeyboardState(state);
}

}  // namespace

TEST_F(ManagerTest, TreeKeysPressTheirButtonsUnderTheButtonsRules) {
    StartWithAllKinds();
    TFormItems& f = Items();
    f.Show();
    std::string pressed;
    for (TButton* b :
         {&f.BitBtnDelete, &f.BitBtnCut, &f.BitBtnCopy, &f.BitBtnPaste, &f.BitBtnUndo, &f.BitBtnSave, &f.BitBtnLaunch})
        b->OnClick = [&pressed, b](TObject*) { pressed = b->Name; };
    struct Case {
        const char* entry;
        WORD key;
        bool ctrl;
        const char* button;  // empty: none, the button being off there
    } cases[] = {
        {"Report", VK_DELETE, false, "BitBtnDelete"},
        {"", VK_DELETE, false, ""},
        {"Help File", VK_DELETE, false, ""},
        {"Report", 'X', true, "BitBtnCut"},
        {"Report", 'C', true, "BitBtnCopy"},
        {"Games", 'C', true, ""},
        {"Report", 'V', true, ""},
        {"Report", 'Z', true, ""},  // one step back, not the Undo button's all
        {"Report", 'S', true, "BitBtnSave"},
        {"App", VK_RETURN, false, "BitBtnLaunch"},
        {"Games", VK_RETURN, false, ""},
        {"Report", 'C', false, ""},
    };
    for (const Case& c : cases) {
        Pick(Entry(c.entry));
        pressed.clear();
        PressKey(f.Handle(), f.TVItems.Handle(), c.key, c.ctrl);
        EXPECT_EQ(pressed, c.button) << c.entry << " key " << c.key << (c.ctrl ? " with Ctrl" : "");
        EXPECT_TRUE(f.Visible()) << "the window stays open";
    }
    f.Hide();
}

TEST_F(ManagerTest, F2RenamesInTheNameFieldAndEscReturnsToTheTree) {
    StartWithAllKinds();
    TFormItems& f = Items();
    f.Show();
    Pick(Entry("Report"));
    PressKey(f.Handle(), f.TVItems.Handle(), VK_F2, false);
    ASSERT_EQ(::GetFocus(), f.EditSName.Handle());
    DWORD from = 1, to = 0;
    ::SendMessageA(f.EditSName.Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
    EXPECT_EQ(from, 0u);
    EXPECT_EQ(to, 6u) << "the whole name selected";
    PressKey(f.Handle(), f.EditSName.Handle(), VK_ESCAPE, false);
    EXPECT_EQ(::GetFocus(), f.TVItems.Handle());
    EXPECT_TRUE(f.Visible()) << "Esc in the field does not close the window";
    // The anchor has no name to edit: F2 leaves the keyboard in the tree.
    Pick(Anchor());
    PressKey(f.Handle(), f.TVItems.Handle(), VK_F2, false);
    EXPECT_EQ(::GetFocus(), f.TVItems.Handle());
    f.Hide();
}

TEST_F(ManagerTest, ContextMenuActsOnTheEntryUnderThePointerAsItsButtonsDo) {
    StartWithAllKinds();
    TFormItems& f = Items();
    f.Show();
    Pick(Anchor());
    POINT at = At(Entry("Report"));
    ::ClientToScreen(f.TVItems.Handle(), &at);
    std::string shown;  // each entry: 1 on, 0 off
    int ticks = 0;
    TTimer timer("Stepper");
    timer.SetInterval(30);
    timer.OnTimer = [&](TObject*) {
        TPopupMenu* open = TPopupMenu::Current();
        if (!open) return;
        if (++ticks > 100) ::PostMessageA(f.Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
        if (!shown.empty()) return;
        HMENU menu = open->OpenHandle();
        for (int i = 0; i < ::GetMenuItemCount(menu); ++i)
            shown += (::GetMenuState(menu, i, MF_BYPOSITION) & MF_GRAYED) ? '0' : '1';
        ::PostMessageA(f.Handle(), WM_KEYDOWN, 'D', 0);
    };
    timer.SetEnabled(true);
    ::SendMessageA(f.TVItems.Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(f.TVItems.Handle()),
                   MAKELPARAM(at.x, at.y));
    timer.SetEnabled(false);
    // Launch Rename | Cut Copy Paste Delete | New Folder, New Separator | the imports | Undo Redo;
    // nothing to paste, undo or redo yet.
    EXPECT_EQ(shown, "1111101111111100");
    EXPECT_EQ(Entry("Report"), nullptr) << "Delete took the entry under the pointer";
    f.Hide();
}

// The field's own undo would take back its last keystroke only; after a save
// there is nothing to take back, and the field keeps its text.
TEST_F(ManagerTest, CtrlZInTheNameFieldTakesBackTheWholeTypingAndNothingAfterASave) {
    StartWithAllKinds();
    TFormItems& f = Items();
    f.Show();
    Pick(Entry("Readme"));
    Enter(f.EditSName);
    Type(f.EditSName, "!!");
    ASSERT_EQ(Entry("Readme"), nullptr);
    PressKey(f.Handle(), f.EditSName.Handle(), 'Z', true);
    EXPECT_NE(Entry("Readme"), nullptr);
    EXPECT_EQ(f.EditSName.Text(), "Readme");
    EXPECT_EQ(Status(), "Undone: Rename \"Readme\"");
    Type(f.EditSName, "x");
    const std::string named = f.EditSName.Text();
    Press(f.BitBtnSave);
    PressKey(f.Handle(), f.EditSName.Handle(), 'Z', true);
    EXPECT_EQ(Status(), "Nothing to undo");
    EXPECT_EQ(f.EditSName.Text(), named);
    f.Hide();
}
