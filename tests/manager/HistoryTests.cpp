// The manager's edits as steps: each taken back and done again on the item
// model alone, then reached through the keys and buttons of the window.

#include <functional>
#include <string>
#include <vector>

#include "ManagerFixture.h"
#include "manager/FolderImport.h"
#include "manager/ItemCommands.h"
#include "platform/Application.h"

using namespace rz;
using rztest::ManagerTest;
using rztest::ModelOnly;

namespace {

constexpr char kList[] =
    "^Folder|Games\r\n"
    "^ExeLnk|C:\\Tools\\app.exe|-v|app.bmp|App\r\n"
    "^UnkLnk|C:\\docs\\report.txt|txt|Report\r\n"
    "^SpeSep|Work\r\n";

// The tree, the parameters and whether the two icon lists are in step and
// hold every icon an entry shows.
std::string State(const ModelOnly& m) {
    const ItemStore& store = m.parts.store;
    std::string out = rztest::TreeDump(m.tree.GetFirstNode()) + std::to_string(m.tree.Count()) + " entries\n";
    for (int row = 0; row < store.tables.params.Length(); ++row)
        out += "params " + store.tables.paramIds[row] + "=" + store.tables.params[row] + "\n";
    const int icons = m.parts.ILAllPublicTV.Count();
    if (m.parts.ILAllPublicPM.Count() != icons) out += "icon lists out of step\n";
    for (const TTreeNode* n = m.tree.GetFirstNode(); n; n = n->GetNext())
        if (n->ImageIndex() >= icons) out += n->Text() + " shows a missing icon\n";
    return out;
}

}  // namespace

TEST(EditHistoryModel, EachEditIsOneStepBackAndForwardWithTheVeryEntries) {
    ModelOnly m(kList);
    rztest::WriteFile(m.dir / "one.txt", "1");
    rztest::WriteFile(m.dir / "two.txt", "2");
    ItemCommands c(m.parts.store);
    std::vector<std::string> left;
    c.history.leaving = [&left](TTreeNode* n) { left.push_back(n->Text()); };
    TTreeNode* const anchor = m.tree.GetFirstNode();
    TTreeNode* const report = m.Entry("Report");
    TTreeNode* const app = m.Entry("App");
    ASSERT_TRUE(anchor && report && app);
    ImportEntry plan;
    ImportEntry one{"One", false, {}, {}}, sub{"Sub", true, {}, {}}, two{"Two", false, {}, {}};
    ASSERT_TRUE(ReadShellTarget(m.dir / "one.txt", one.target));
    ASSERT_TRUE(ReadShellTarget(m.dir / "two.txt", two.target));
    sub.children.push_back(two);
    plan.children = {one, sub};

    struct Edit {
        const char* label;
        std::function<void()> make;
    } edits[] = {
        {"Rename \"Report\"",
         [&] {
             for (const char* typed : {"R", "Re", "Rev"}) c.Rename(report, typed);
         }},
        {"Parameters of \"App\"",
         [&] {
             for (const char* typed : {"-", "-w"}) c.SetParams(app, typed);
         }},
        {"Rename \"--Work--\"", [&] { c.Rename(m.Entry("--Work--"), "--"); }},
        {"Delete \"App\"", [&] { c.Delete(app); }},
        {"Add folder \"New\"", [&] { c.AddFolder(anchor, "New"); }},
        {"Paste \"Rev\"", [&] { c.MoveAfter(report, m.Entry("New")->GetFirstChild(), "Paste"); }},
        {"Paste \"Rev\"", [&] { c.PasteCopy(report, anchor); }},
        {"Add separator", [&] { c.AddSeparator(anchor, "a-b"); }},
        {"Import \"Kit\"", [&] { c.Import(m.Entry("Games"), plan, "Kit"); }},
        {"Sweep", [&] { EXPECT_EQ(c.Sweep(), 2) << "the report and its copy"; }},
    };
    std::vector<std::string> states{State(m)};
    for (const Edit& e : edits) {
        e.make();
        states.push_back(State(m));
        EXPECT_EQ(c.history.UndoLabel(), e.label);
        EXPECT_NE(states.back(), states[states.size() - 2]) << e.label << " changed nothing";
    }
    ASSERT_EQ(c.history.Steps(), static_cast<int>(std::size(edits))) << "the typing of one name is one step";
    EXPECT_EQ(left, (std::vector<std::string>{"App", "Rev", "Rev"}));

    TTreeNode* show = nullptr;
    for (size_t i = std::size(edits); i > 0; --i) {
        ASSERT_TRUE(c.history.Undo(show));
        EXPECT_EQ(State(m), states[i - 1]) << "after taking back " << edits[i - 1].label;
        EXPECT_NE(show, nullptr) << edits[i - 1].label;
    }
    int more = 0;
    for (int press = 0; press < 1000; ++press) more += c.history.Undo(show) ? 1 : 0;
    EXPECT_EQ(more, 0);
    EXPECT_EQ(m.Entry("Report"), report) << "the very entry came back, not a copy";
    EXPECT_EQ(m.Entry("App"), app);

    for (size_t i = 0; i < std::size(edits); ++i) {
        ASSERT_TRUE(c.history.Redo(show));
        EXPECT_EQ(State(m), states[i + 1]) << "after doing again " << edits[i].label;
    }
    EXPECT_FALSE(c.history.Redo(show));

    // A new edit ends what could be done again.
    ASSERT_TRUE(c.history.Undo(show));
    ASSERT_TRUE(c.history.Undo(show));
    c.AddSeparator(anchor, "");
    EXPECT_FALSE(c.history.CanRedo());
    EXPECT_EQ(c.history.UndoLabel(), "Add separator");

    // Back to the undo copy: tree, icons and parameters as loaded, no history.
    c.RestoreSaved();
    EXPECT_EQ(State(m), states[0]);
    EXPECT_FALSE(c.history.CanUndo());
    EXPECT_EQ(m.parts.store.ParamsOfItem(0), "-v");
}

TEST(EditHistoryModel, RefusedOrEmptyEditsLeaveNoStepAndKeepWhatCanBeDoneAgain) {
    ModelOnly m(kList);
    ItemCommands c(m.parts.store);
    TTreeNode* games = m.Entry("Games");
    c.AddFolder(m.tree.GetFirstNode(), "Tools");
    TTreeNode* show = nullptr;
    ASSERT_TRUE(c.history.Undo(show));
    const TTreeNode* system = m.Entry("Close");
    ASSERT_NE(system, nullptr);
    struct Case {
        const char* what;
        std::function<bool()> refused;
    } cases[] = {
        {"a folder named as its neighbour", [&] { return c.Rename(games, "app").refusal != nullptr; }},
        {"a name as it was", [&] { return c.Rename(games, "Games").refusal == nullptr; }},
        {"the anchor deleted", [&] { return !c.Delete(m.tree.GetFirstNode()); }},
        {"a system entry deleted", [&] { return !c.Delete(const_cast<TTreeNode*>(system)); }},
        {"an entry added after a system entry", [&] { return !c.AddSeparator(const_cast<TTreeNode*>(system), ""); }},
        {"a folder moved into itself", [&] { return !c.MoveAfter(games, games->GetFirstChild(), "Drag"); }},
        {"parameters of an entry without a row", [&] { return !c.SetParams(m.Entry("Report"), "-x"); }},
    };
    for (const Case& k : cases) {
        EXPECT_TRUE(k.refused()) << k.what;
        EXPECT_FALSE(c.history.CanUndo()) << k.what;
        EXPECT_TRUE(c.history.CanRedo()) << k.what;
    }
}

TEST(EditHistoryModel, TheSweepsRuleSearchesFoldersAndWalksEachLevelFromTheEnd) {
    ModelOnly m("^UnkLnk|C:\\a.txt|txt|A\r\n^Folder|F\r\n^UnkLnk|C:\\b.txt|txt|B\r\n^UnkLnk|C:\\c.txt|txt|C\r\n");
    TTreeNode* f = m.Entry("F");
    m.tree.InsertAfter(f->GetFirstChild(), "D")->ItemId = 0;
    std::string seen;
    const auto found = SweepTargets(m.tree.GetFirstNode()->GetNextSibling(), [&](int id) {
        seen += std::to_string(id);
        return id != 2;
    });
    std::string names;
    for (const TTreeNode* n : found) names += n->Text();
    EXPECT_EQ(names, "BDA") << "C exists; F searched in its place";
    EXPECT_EQ(seen, "2100");
}

TEST_F(ManagerTest, RegressionParametersTypedButNotSavedAreDroppedWithTheOtherEdits) {
    StartWithAllKinds();
    TFormItems& f = Items();
    f.Show();
    const int app = Entry("App")->ItemId;
    struct Case {
        const char* how;
        std::function<void()> drop;
        const char* left;
    } cases[] = {
        {"Ctrl+Z", [&] { f.UndoStep(); }, "-v --fast"},
        {"the Undo button", [&] { Press(f.BitBtnUndo); }, "-v --fast"},
        {"closing without a save",
         [&] {
             f.BitBtnClose.Click();
             f.Show();
         },
         "-v --fast"},
        {"saving, then closing",
         [&] {
             Press(f.BitBtnSave);
             f.BitBtnClose.Click();
             f.Show();
         },
         "-x"},
    };
    for (const Case& k : cases) {
        Pick(Entry("App"));
        Replace(f.EditSParams, "-x");
        ASSERT_EQ(f.store.ParamsOfItem(app), "-x") << k.how;
        k.drop();
        // What the launcher menu hands the shell.
        EXPECT_EQ(FormItems().store.ParamsOfItem(app), k.left) << k.how;
    }
    f.Hide();
}

TEST_F(ManagerTest, TheHistoryKeysWorkInTheTreeAndTheFieldsAndSayWhatTheyDid) {
    StartWithAllKinds();
    TFormItems& f = Items();
    f.Show();
    auto key = [&](HWND target, WORD vk, bool shift) {
        BYTE state[256] = {};
        ::GetKeyboardState(state);
        state[VK_CONTROL] = 0x80;
        state[VK_SHIFT] = shift ? 0x80 : 0;
        ::SetKeyboardState(state);
        ::SetFocus(target);
        MSG msg{target, WM_KEYDOWN, vk, 1, 0, {0, 0}};
        if (!::IsDialogMessageA(f.Handle(), &msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        Application.ProcessMessages();
        state[VK_CONTROL] = state[VK_SHIFT] = 0;
        ::SetKeyboardState(state);
    };
    const std::string loaded = Dump(Anchor());
    Pick(Entry("Report"));
    Press(f.BitBtnDelete);
    Pick(Entry("Readme"));
    Enter(f.EditSName);
    Type(f.EditSName, "!!");
    ASSERT_EQ(Entry("Readme"), nullptr);
    // In the name field, the whole typing goes, not the field's last keystroke.
    key(f.EditSName.Handle(), 'Z', false);
    EXPECT_NE(Entry("Readme"), nullptr);
    EXPECT_EQ(f.EditSName.Text(), "Readme");
    EXPECT_EQ(Status(), "Undone: Rename \"Readme\"");
    key(f.BitBtnSweep.Handle(), 'Z', false);
    EXPECT_EQ(Dump(Anchor()), loaded);
    EXPECT_EQ(Status(), "Undone: Delete \"Report\"");
    key(f.TVItems.Handle(), 'Z', false);
    EXPECT_EQ(Status(), "Nothing to undo");
    key(f.TVItems.Handle(), 'Y', false);
    EXPECT_EQ(Status(), "Redone: Delete \"Report\"");
    key(f.TVItems.Handle(), 'Z', true);
    EXPECT_EQ(Status(), "Redone: Rename \"Readme\"");
    EXPECT_EQ(Entry("Readme"), nullptr);
    // A save ends the history, and the field's own undo does not stand in for it.
    Pick(Entry("Run"));
    Enter(f.EditSName);
    Type(f.EditSName, "x");
    const std::string named = f.EditSName.Text();
    Press(f.BitBtnSave);
    key(f.EditSName.Handle(), 'Z', false);
    EXPECT_EQ(Status(), "Nothing to undo");
    EXPECT_EQ(f.EditSName.Text(), named);
    f.Hide();
}
