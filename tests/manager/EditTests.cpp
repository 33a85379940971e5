#include "ManagerFixture.h"
#include "manager/FolderRules.h"

using namespace rz;
using rztest::ManagerTest;

TEST(FolderRulesNames, NamesCompareAsTheFileSystemComparesThem) {
    for (const char* same : {"  Tools \t", "TOOLS", "tools.", "Tools. . ", "\x01tools"})
        EXPECT_EQ(FolderNameKey(same), FolderNameKey("Tools")) << same;
    EXPECT_EQ(FolderNameKey("\xC4rger"), FolderNameKey("\xE4rger")) << "letters beyond ASCII too";
    for (const char* other : {"Tools2", ".Tools", "To ols", "Tools_"})
        EXPECT_NE(FolderNameKey(other), FolderNameKey("Tools")) << other;
}

TEST(FolderRulesNames, OnlyNamesThatGiveAFolderOfTheirOwnAreValid) {
    for (const char* ok : {"Tools & more (2)", "con-tools", "COM10", "a.b", "\xC4rger", "..x"})
        EXPECT_TRUE(FolderNameValid(ok)) << ok;
    for (char c : std::string("\\/:*?\"<>|")) EXPECT_FALSE(FolderNameValid(std::string("a") + c)) << c;
    for (const char* bad : {"a\tb", "ab\x1f", "CON", "nul.txt", "Com1", "LPT9 ", "aux.", ".", "..", "...",
                            "shortcuts.txt", "SHORTCUTS.TXT."})
        EXPECT_FALSE(FolderNameValid(bad)) << bad;
}

TEST_F(ManagerTest, CutAndPasteMovesAnEntryAfterTheSelection) {
    StartWithAllKinds();
    TFormItems& f = Items();
    Pick(Entry("Report"));
    f.BitBtnCutClick(&f.BitBtnCut);
    EXPECT_TRUE(Entry("Report")->Cut());
    Pick(Anchor());
    EXPECT_TRUE(f.BitBtnPaste.Enabled());
    f.BitBtnPasteClick(&f.BitBtnPaste);
    EXPECT_EQ(LevelOf(Anchor()).substr(0, 17), "[][Report][Games]");
    EXPECT_FALSE(Entry("Report")->Cut());
    EXPECT_EQ(f.TVItems.Selected(), Entry("Report"));
    EXPECT_EQ(f.Clipboard(), nullptr);
    EXPECT_FALSE(f.BitBtnPaste.Enabled());
}

TEST_F(ManagerTest, EachPastedCopyGetsRowsOfItsOwn) {
    StartWithAllKinds();
    TFormItems& f = Items();
    ItemTables& tables = f.store.tables;
    TTreeNode* app = Entry("App");
    Pick(app);
    f.BitBtnCopyClick(&f.BitBtnCopy);
    Pick(Entry("Report"));
    f.BitBtnPasteClick(&f.BitBtnPaste);
    f.BitBtnPasteClick(&f.BitBtnPaste);
    TTreeNode* first = Entry("App", 1);
    TTreeNode* second = Entry("App", 2);
    ASSERT_TRUE(first && second);
    EXPECT_EQ(f.Clipboard(), app);
    EXPECT_EQ(first->ImageIndex(), app->ImageIndex());
    EXPECT_EQ(first->GetFirstChild(), nullptr);
    for (TTreeNode* copy : {first, second}) {
        EXPECT_NE(copy->ItemId, app->ItemId);
        EXPECT_EQ(tables.PathOf(copy->ItemId), "C:\\Tools\\app.exe");
        EXPECT_EQ(tables.ParamsOfItem(copy->ItemId), "-v --fast");
    }
    EXPECT_NE(first->ItemId, second->ItemId);
    // Editing one copy's parameters leaves the source and the other copy alone.
    Pick(second);
    Replace(f.EditSParams, "changed");
    EXPECT_EQ(tables.ParamsOfItem(second->ItemId), "changed");
    EXPECT_EQ(tables.ParamsOfItem(first->ItemId), "-v --fast");
    EXPECT_EQ(tables.ParamsOfItem(app->ItemId), "-v --fast");
    // A copy of a link without a parameter row gets none.
    Pick(Entry("Plain"));
    f.BitBtnCopyClick(&f.BitBtnCopy);
    f.BitBtnPasteClick(&f.BitBtnPaste);
    EXPECT_FALSE(tables.HasParamRow(Entry("Plain", 1)->ItemId));
}

TEST_F(ManagerTest, DeletingTheClipboardEntryOrItsFolderEmptiesTheClipboard) {
    StartWithAllKinds();
    TFormItems& f = Items();
    Pick(Entry("Chess"));
    f.BitBtnCopyClick(&f.BitBtnCopy);
    Pick(Entry("Games"));
    EXPECT_FALSE(f.BitBtnCopy.Enabled()) << "folders are never copied";
    f.BitBtnDeleteClick(&f.BitBtnDelete);
    EXPECT_EQ(Entry("Games"), nullptr);
    EXPECT_EQ(Entry("Chess"), nullptr);
    EXPECT_EQ(f.Clipboard(), nullptr);
    EXPECT_FALSE(f.BitBtnPaste.Enabled());
    // The tables keep their rows.
    EXPECT_EQ(f.store.tables.PathOf(0), "C:\\docs\\chess.txt");
}

TEST_F(ManagerTest, AFolderIsNeverPastedIntoItselfNorBesideANamesake) {
    StartWithAllKinds();
    TFormItems& f = Items();
    TTreeNode* games = Entry("Games");
    Pick(games);
    f.BitBtnCutClick(&f.BitBtnCut);
    // Its own anchor: refused with the subitem message.
    Pick(games->GetFirstChild());
    EXPECT_FALSE(f.BitBtnPaste.Enabled());
    EXPECT_EQ(Status(), kMsgFolderIntoItself);
    // On its own level it may move anywhere, even past a namesake file entry.
    TTreeNode* twin = f.TVItems.InsertAfter(Entry("Report"), " games ");
    twin->SetImageIndex(12);
    Pick(Entry("Report"));
    EXPECT_TRUE(f.BitBtnPaste.Enabled());
    // Into another folder holding a namesake: the duplicate message.
    TTreeNode* other = f.TVItems.InsertAfter(Entry("Report"), "Other");
    other->SetImageIndex(kIconFolder);
    TTreeNode* otherAnchor = f.TVItems.AddChild(other, "");
    otherAnchor->SetImageIndex(kIconAnchor);
    TTreeNode* namesake = f.TVItems.AddChild(other, "GAMES");
    namesake->SetImageIndex(kIconNorSep);
    Pick(otherAnchor);
    EXPECT_FALSE(f.BitBtnPaste.Enabled());
    EXPECT_EQ(Status(), kMsgFolderDuplicate);
    f.TVItems.Delete(namesake);
    Pick(Anchor());
    Pick(otherAnchor);
    ASSERT_TRUE(f.BitBtnPaste.Enabled());
    f.BitBtnPasteClick(&f.BitBtnPaste);
    EXPECT_EQ(games->Parent(), other);
    EXPECT_EQ(LevelOf(other->GetFirstChild()), "[][Games]");
    EXPECT_EQ(LevelOf(games->GetFirstChild()), "[][Chess]") << "the folder moves with its entries";
}

TEST_F(ManagerTest, SystemEntriesAreNeverEditedAndLaunchNeedsALink) {
    StartWithAllKinds();
    TFormItems& f = Items();
    Pick(Entry("Report"));
    f.BitBtnCopyClick(&f.BitBtnCopy);
    Pick(Entry("Close"));
    EXPECT_FALSE(f.BitBtnPaste.Enabled());
    EXPECT_FALSE(f.BitBtnLaunch.Enabled());
    const std::string before = Dump(Anchor());
    f.BitBtnDeleteClick(&f.BitBtnDelete);
    f.BitBtnCutClick(&f.BitBtnCut);
    f.BitBtnPasteClick(&f.BitBtnPaste);
    EXPECT_EQ(Dump(Anchor()), before);
    // A cut entry pasted onto itself stays where it is.
    Pick(Entry("Report"));
    f.BitBtnCutClick(&f.BitBtnCut);
    f.BitBtnPasteClick(&f.BitBtnPaste);
    EXPECT_EQ(Dump(Anchor()), before);
}

// Each edit says what it did, and the keyboard goes back to the tree at the
// entry it changed.
TEST_F(ManagerTest, EveryEditIsSaidAndTheKeyboardGoesBackToTheTree) {
    StartWithAllKinds();
    TFormItems& f = Items();
    f.Show();
    const struct {
        const char* pick;
        TButton& button;
        const char* said;
    } steps[] = {{"---------------", f.BitBtnDelete, "Deleted separator"},
                 {"Run", f.BitBtnCut, "Cut \"Run\""},
                 {"Chess", f.BitBtnPaste, "Pasted \"Run\" into \"Games\""}};
    for (const auto& step : steps) {
        Pick(Entry(step.pick));
        step.button.SetFocus();
        step.button.Click();
        EXPECT_EQ(Status(), step.said);
        EXPECT_EQ(::GetFocus(), f.TVItems.Handle()) << step.said;
    }
    EXPECT_EQ(f.TVItems.Selected()->Text(), "Run");
}
