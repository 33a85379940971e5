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
    // Until a change was seen (if asked) and everything seen was looked at.
    static bool Settled(bool seen = false) {
        return (!seen || RunUntil([] { return OutsideChangePending(); })) &&
               RunUntil([] { return !OutsideChangePending(); });
    }
    void WriteTop(const std::string& list) { rztest::WriteFile(dir / "shortcuts\\shortcuts.txt", list); }
    void WriteDrawing(bool own) {
        rztest::WriteFile(dir / "zuvizove.ziz",
                          std::string("[Font Settings]\r\nWindowsDraw=") + (own ? "0\r\n" : "1\r\n"));
    }
    static std::string Top() {
        std::string out;
        // Up to the system entries.
        for (const TTreeNode* n = FormItems().TVItems.GetFirstNode()->GetNextSibling(); n && n->Text() != "--Sysmenu--";
             n = n->GetNextSibling())
            out += "[" + n->Text() + "]";
        return out;
    }
};

using Captions = std::vector<std::string>;

}  // namespace

// A store that is gone leaves the menu as it is and is not written back; a
// hostile list is read as at start, logged without a box.
TEST_F(OutsideChange, ABurstIsReadOnce_AStoreGoneKeepsTheMenu_GarbageIsLogged) {
    WriteStore("shortcuts", "^SpeSep|start\r\n");
    StartUp();
    const unsigned loads = FormItems().store.Loads();
    for (int i = 1; i <= 1000; ++i) {
        WriteTop("^SpeSep|step " + std::to_string(i) + "\r\n");
        Application.RunOnce(0);
    }
    ASSERT_TRUE(RunUntil([&] { return TopCaptions() == Captions{"step 1000"}; })) << TopCaptions().size();
    ASSERT_TRUE(Settled());
    EXPECT_EQ(FormItems().store.Loads(), loads + 1);

    rztest::RemoveTree(dir / "shortcuts");
    ASSERT_TRUE(Settled(true));
    EXPECT_EQ(TopCaptions(), Captions{"step 1000"});
    EXPECT_FALSE(rztest::DirExists(dir / "shortcuts"));

    rztest::MakeDir(dir / "shortcuts");
    WriteTop(std::string("\xFF\xFE\x00\x01 binary\r\n", 12) + std::string(5000, 'x') +
             "\r\n^SpeSep|back\r\n^Folder|..\\..\\escape\r\n^UnkLnk|C:\\docs\\a.txt|..\\evil|Bad type\r\n"
             "^Nonsense|x\r\nno bar at all\r\n");
    ASSERT_TRUE(RunUntil([&] { return !TopCaptions().empty() && TopCaptions().front() == "back"; }));
    const std::string log = rztest::ReadFile(dir / "errorlog.txt");
    EXPECT_NE(log.find("the name gives no folder of its own"), std::string::npos) << log;
    EXPECT_NE(log.find("is no file extension"), std::string::npos) << log;
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
    EXPECT_EQ(TopCaptions(), (Captions{"first", "second"}));

    // Undo of all leaves nothing to lose: the store is read, into the manager too.
    items.BitBtnUndoClick(&items.BitBtnUndo);
    ASSERT_TRUE(RunUntil([&] { return TopCaptions() == Captions{"outside"}; }));
    EXPECT_EQ(Top(), "[--outside--]");
    EXPECT_EQ(items.StatusBarHelp.PanelText(), kReloadedFromDisk);

    // Without edits, the next change is read at once; our own save is none.
    WriteTop("^SpeSep|again\r\n");
    ASSERT_TRUE(RunUntil([&] { return Top() == "[--again--]"; }));
    items.BitBtnSaveClick(&items.BitBtnSave);
    ASSERT_EQ(items.StatusBarHelp.PanelText(), "Save succesful!");
    const unsigned loads = items.store.Loads();
    ASSERT_TRUE(Settled(true));
    EXPECT_EQ(items.store.Loads(), loads);
    EXPECT_TRUE(boxes.empty());
    items.Hide();
}

TEST_F(OutsideChange, SettingsChangedOnDiskAreAppliedOnceNoWindowShowsThem) {
    WriteStore("shortcuts", "");
    WriteDrawing(false);
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

// The search window's rows point into the menu that a reload frees; a save
// under way may have written half the store.
TEST_F(OutsideChange, AReloadWaitsWhileTheSearchWindowShowsEntriesOrASaveIsUnderWay) {
    WriteStore("shortcuts", "^ExeLnk|C:\\Tools\\first.exe||first.bmp|First\r\n");
    WriteDrawing(false);
    StartUp();
    const std::pair<const char*, std::function<void(bool)>> blockers[] = {
        {"Search",
         [](bool on) {
             if (!on) return FormSearch().Hide();
             FormSearch().OpenAt(POINT{100, 100}, "fir");
             ASSERT_EQ(FormSearch().Results().size(), 1u);
         }},
        {"Save",
         [this](bool on) {
             if (on) rztest::MakeDir(dir / "item_bak");
             else rztest::RemoveTree(dir / "item_bak");
         }},
    };
    bool ownDrawing = false;
    for (const auto& [what, block] : blockers) {
        ASSERT_NO_FATAL_FAILURE(block(true));
        const unsigned loads = FormItems().store.Loads();
        WriteTop("^ExeLnk|C:\\Tools\\x.exe||x.bmp|" + std::string(what) + "\r\n");
        WriteDrawing(ownDrawing = !ownDrawing);
        // The settings, looked at in the same turn as the store, are applied; the store waits.
        ASSERT_TRUE(RunUntil([&] { return FormItems().Caption().empty() == ownDrawing; })) << what;
        EXPECT_EQ(FormItems().store.Loads(), loads) << what;
        block(false);
        EXPECT_TRUE(RunUntil([&] { return TopCaptions() == Captions{what}; })) << what;
    }
}
