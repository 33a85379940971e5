// The manager's edits as steps, each taken back and done again.

#include <functional>
#include <string>
#include <vector>

#include "ManagerFixture.h"
#include "manager/FolderImport.h"

using namespace rz;
using rztest::ManagerTest;

TEST_F(ManagerTest, EachEditIsOneStepBackAndForwardWithTheVeryEntries_RefusalsAreNone) {
    StartWithAllKinds();
    TFormItems& f = Items();
    // The tree, the parameters and whether the two icon lists are in step and
    // hold every icon an entry shows.
    auto State = [&] {
        std::string out = Dump(Anchor()) + std::to_string(f.TVItems.Count()) + " entries\n";
        for (int row = 0; row < f.store.tables.params.Length(); ++row)
            out += "params " + f.store.tables.paramIds[row] + "=" + f.store.tables.params[row] + "\n";
        const int icons = f.ILAllPublicTV.Count();
        if (f.ILAllPublicPM.Count() != icons) out += "icon lists out of step\n";
        for (const TTreeNode* n = Anchor(); n; n = n->GetNext())
            if (n->ImageIndex() >= icons) out += n->Text() + " shows a missing icon\n";
        return out;
    };
    rztest::WriteFile(dir / "one.txt", "1");
    rztest::WriteFile(dir / "two.txt", "2");
    ItemCommands& c = f.commands;
    std::vector<std::string> left;
    c.history.leaving = [&left, letGo = c.history.leaving](TTreeNode* n) {
        left.push_back(n->Text());
        letGo(n);
    };
    TTreeNode* const anchor = Anchor();
    TTreeNode* const report = Entry("Report");
    TTreeNode* const app = Entry("App");
    const int appRow = app->ItemId;
    ImportEntry plan, one{"One", false, {}, {}}, sub{"Sub", true, {}, {}}, two{"Two", false, {}, {}};
    ASSERT_TRUE(ReadShellTarget(dir / "one.txt", one.target));
    ASSERT_TRUE(ReadShellTarget(dir / "two.txt", two.target));
    sub.children.push_back(two);
    plan.children = {one, sub};

    const std::pair<const char*, std::function<void()>> edits[] = {
        {"Rename \"Report\"", [&] { c.Rename(report, "R"), c.Rename(report, "Re"), c.Rename(report, "Rev"); }},
        {"Parameters of \"App\"", [&] { c.SetParams(app, "-"), c.SetParams(app, "-w"); }},
        {"Rename \"--Work--\"", [&] { c.Rename(Entry("--Work--"), "--"); }},
        {"Delete \"App\"", [&] { c.Delete(app); }},
        {"Add folder \"New\"", [&] { c.AddFolder(anchor, "New"); }},
        {"Paste \"Rev\"", [&] { c.MoveAfter(report, Entry("New")->GetFirstChild(), "Paste"); }},
        {"Paste \"Rev\"", [&] { c.PasteCopy(report, anchor); }},
        {"Add separator", [&] { c.AddSeparator(anchor, "a-b"); }},
        {"Import \"Kit\"", [&] { c.Import(Entry("Games"), plan, "Kit"); }},
        // Every link but Docs and the imported ones names a file that is not there.
        {"Sweep", [&] { EXPECT_EQ(c.Sweep(), 9); }},
    };
    // The path and parameter rows go and come with their steps too.
    auto StateAndRows = [&] {
        const ItemTables& t = f.store.tables;
        return State() + "rows " + std::to_string(t.paths.Length()) + "/" + std::to_string(t.paramIds.Length()) + "/" +
               std::to_string(t.nextItemId) + "\n";
    };
    const std::string loaded = State();
    std::vector<std::string> states{StateAndRows()};
    for (const auto& [label, make] : edits) {
        make();
        states.push_back(StateAndRows());
        EXPECT_EQ(c.history.UndoLabel(), label);
        EXPECT_NE(states.back(), states[states.size() - 2]) << label << " changed nothing";
    }
    ASSERT_EQ(c.history.Steps(), static_cast<int>(std::size(edits))) << "the typing of one name is one step";
    // The sweep walks each level from its end, into folders.
    EXPECT_EQ(left, (std::vector<std::string>{"App", "Readme", "Mail", "Edit", "Tool", "Plain", "Run", "Chess", "Rev",
                                              "Rev"}));

    TTreeNode* show = nullptr;
    for (size_t i = std::size(edits); i > 0; --i) {
        ASSERT_TRUE(c.history.Undo(show));
        EXPECT_EQ(StateAndRows(), states[i - 1]) << "after taking back " << edits[i - 1].first;
        EXPECT_NE(show, nullptr) << edits[i - 1].first;
    }
    EXPECT_FALSE(c.history.Undo(show));
    EXPECT_EQ(Entry("Report"), report) << "the very entry came back, not a copy";
    EXPECT_EQ(Entry("App"), app);

    // Refused or empty edits leave no step and keep what can be done again.
    TTreeNode* const games = Entry("Games");
    TTreeNode* const system = Entry("Close");
    const std::pair<const char*, std::function<bool()>> refused[] = {
        {"a folder named as its neighbour", [&] { return c.Rename(games, "app").refusal != nullptr; }},
        {"a name as it was", [&] { return c.Rename(games, "Games").refusal == nullptr; }},
        {"the anchor deleted", [&] { return !c.Delete(anchor); }},
        {"a system entry deleted", [&] { return !c.Delete(system); }},
        {"an entry added after a system entry", [&] { return !c.AddSeparator(system, ""); }},
        {"a folder moved into itself", [&] { return !c.MoveAfter(games, games->GetFirstChild(), "Drag"); }},
        {"parameters of an entry without a row", [&] { return !c.SetParams(report, "-x"); }},
    };
    for (const auto& [what, refuse] : refused) {
        EXPECT_TRUE(refuse()) << what;
        EXPECT_FALSE(c.history.CanUndo()) << what;
        EXPECT_TRUE(c.history.CanRedo()) << what;
    }
    for (size_t i = 0; i < std::size(edits); ++i) {
        ASSERT_TRUE(c.history.Redo(show));
        EXPECT_EQ(StateAndRows(), states[i + 1]) << "after doing again " << edits[i].first;
    }
    EXPECT_FALSE(c.history.Redo(show));

    // A new edit ends what could be done again.
    ASSERT_TRUE(c.history.Undo(show));
    c.AddSeparator(anchor, "");
    EXPECT_FALSE(c.history.CanRedo());
    EXPECT_EQ(c.history.UndoLabel(), "Add separator");

    // Back to the undo copy: tree, icons and parameters as loaded, no history;
    // parameters a save kept stay.
    c.RestoreSaved();
    EXPECT_EQ(State(), loaded);
    EXPECT_FALSE(c.history.CanUndo());
    EXPECT_EQ(f.store.ParamsOfItem(appRow), "-v --fast");
    ASSERT_TRUE(c.SetParams(Entry("App"), "-x"));
    c.KeepSaved();
    c.RestoreSaved();
    EXPECT_EQ(f.store.ParamsOfItem(appRow), "-x");
}
