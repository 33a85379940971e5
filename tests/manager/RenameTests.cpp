// Renaming through the name field and editing parameters, typed into the
// real fields.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ManagerFixture.h"
#include "core/Launching.h"
#include "items/ItemStore.h"
#include "manager/FolderRules.h"

using namespace rz;

namespace {

class RenameTest : public rztest::ManagerTest {
protected:
    void SetUp() override {
        ManagerTest::SetUp();
        PlayWaveFile.Replace([this](const std::string& file) {
            sounds.push_back(file);
            return true;
        });
        StartWithAllKinds();
        Items().Show();
    }
    void TearDown() override {
        PlayWaveFile.Restore();
        ManagerTest::TearDown();
    }

    // Picks the entry and puts the caret into the name field at position.
    void EditName(TTreeNode* entry, int position) {
        Pick(entry);
        Enter(Items().EditSName);
        ::SendMessageA(Items().EditSName.Handle(), EM_SETSEL, position, position);
    }
    std::string Field() const { return Items().EditSName.Text(); }

    std::vector<std::string> sounds;
};

TEST_F(RenameTest, AFolderNameFollowsTheFolderRulesWithoutASound) {
    TFormItems& f = Items();
    TTreeNode* games = Entry("Games");
    EditName(games, 0);
    EXPECT_EQ(f.LastAcceptedName(), "Games");
    const std::pair<std::string, const char*> refused[] = {
        {"", kMsgFolderNoName},          {" Tools", kMsgFolderNoName},     {"\tTools", kMsgFolderNoName},
        {"Re:port", kMsgFolderBadChars}, {"ab\x01", kMsgFolderBadChars},   {"PRN", kMsgFolderBadChars},
        {"..", kMsgFolderBadChars},      {"report.", kMsgFolderDuplicate}, {"DOCS", kMsgFolderDuplicate}};
    for (const auto& [name, message] : refused) {
        Replace(f.EditSName, name);
        EXPECT_EQ(Status(), message) << name;
        EXPECT_EQ(Field(), name) << "the field keeps what was typed";
        EXPECT_EQ(games->Text(), "Games");
        EXPECT_EQ(f.LastAcceptedName(), "Games");
    }
    // Its own name in other letters is no duplicate; delimiters are dropped.
    for (const auto& [typed, name] : {std::pair<std::string, std::string>{"GAMES", "GAMES"}, {"Pl^ay|s", "Plays"}}) {
        Replace(f.EditSName, typed);
        EXPECT_EQ(games->Text(), name);
        EXPECT_EQ(Field(), name);
        EXPECT_EQ(f.LastAcceptedName(), name);
    }
    EXPECT_TRUE(sounds.empty());
    Enter(f.TVItems);
    EXPECT_EQ(f.LastAcceptedName(), "");
}

TEST_F(RenameTest, TypingKeepsTheCaretAndSeparatorsTakeTheirForm) {
    TFormItems& f = Items();
    TTreeNode* sep = Entry("---------------");
    EditName(sep, 0);
    ASSERT_EQ(Field(), "");
    Type(f.EditSName, "ab-c");
    EXPECT_EQ(sep->Text(), "--abc--");
    EXPECT_EQ(Field(), "--abc--");
    EXPECT_EQ(sep->ImageIndex(), kIconSpeSep);
    EXPECT_EQ(sep->SelectedIndex(), kIconSpeSep);
    Replace(f.EditSName, "a-b");
    EXPECT_EQ(sep->Text(), "--ab--");
    Replace(f.EditSName, "----");
    EXPECT_EQ(sep->Text(), "---------------");
    EXPECT_EQ(sep->ImageIndex(), kIconNorSep);
    Type(f.EditSName, "x");
    EXPECT_EQ(sep->Text(), "--x--");

    // Delimiters typed into a file entry's name vanish where they were typed.
    TTreeNode* report = Entry("Report");
    EditName(report, 6);
    Type(f.EditSName, "a|b");
    EditName(report, 0);
    Type(f.EditSName, "^X");
    EXPECT_EQ(report->Text(), "XReportab");
    EXPECT_EQ(Field(), "XReportab");
    Replace(f.EditSName, "");
    EXPECT_EQ(report->Text(), "") << "file entries take any name";
}

TEST_F(RenameTest, PasteFollowsNamesChangedSinceTheSelection) {
    TFormItems& f = Items();
    Pick(Entry("Games"));
    Press(f.BitBtnCut);
    Enter(f.RBFolder);
    Pick(Entry("Report"));
    Replace(f.MemoAddName, "Other");
    Press(f.BitBtnAttach);
    Pick(Entry("Other")->GetFirstChild());
    Replace(f.MemoAddName, "Box");
    Press(f.BitBtnAttach);
    TTreeNode* box = Entry("Box");
    ASSERT_EQ(f.TVItems.Selected(), box);
    EXPECT_TRUE(On(f.BitBtnPaste));
    // A rename refreshes the buttons.
    EditName(box, 0);
    Replace(f.EditSName, "games");
    EXPECT_FALSE(On(f.BitBtnPaste));
    EXPECT_EQ(Status(), kMsgFolderDuplicate);
    Replace(f.EditSName, "Box");
    EXPECT_TRUE(On(f.BitBtnPaste));
    // A button left on by a change elsewhere: Paste tests again.
    box->SetText("GAMES.");
    const std::string before = Dump(Anchor());
    f.BitBtnPasteClick(&f.BitBtnPaste);
    EXPECT_EQ(Dump(Anchor()), before);
    EXPECT_EQ(Status(), kMsgFolderDuplicate);
    EXPECT_FALSE(On(f.BitBtnPaste));
}

TEST_F(RenameTest, ParametersLoseTheDelimitersAndNeedARow) {
    TFormItems& f = Items();
    ItemTables& tables = f.store.tables;
    TTreeNode* app = Entry("App");
    Pick(app);
    Replace(f.EditSParams, "-x ^y|z");
    EXPECT_EQ(tables.ParamsOfItem(app->ItemId), "-x yz");
    EXPECT_EQ(f.EditSParams.Text(), "-x yz");
    // A script without a row keeps none, even if the handler runs.
    TTreeNode* plain = Entry("Plain");
    Pick(plain);
    EXPECT_FALSE(On(f.EditSParams));
    Replace(f.EditSParams, "-q");
    EXPECT_FALSE(tables.HasParamRow(plain->ItemId));
    EXPECT_EQ(tables.ParamsOfItem(plain->ItemId), "");
}

}  // namespace
