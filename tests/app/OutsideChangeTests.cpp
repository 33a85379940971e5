// Changes that reach the data folder from outside while the program runs,
// taken in by the real message loop: the store read once they settle, the
// item manager's edits kept, the settings applied once no window shows them.

#include "AppFixture.h"
#include "app/OutsideChanges.h"
#include "core/Settings.h"
#include "dialogs/form_config.h"
#include "menu/form_search.h"

using namespace rz;
using rztest::AppTest;

namespace {

class OutsideChange : public AppTest {
protected:
    void TearDown() override {
        Settings = TSettings{};
        AppTest::TearDown();
    }
    // Turns the program's message loop until done() holds; 20 s at most.
    static bool RunUntil(const std::function<bool()>& done) {
        const DWORD start = ::GetTickCount();
        while (!done() && ::GetTickCount() - start < 20000) Application.RunOnce(50);
        return done();
    }
    // Until a change was seen and everything seen was looked at.
    static bool Settled() {
        return RunUntil([] { return !OutsideChangePending(); });
    }
    void WriteTop(const std::string& list) { rztest::WriteFile(dir / "shortcuts\\shortcuts.txt", list); }
    static std::string Top() {
        std::string out;
        // Up to the system entries.
        for (const TTreeNode* n = FormItems().TVItems.GetFirstNode()->GetNextSibling(); n && n->Text() != "--Sysmenu--";
             n = n->GetNextSibling())
            out += "[" + n->Text() + "]";
        return out;
    }
};

}  // namespace

TEST_F(OutsideChange, AThousandChangesInABurstAreReadOnce) {
    WriteStore("shortcuts", "^SpeSep|start\r\n");
    StartUp();
    const unsigned loads = FormItems().store.Loads();
    for (int i = 1; i <= 1000; ++i) {
        WriteTop("^SpeSep|step " + std::to_string(i) + "\r\n");
        Application.RunOnce(0);
    }
    ASSERT_TRUE(RunUntil([&] { return TopCaptions() == std::vector<std::string>{"step 1000"}; }))
        << (TopCaptions().empty() ? "" : TopCaptions().front());
    ASSERT_TRUE(Settled());
    EXPECT_EQ(FormItems().store.Loads(), loads + 1);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(OutsideChange, TheManagerKeepsItsEditsAndTakesTheStoreInOnceItHasNone) {
    WriteStore("shortcuts", "^SpeSep|first\r\n^SpeSep|second\r\n");
    StartUp();
    TFormItems& items = FormItems();
    items.Show();
    items.TVItems.Select(items.TVItems.GetFirstNode()->GetNextSibling()->GetNextSibling());
    items.BitBtnDeleteClick(&items.BitBtnDelete);
    ASSERT_EQ(Top(), "[--first--]");

    WriteTop("^SpeSep|outside\r\n");
    ASSERT_TRUE(RunUntil([&] { return items.StatusBarHelp.PanelText() == kChangedOnDisk; }))
        << items.StatusBarHelp.PanelText();
    EXPECT_EQ(Top(), "[--first--]") << "the edit was lost";
    EXPECT_EQ(TopCaptions(), (std::vector<std::string>{"first", "second"}));

    // Undo of all leaves nothing to lose: the store is read, into the manager too.
    items.BitBtnUndoClick(&items.BitBtnUndo);
    ASSERT_TRUE(RunUntil([&] { return TopCaptions() == std::vector<std::string>{"outside"}; }));
    EXPECT_EQ(Top(), "[--outside--]");
    EXPECT_EQ(items.StatusBarHelp.PanelText(), kReloadedFromDisk);

    // Without edits, the next change is read at once; our own save is none.
    WriteTop("^SpeSep|again\r\n");
    ASSERT_TRUE(RunUntil([&] { return Top() == "[--again--]"; }));
    items.BitBtnSaveClick(&items.BitBtnSave);
    ASSERT_EQ(items.StatusBarHelp.PanelText(), "Save succesful!");
    const unsigned loads = items.store.Loads();
    ASSERT_TRUE(RunUntil([] { return OutsideChangePending(); }));
    ASSERT_TRUE(Settled());
    EXPECT_EQ(items.store.Loads(), loads);
    EXPECT_TRUE(boxes.empty());
    items.Hide();
}

TEST_F(OutsideChange, SettingsChangedOnDiskAreAppliedOnceNoWindowShowsThem) {
    WriteStore("shortcuts", "");
    rztest::WriteFile(dir / "zuvizove.ziz", "[Font Settings]\r\nWindowsDraw=1\r\n");
    StartUp();
    ASSERT_EQ(FormItems().Caption(), App.itemsTitle);
    FormConfig().Show();
    rztest::WriteFile(dir / "zuvizove.ziz", "[Font Settings]\r\nWindowsDraw=0\r\nFontName=Arial\r\n");
    ASSERT_TRUE(RunUntil([] { return OutsideChangePending(); }));
    // Cancel reads the file without applying it: the watch still does.
    FormConfig().BtnCancelClick(&FormConfig().BtnCancel);
    ASSERT_TRUE(RunUntil([] { return FormItems().Caption().empty(); })) << "own drawing was not applied";
    EXPECT_EQ(FormItems().FontName(), "Arial");
    EXPECT_TRUE(Settled());
}

// Its rows point into the menu: a reload waits until it closes.
TEST_F(OutsideChange, TheSearchWindowKeepsItsEntriesUntilItCloses) {
    WriteStore("shortcuts", "^ExeLnk|C:\\Tools\\first.exe||first.bmp|First\r\n");
    rztest::WriteFile(dir / "zuvizove.ziz", "[Font Settings]\r\nWindowsDraw=1\r\n");
    StartUp();
    FormSearch().OpenAt(POINT{100, 100}, "fir");
    ASSERT_TRUE(FormSearch().Visible());
    ASSERT_EQ(FormSearch().Results().size(), 1u);
    const unsigned loads = FormItems().store.Loads();
    WriteTop("^ExeLnk|C:\\Tools\\second.exe||second.bmp|Second\r\n");
    rztest::WriteFile(dir / "zuvizove.ziz", "[Font Settings]\r\nWindowsDraw=0\r\n");
    // The settings, looked at in the same turn as the store, are applied; the store waits.
    ASSERT_TRUE(RunUntil([] { return FormItems().Caption().empty(); }));
    EXPECT_EQ(FormItems().store.Loads(), loads);
    ASSERT_TRUE(FormSearch().Visible());
    FormSearch().Hide();
    ASSERT_TRUE(RunUntil([this] { return TopCaptions() == std::vector<std::string>{"Second"}; }));
}
