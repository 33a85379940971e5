// Dragging entries inside the item tree with real mouse messages; the two
// timers' handlers are called instead of waited for.

#include <gtest/gtest.h>

#include <windows.h>

#include "ManagerFixture.h"
#include "manager/FolderRules.h"
#include "platform/Application.h"

using namespace rz;
using rztest::ManagerTest;

namespace {

HCURSOR SystemCursor(LPCSTR id) { return ::LoadCursorA(nullptr, id); }

class DragTest : public ManagerTest {
protected:
    void Post(UINT msg, WPARAM keys, POINT at) {
        ::PostMessageA(Items().TVItems.Handle(), msg, keys, MAKELPARAM(at.x, at.y));
        Application.ProcessMessages();
    }
    // Presses on the entry and lets TimerDrag fire.
    void Press(TTreeNode* node) {
        Post(WM_LBUTTONDOWN, MK_LBUTTON, At(node));
        TFormItems& f = Items();
        ASSERT_TRUE(f.TimerDrag.Enabled());
        f.TimerDragTimer(&f.TimerDrag);
    }
    void MoveTo(POINT at) { Post(WM_MOUSEMOVE, MK_LBUTTON, at); }
    void Drag(TTreeNode* from, POINT to) {
        Press(from);
        MoveTo(to);
        Post(WM_LBUTTONUP, 0, to);
    }
    HTREEITEM DropHighlight() const {
        return reinterpret_cast<HTREEITEM>(
            ::SendMessageA(Items().TVItems.Handle(), TVM_GETNEXTITEM, TVGN_DROPHILITE, 0));
    }
    // Nothing of a press or a drag is left behind.
    void ExpectIdle() {
        TFormItems& f = Items();
        EXPECT_FALSE(f.TVItems.Dragging());
        EXPECT_FALSE(f.TimerDrag.Enabled());
        EXPECT_FALSE(f.TimerExpand.Enabled());
        EXPECT_EQ(f.DragPressed(), nullptr);
        EXPECT_EQ(f.ExpandCandidate(), nullptr);
        EXPECT_NE(::GetCapture(), f.TVItems.Handle());
    }
};

}  // namespace

TEST_F(DragTest, ADropPutsTheEntryRightAfterTheTarget) {
    StartWithAllKinds();
    TFormItems& f = Items();
    TTreeNode* report = Entry("Report");
    Press(report);
    EXPECT_EQ(::GetCapture(), f.TVItems.Handle());
    // Seven pixels are not yet a drag.
    POINT slight = At(report);
    slight.y -= 7;
    MoveTo(slight);
    EXPECT_FALSE(f.TVItems.Dragging());
    MoveTo(At(Entry("Games")));
    EXPECT_TRUE(f.TVItems.Dragging());
    EXPECT_TRUE(f.TVItems.DragAccepted());
    EXPECT_EQ(::GetCursor(), SystemCursor(IDC_ARROW));
    EXPECT_EQ(DropHighlight(), Entry("Games")->Handle());
    Post(WM_LBUTTONUP, 0, At(Entry("Games")));
    EXPECT_EQ(DropHighlight(), nullptr);
    EXPECT_EQ(LevelOf(Anchor()).substr(0, 26), "[][Games][Report][--------");
    EXPECT_EQ(f.EditSName.Text(), "Report");
    EXPECT_EQ(Status(), "Moved \"Report\" into Top");
    ExpectIdle();

    const std::string after = Dump(Anchor());
    Drag(report, At(Entry("Games")));  // the entry before it
    Drag(report, At(report));
    EXPECT_EQ(Dump(Anchor()), after);
    Drag(report, At(Entry("---------------")));  // the entry after it: the two swap
    EXPECT_EQ(LevelOf(Anchor()).substr(0, 34), "[][Games][---------------][Report]");
}

TEST_F(DragTest, AnchorsAndSystemEntriesNeverDragAndAQuickReleaseNeither) {
    StartWithAllKinds();
    TFormItems& f = Items();
    const std::string before = Dump(Anchor());
    for (TTreeNode* n : {Anchor(), Entry("Close"), Entry("Razaveza Kit"), Entry("--Sysmenu--")}) {
        Post(WM_LBUTTONDOWN, MK_LBUTTON, At(n));
        EXPECT_FALSE(f.TimerDrag.Enabled()) << n->Text();
        Post(WM_LBUTTONUP, 0, At(n));
    }
    Post(WM_LBUTTONDOWN, MK_LBUTTON, At(Entry("Report")));
    EXPECT_TRUE(f.TimerDrag.Enabled());
    Post(WM_LBUTTONUP, 0, At(Entry("Report")));
    ExpectIdle();
    // A tick that was already on its way starts nothing.
    f.TimerDragTimer(&f.TimerDrag);
    MoveTo(At(Entry("Games")));
    Post(WM_LBUTTONUP, 0, At(Entry("Games")));
    EXPECT_EQ(Dump(Anchor()), before);
    ExpectIdle();
}

TEST_F(DragTest, RefusedTargetsShowTheNoDropCursorAndChangeNothing) {
    StartWithAllKinds();
    TFormItems& f = Items();
    TTreeNode* games = Entry("Games");
    f.TVItems.Expand(games);
    const std::string before = Dump(Anchor());
    // A folder on its own anchor: the rule's message.
    Press(games);
    MoveTo(At(games->GetFirstChild()));
    EXPECT_FALSE(f.TVItems.DragAccepted());
    EXPECT_EQ(::GetCursor(), SystemCursor(IDC_NO));
    EXPECT_EQ(Status(), kMsgFolderIntoItself);
    Post(WM_LBUTTONUP, 0, At(games->GetFirstChild()));
    EXPECT_EQ(Dump(Anchor()), before);
    // A system entry: refused without a message.
    f.StatusBarHelp.SetPanelText("Ready");
    Drag(Entry("Report"), At(Entry("Close")));
    EXPECT_EQ(Status(), "Ready");
    // Empty space below the last entry takes the drop and does nothing with it.
    POINT below = At(Entry("Close"));
    below.y += 100;
    Drag(Entry("Report"), below);
    EXPECT_EQ(Dump(Anchor()), before);
    ExpectIdle();
}

TEST_F(DragTest, RestingOnAUserFolderOpensItButNeverTheSystemFolder) {
    StartWithAllKinds();
    TFormItems& f = Items();
    TTreeNode* games = Entry("Games");
    TTreeNode* kit = Entry("Razaveza Kit");
    Press(Entry("Readme"));
    MoveTo(At(kit));
    EXPECT_FALSE(f.TimerExpand.Enabled());
    MoveTo(At(games));
    EXPECT_TRUE(f.TimerExpand.Enabled());
    EXPECT_EQ(f.ExpandCandidate(), games);
    f.TimerExpandTimer(&f.TimerExpand);
    EXPECT_TRUE(games->Expanded());
    EXPECT_EQ(f.TVItems.Selected(), games);
    EXPECT_FALSE(f.TimerExpand.Enabled());
    // On to the folder's anchor: the entry becomes the folder's first.
    MoveTo(At(games->GetFirstChild()));
    EXPECT_FALSE(f.TimerExpand.Enabled());
    Post(WM_LBUTTONUP, 0, At(games->GetFirstChild()));
    EXPECT_EQ(LevelOf(games->GetFirstChild()), "[][Readme][Chess]");
    // The folder was selected by the rest: a rename now must reach the moved entry.
    ASSERT_TRUE(f.TVItems.Selected());
    EXPECT_EQ(f.TVItems.Selected()->Text(), "Readme");
    EXPECT_EQ(f.EditSName.Text(), "Readme");
    EXPECT_FALSE(kit->Expanded());
    ExpectIdle();
}

TEST_F(DragTest, AReleaseAnywhereALostCaptureOrEscEndTheDrag) {
    StartWithAllKinds();
    TFormItems& f = Items();
    f.Show();
    Application.ProcessMessages();
    const std::string before = Dump(Anchor());
    auto dragOntoGames = [&] {
        Press(Entry("Report"));
        MoveTo(At(Entry("Games")));
        ASSERT_TRUE(f.TimerExpand.Enabled());
    };
    dragOntoGames();
    Post(WM_LBUTTONUP, 0, POINT{-40, -40});
    ExpectIdle();
    EXPECT_EQ(::GetCursor(), SystemCursor(IDC_ARROW));

    dragOntoGames();
    ::ReleaseCapture();
    ExpectIdle();

    // Esc goes to the tree, not to the window's cancel button.
    dragOntoGames();
    MSG esc{f.TVItems.Handle(), WM_KEYDOWN, VK_ESCAPE, 0, 0, {0, 0}};
    EXPECT_TRUE(::IsDialogMessageA(f.Handle(), &esc));
    ExpectIdle();
    EXPECT_TRUE(f.Visible());
    EXPECT_EQ(Dump(Anchor()), before);

    // Entries going away end a press: Delete, then Undo.
    Post(WM_LBUTTONDOWN, MK_LBUTTON, At(Entry("Report")));
    f.BitBtnDeleteClick(&f.BitBtnDelete);
    ExpectIdle();
    Post(WM_LBUTTONDOWN, MK_LBUTTON, At(Entry("Readme")));
    f.BitBtnUndoClick(&f.BitBtnUndo);
    ExpectIdle();
    EXPECT_TRUE(::IsDialogMessageA(f.Handle(), &esc));
    EXPECT_FALSE(f.Visible()) << "without a press Esc closes the window";
}

TEST_F(DragTest, TakingBackAStepWhileDraggingEndsTheDragFirst) {
    StartWithAllKinds();
    TFormItems& f = Items();
    f.Show();
    Application.ProcessMessages();
    const std::string before = Dump(Anchor());
    // The entry being dragged is the one the step takes away.
    Pick(Entry("Report"));
    f.BitBtnCopyClick(&f.BitBtnCopy);
    f.BitBtnPasteClick(&f.BitBtnPaste);
    TTreeNode* copy = f.TVItems.Selected();
    ASSERT_NE(copy, Entry("Report"));
    Press(copy);
    MoveTo(At(Entry("Games")));
    ASSERT_TRUE(f.TVItems.Dragging());
    f.UndoStep();
    ExpectIdle();
    EXPECT_EQ(Dump(Anchor()), before);
    Post(WM_LBUTTONUP, 0, At(Entry("Games")));
    EXPECT_EQ(Dump(Anchor()), before) << "the release drops nothing";
    EXPECT_EQ(Status(), "Undone: Paste \"Report\"");
}

TEST_F(DragTest, AFoldersButtonCountsAsTheFolder) {
    StartWithAllKinds();
    TFormItems& f = Items();
    TTreeNode* games = Entry("Games");
    Drag(Entry("Report"), ButtonOf(games));
    EXPECT_EQ(LevelOf(Anchor()).substr(0, 17), "[][Games][Report]");
    // Files dropped from the shell too.
    rztest::TempDir files;
    rztest::WriteFile(files / "note.txt", "");
    ::SendMessageA(f.TVItems.Handle(), WM_DROPFILES,
                   reinterpret_cast<WPARAM>(rztest::MakeDrop({files / "note.txt"}, ButtonOf(games))), 0);
    EXPECT_EQ(LevelOf(Anchor()).substr(0, 23), "[][Games][note][Report]");
}
