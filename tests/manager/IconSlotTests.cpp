// The manager's icon slots: one per file however many entries show it, kept
// or given back whole by a save and Undo; late icons taken as the tree paints
// its entries; an import stopped before its end leaves no trace.

#include <windows.h>

#include <string>

#include "ManagerFixture.h"
#include "core/Launching.h"
#include "manager/FolderImport.h"
#include "manager/ItemCommands.h"
#include "manager/ShellTarget.h"
#include "support/UcvCallExternal.h"

using namespace rz;
using rztest::ManagerTest;

namespace {

class IconSlotTest : public ManagerTest {
protected:
    void SetUp() override {
        ManagerTest::SetUp();
        PlayWaveFile.Replace([](const std::string&) { return true; });
    }
    void TearDown() override {
        PlayWaveFile.Restore();
        ManagerTest::TearDown();
    }
    ShellTarget Target(const std::string& path) {
        ShellTarget target;
        EXPECT_TRUE(ReadShellTarget(path, target)) << path;
        return target;
    }
    // Both lists in step, with this many pictures.
    void ExpectPictures(int count) {
        EXPECT_EQ(Items().ILAllPublicPM.Count(), count);
        EXPECT_EQ(Items().ILAllPublicTV.Count(), count);
    }
    IconSources& Sources() { return Items().store.icons.sources; }
};

}  // namespace

TEST_F(IconSlotTest, OneFileIsOneSlotThatASaveKeepsAndUndoGivesBackWhole) {
    StartWithAllKinds();
    TFormItems& f = Items();
    ItemCommands& c = f.commands;
    const std::string notepad = rztest::SystemProgram("notepad.exe"), regedit = rztest::SystemProgram("regedit.exe");
    const int first = f.ILAllPublicTV.Count();

    TTreeNode* notes = c.AddLink(Anchor(), Target(notepad), "Notes");
    TTreeNode* again = c.AddLink(notes, Target(notepad), "Notes again");
    EXPECT_EQ(notes->ImageIndex(), first);
    EXPECT_EQ(again->ImageIndex(), first) << "the file's slot is shared";
    ExpectPictures(first + 1);
    EXPECT_EQ(f.TVItems.Tag, 1);

    f.BitBtnSaveClick(&f.BitBtnSave);
    ASSERT_EQ(Status(), "Save succesful!");
    TTreeNode* registry = c.AddLink(again, Target(regedit), "Registry");
    EXPECT_EQ(registry->ImageIndex(), first + 1);
    EXPECT_EQ(c.AddLink(registry, Target(notepad), "Notes third")->ImageIndex(), first) << "shared across the save";

    // A step taken back keeps its slot, so the entry comes back on it.
    f.UndoStep();
    f.UndoStep();
    EXPECT_EQ(Entry("Registry"), nullptr);
    ExpectPictures(first + 2);
    f.RedoStep();
    EXPECT_EQ(Entry("Registry")->ImageIndex(), first + 1);

    // Undo keeps what the save kept and gives back the rest.
    f.BitBtnUndoClick(&f.BitBtnUndo);
    ExpectPictures(first + 1);
    ASSERT_NE(Entry("Notes again"), nullptr);
    EXPECT_EQ(Entry("Notes")->ImageIndex(), first);
    EXPECT_EQ(Entry("Notes again")->ImageIndex(), first);
    Sources().TakeLate(first);
    EXPECT_LE(rztest::IconDifference(f.ILAllPublicPM, first, notepad), 2);
    // The slot given back is no one's: the file gets a new one with its own icon.
    TTreeNode* back = c.AddLink(Anchor(), Target(regedit), "Registry");
    EXPECT_EQ(back->ImageIndex(), first + 1);
    ExpectPictures(first + 2);
    Sources().TakeLate(first + 1);
    EXPECT_LE(rztest::IconDifference(f.ILAllPublicPM, first + 1, regedit), 2);
    EXPECT_LE(rztest::IconDifference(f.ILAllPublicPM, first, notepad), 2);
}

// An icon still to be taken is taken when the tree paints its entry: those
// of a closed folder wait until it opens.
TEST_F(IconSlotTest, TheTreeTakesTheLateIconsOfTheEntriesItPaints) {
    const std::string notepad = rztest::SystemProgram("notepad.exe"), regedit = rztest::SystemProgram("regedit.exe");
    WriteStore("shortcuts", "^ExeLnk|" + notepad + "||notepad.bmp|Notes\r\n^Folder|Apps\r\n");
    WriteStore("shortcuts\\Apps", "^ExeLnk|" + regedit + "||regedit.bmp|Registry\r\n");
    StartUp();
    TFormItems& f = Items();
    const int notes = Entry("Notes")->ImageIndex(), registry = Entry("Registry")->ImageIndex();
    ASSERT_TRUE(Sources().IsLate(notes) && Sources().IsLate(registry));
    f.Show();
    ::UpdateWindow(f.TVItems.Handle());
    EXPECT_FALSE(Sources().IsLate(notes)) << "painted, so taken";
    EXPECT_TRUE(Sources().IsLate(registry)) << "in a closed folder";
    f.TVItems.Expand(Entry("Apps"));
    ::UpdateWindow(f.TVItems.Handle());
    EXPECT_FALSE(Sources().IsLate(registry));
    EXPECT_LE(rztest::IconDifference(f.ILAllPublicPM, registry, regedit), 2);
    EXPECT_LE(rztest::IconDifference(f.ILAllPublicPM, notes, notepad), 2);
}

namespace {

// A plan of files in a folder, more than a progress step of them.
ImportEntry ManyFiles(int count) {
    ImportEntry plan, sub{"Sub", true, {}, {}};
    for (int i = 0; i < count; ++i) {
        ImportEntry file{"Tool " + std::to_string(i), false, {}, {}};
        file.target.path = "C:\\Apps\\tool" + std::to_string(i) + ".exe";
        file.target.extension = ".exe";
        (i % 2 ? sub.children : plan.children).push_back(file);
    }
    plan.children.push_back(sub);
    return plan;
}

}  // namespace

TEST_F(IconSlotTest, AnImportStoppedAnywhereLeavesTreeIconsAndHistoryAsBefore) {
    StartWithAllKinds();
    TFormItems& f = Items();
    ItemCommands& c = f.commands;
    c.AddFolder(Anchor(), "Kept");
    const ImportEntry plan = ManyFiles(400);
    const auto state = [&] {
        return Dump(Anchor()) + " pictures " + std::to_string(f.ILAllPublicPM.Count()) + "/" +
               std::to_string(f.ILAllPublicTV.Count()) + " manager icons " + std::to_string(f.TVItems.Tag) +
               " steps " + std::to_string(c.history.Steps()) + " late " +
               std::to_string(f.store.icons.sources.LateCount());
    };
    const std::string before = state();
    for (int stopAt : {1, 2, 3}) {
        int calls = 0;
        EXPECT_EQ(c.Import(Entry("Report"), plan, "Kit", [&](int) { return ++calls < stopAt; }), nullptr);
        EXPECT_EQ(calls, stopAt);
        EXPECT_EQ(state(), before) << "stopped at progress call " << stopAt;
    }
    // Let run, the same plan comes whole, as one step.
    const int icons = f.TVItems.Tag;
    ASSERT_NE(c.Import(Entry("Report"), plan, "Kit", [](int) { return true; }), nullptr);
    EXPECT_EQ(c.history.UndoLabel(), "Import \"Kit\"");
    EXPECT_EQ(f.TVItems.Tag, icons + 400);
    TTreeNode* show = nullptr;
    ASSERT_TRUE(c.history.Undo(show));
    EXPECT_EQ(c.history.UndoLabel(), "Add folder \"Kept\"");
}

// Esc waiting when the import looks for it stops the import: posted here,
// typed in the real program by the end-to-end tests.
TEST_F(IconSlotTest, EscDuringAnImportCancelsItAndTheTreeStaysAsItWas) {
    StartWithAllKinds();
    rztest::MakeDir(dir / "many");
    for (int i = 0; i < 60; ++i) rztest::WriteFile(dir / ("many\\note " + std::to_string(i) + ".txt"), "x");
    ShowFolderBrowser.Replace([this](HWND, const std::string&, const std::string&, std::string& chosen) {
        chosen = dir / "many";
        return true;
    });
    TFormItems& f = Items();
    const std::string before = Dump(Anchor());
    const int pictures = f.ILAllPublicTV.Count();
    Pick(Entry("Report"));
    ::PostMessageA(f.TVItems.Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
    f.ImportFolderClick(&f);
    EXPECT_EQ(Status(), "Import cancelled: nothing was added");
    EXPECT_EQ(Dump(Anchor()), before);
    EXPECT_EQ(f.ILAllPublicTV.Count(), pictures);
    EXPECT_FALSE(f.commands.history.CanUndo());
    EXPECT_FALSE(::IsWindowVisible(f.ProgressBarImport.Handle()));
    // Without Esc the same folder comes in.
    f.ImportFolderClick(&f);
    ShowFolderBrowser.Restore();
    EXPECT_EQ(Status(), "Imported 60 items");
}
