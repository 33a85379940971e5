#include "ManagerFixture.h"
#include "manager/FolderRules.h"

using namespace rz;
using rztest::ManagerTest;

namespace {

// Captions of a level in order, from its first entry.
std::string Level(const TTreeNode* first) {
    std::string out;
    for (const TTreeNode* n = first; n; n = n->GetNextSibling()) out += "[" + n->Text() + "]";
    return out;
}

}  // namespace

TEST(FolderRulesNames, TrimmedCaseFoldedKeysAndTheNineCharacters) {
    EXPECT_EQ(FolderNameKey("  Tools \t"), "tools");
    EXPECT_EQ(FolderNameKey("\x01" "Ab "), "ab");
    EXPECT_EQ(FolderNameKey("\xC4rger"), "\xC4rger") << "only ASCII letters are lowered";
    EXPECT_TRUE(NameCharactersValid("Tools & more (2)"));
    for (char c : std::string("\\/:*?\"<>|")) EXPECT_FALSE(NameCharactersValid(std::string("a") + c)) << c;
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
    EXPECT_EQ(Level(Anchor()).substr(0, 17), "[][Report][Games]");
    EXPECT_FALSE(Entry("Report")->Cut());
    EXPECT_EQ(f.TVItems.Selected(), Entry("Report"));
    EXPECT_EQ(f.Clipboard(), nullptr);
    EXPECT_FALSE(f.BitBtnPaste.Enabled());
}

TEST_F(ManagerTest, CopiesShareTheItemIdAndCanBePastedAgain) {
    StartWithAllKinds();
    TFormItems& f = Items();
    TTreeNode* app = Entry("App");
    Pick(app);
    f.BitBtnCopyClick(&f.BitBtnCopy);
    Pick(Entry("Report"));
    f.BitBtnPasteClick(&f.BitBtnPaste);
    f.BitBtnPasteClick(&f.BitBtnPaste);
    TTreeNode* first = Entry("App", 1);
    TTreeNode* second = Entry("App", 2);
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->ItemId, app->ItemId);
    EXPECT_EQ(second->ItemId, app->ItemId);
    EXPECT_EQ(first->ImageIndex(), app->ImageIndex());
    EXPECT_EQ(first->GetFirstChild(), nullptr);
    EXPECT_EQ(f.Clipboard(), app);
    // One parameter pair for all three.
    f.store.SetItemParams(second->ItemId, "changed");
    EXPECT_EQ(f.store.ParamsOfItem(app->ItemId), "changed");
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
    EXPECT_EQ(Level(other->GetFirstChild()), "[][Games]");
    EXPECT_EQ(Level(games->GetFirstChild()), "[][Chess]") << "the folder moves with its entries";
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
