// Folders of shortcuts imported as one virtual folder (the command, a drop with
// Shift) and taken back; the icon slots the manager's entries share.

#include <windows.h>
#include <shlobj.h>

#include <algorithm>

#include "ManagerFixture.h"
#include "core/Launching.h"
#include "manager/FolderImport.h"
#include "manager/ItemCommands.h"
#include "manager/ShellTarget.h"
#include "support/UcvCallExternal.h"
#include "support/UcvSysStr.h"

using namespace rz;
using rztest::ManagerTest;

namespace {

// A real Shift key: the system's state of the key, not only this thread's.
void SendShift(bool down) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = VK_SHIFT;
    in.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    ::SendInput(1, &in, sizeof(in));
}

// A plan's captions, each folder followed by its level in brackets.
std::string Captions(const ImportEntry& level) {
    std::string out;
    for (const ImportEntry& e : level.children) out += "[" + e.caption + (e.folder ? Captions(e) : std::string()) + "]";
    return out;
}

class ImportTest : public ManagerTest {
protected:
    void SetUp() override {
        ManagerTest::SetUp();
        PlayWaveFile.Replace([](const std::string&) { return true; });
        ShowFolderBrowser.Replace([this](HWND owner, const std::string& prompt, const std::string&, std::string& d) {
            EXPECT_EQ(owner, Items().Handle());
            EXPECT_EQ(prompt, kPromptImport);
            d = chosen;
            return true;
        });
    }
    void TearDown() override {
        ShowFolderBrowser.Restore();
        PlayWaveFile.Restore();
        ManagerTest::TearDown();
    }
    // Games\ (the name a top-level folder already has):
    //   Tools\Runner.lnk -> run.cmd "-q"   Tools\Empty\   Tools\Dead\dead.lnk
    //   notes.txt   Dir.lnk -> a directory   gone.lnk -> a deleted file
    void MakeSource() {
        const std::string targets = dir / "targets\\";
        rztest::MakeDir(targets);
        rztest::WriteFile(targets + "run.cmd", "@echo off\r\n");
        rztest::WriteFile(targets + "gone.txt", "x");
        chosen = dir / "Games";
        for (const char* d : {"Games", "Games\\Tools", "Games\\Tools\\Empty", "Games\\Tools\\Dead"})
            rztest::MakeDir(dir / d);
        rztest::MakeShortcut(chosen + "\\Tools\\Runner.lnk", targets + "run.cmd", "-q");
        rztest::MakeShortcut(chosen + "\\Tools\\Dead\\dead.lnk", targets + "gone.txt", "");
        rztest::MakeShortcut(chosen + "\\gone.lnk", targets + "gone.txt", "");
        rztest::MakeShortcut(chosen + "\\Dir.lnk", dir / "targets", "");
        rztest::WriteFile(chosen + "\\notes.txt", "n");
        ASSERT_TRUE(::DeleteFileA((targets + "gone.txt").c_str()));
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
    std::string chosen;
};

}  // namespace

TEST_F(ImportTest, AFolderOfShortcutsBecomesOneVirtualFolderThatOneStepTakesBack) {
    StartWithAllKinds();
    MakeSource();
    TFormItems& f = Items();
    const std::string before = Dump(Anchor());
    const int icons = f.ILAllPublicTV.Count();

    Pick(Entry("Report"));
    f.ImportFolderClick(&f);
    TTreeNode* games = Entry("Report")->GetNextSibling();
    ASSERT_NE(games, nullptr);
    EXPECT_EQ(games->Text(), "Games (2)") << "the folder rules name it";
    EXPECT_EQ(f.TVItems.Selected(), games);
    EXPECT_EQ(LevelOf(games->GetFirstChild()), "[][Tools][Dir][notes]") << "folders first, each by name";
    TTreeNode* tools = Entry("Tools");
    ASSERT_NE(tools, nullptr);
    EXPECT_EQ(LevelOf(tools->GetFirstChild()), "[][Runner]") << "empty folders and dead links are left out";

    const ItemTables& tables = f.store.tables;
    const TTreeNode* runner = Entry("Runner");
    EXPECT_EQ(LowerCase(tables.PathOf(runner->ItemId)), LowerCase(dir / "targets\\run.cmd"));
    EXPECT_EQ(tables.ParamsOfItem(runner->ItemId), "-q");
    EXPECT_EQ(LowerCase(tables.PathOf(Entry("Dir")->ItemId)), LowerCase(dir / "targets\\"));
    EXPECT_EQ(LowerCase(tables.PathOf(Entry("notes")->ItemId)), LowerCase(chosen + "\\notes.txt"));
    EXPECT_EQ(f.ILAllPublicTV.Count(), icons + 2) << "an icon for each file item";
    const std::string log = rztest::ReadFile(dir / "errorlog.txt");
    EXPECT_NE(log.find("gone.lnk"), std::string::npos);
    EXPECT_NE(log.find("dead.lnk"), std::string::npos);
    EXPECT_EQ(Status(), "Imported 3 items, skipped 2 shortcuts leading nowhere (see the error log)");

    // That one step takes it back and forth is the history test's.

    // Shift counts as it is when the drop arrives: a Shift this window only
    // heard of earlier drops the directory as a plain entry.
    BYTE keys[256] = {};
    ::GetKeyboardState(keys);
    keys[VK_SHIFT] = 0x80;
    ::SetKeyboardState(keys);
    ::SendMessageA(f.TVItems.Handle(), WM_DROPFILES,
                   reinterpret_cast<WPARAM>(rztest::MakeDrop({chosen}, At(Entry("Report")))), 0);
    keys[VK_SHIFT] = 0;
    ::SetKeyboardState(keys);
    ASSERT_NE(Entry("Report")->GetNextSibling(), nullptr);
    EXPECT_EQ(Entry("Report")->GetNextSibling()->Text(), "Games");
    EXPECT_GE(Entry("Report")->GetNextSibling()->ItemId, 0) << "a directory entry";
    f.UndoStep();
    // Held at the drop, the directory comes as Import Folder brings it.
    SendShift(true);
    ::SendMessageA(f.TVItems.Handle(), WM_DROPFILES,
                   reinterpret_cast<WPARAM>(rztest::MakeDrop({chosen}, At(Entry("Report")))), 0);
    SendShift(false);
    ASSERT_NE(Entry("Report")->GetNextSibling(), nullptr);
    EXPECT_EQ(Entry("Report")->GetNextSibling()->Text(), "Games (3)");
    ASSERT_NE(Entry("Games (3)"), nullptr);
    EXPECT_EQ(LevelOf(Entry("Games (3)")->GetFirstChild()), LevelOf(games->GetFirstChild()));

    f.BitBtnUndoClick(&f.BitBtnUndo);
    EXPECT_EQ(Dump(Anchor()), before);
    EXPECT_EQ(f.ILAllPublicTV.Count(), icons);
    EXPECT_EQ(f.ILAllPublicPM.Count(), icons);
}

TEST_F(ImportTest, OneFileIsOneSlotThatASaveKeepsAndUndoGivesBackWhole) {
    StartWithAllKinds();
    TFormItems& f = Items();
    ItemCommands& c = f.commands;
    const std::string notepad = rztest::SystemProgram("notepad.exe"), regedit = rztest::SystemProgram("regedit.exe");
    const int first = f.ILAllPublicTV.Count();
    TTreeNode* notes = c.AddLink(Anchor(), Target(notepad), "Notes");
    EXPECT_EQ(c.AddLink(notes, Target(notepad), "Notes again")->ImageIndex(), first) << "the file's slot is shared";
    EXPECT_EQ(notes->ImageIndex(), first);
    ExpectPictures(first + 1);

    f.BitBtnSaveClick(&f.BitBtnSave);
    ASSERT_EQ(Status(), "Save succesful!");
    TTreeNode* registry = c.AddLink(Entry("Notes again"), Target(regedit), "Registry");
    EXPECT_EQ(registry->ImageIndex(), first + 1);
    EXPECT_EQ(c.AddLink(registry, Target(notepad), "Notes third")->ImageIndex(), first) << "shared across the save";
    // A step taken back keeps its slot, so the entry comes back on it.
    f.UndoStep();
    f.UndoStep();
    ExpectPictures(first + 2);
    f.RedoStep();
    EXPECT_EQ(Entry("Registry")->ImageIndex(), first + 1);

    // Undo keeps what the save kept and gives back the rest, which the next
    // file takes with its own icon.
    f.BitBtnUndoClick(&f.BitBtnUndo);
    ExpectPictures(first + 1);
    EXPECT_EQ(Entry("Notes again")->ImageIndex(), first);
    EXPECT_EQ(c.AddLink(Anchor(), Target(regedit), "Registry")->ImageIndex(), first + 1);
    for (const auto& [slot, file] : {std::pair{first, notepad}, std::pair{first + 1, regedit}}) {
        f.store.icons.sources.TakeLate(slot);
        EXPECT_LE(rztest::IconDifference(f.ILAllPublicPM, slot, file), 2) << file;
    }
}

// A late icon is taken when the tree paints its entry; a closed folder's wait.
TEST_F(ImportTest, TheTreeTakesTheLateIconsOfTheEntriesItPaints) {
    const std::string notepad = rztest::SystemProgram("notepad.exe"), regedit = rztest::SystemProgram("regedit.exe");
    WriteStore("shortcuts", "^ExeLnk|" + notepad + "||notepad.bmp|Notes\r\n^Folder|Apps\r\n");
    WriteStore("shortcuts\\Apps", "^ExeLnk|" + regedit + "||regedit.bmp|Registry\r\n");
    StartUp();
    TFormItems& f = Items();
    IconSources& sources = f.store.icons.sources;
    const int notes = Entry("Notes")->ImageIndex(), registry = Entry("Registry")->ImageIndex();
    ASSERT_TRUE(sources.IsLate(notes) && sources.IsLate(registry));
    f.Show();
    ::UpdateWindow(f.TVItems.Handle());
    EXPECT_FALSE(sources.IsLate(notes)) << "painted, so taken";
    EXPECT_TRUE(sources.IsLate(registry)) << "in a closed folder";
    f.TVItems.Expand(Entry("Apps"));
    ::UpdateWindow(f.TVItems.Handle());
    EXPECT_FALSE(sources.IsLate(registry));
    EXPECT_LE(rztest::IconDifference(f.ILAllPublicPM, registry, regedit), 2);
    EXPECT_LE(rztest::IconDifference(f.ILAllPublicPM, notes, notepad), 2);
}

// Stopped at any progress call (Esc does it end to end), nothing of it stays.
TEST_F(ImportTest, AnImportStoppedAnywhereLeavesTreeIconsAndHistoryAsBefore) {
    StartWithAllKinds();
    TFormItems& f = Items();
    ItemCommands& c = f.commands;
    c.AddFolder(Anchor(), "Kept");
    ImportEntry plan, sub{"Sub", true, {}, {}};
    for (int i = 0; i < 400; ++i) {
        ImportEntry file{"Tool " + std::to_string(i), false, {}, {}};
        file.target.path = "C:\\Apps\\tool" + std::to_string(i) + ".exe";
        file.target.extension = ".exe";
        (i % 2 ? sub.children : plan.children).push_back(file);
    }
    plan.children.push_back(sub);
    const auto state = [&] {
        return Dump(Anchor()) + " pictures " + std::to_string(f.ILAllPublicPM.Count()) + "/" +
               std::to_string(f.ILAllPublicTV.Count()) + " manager icons " + std::to_string(f.TVItems.Tag) + " steps " +
               std::to_string(c.history.Steps()) + " late " + std::to_string(f.store.icons.sources.LateCount()) +
               " rows " + std::to_string(f.store.tables.paths.Length()) + "/" +
               std::to_string(f.store.tables.params.Length());
    };
    const std::string before = state();
    for (int stopAt : {1, 2, 3}) {
        int calls = 0;
        EXPECT_EQ(c.Import(Entry("Report"), plan, "Kit", [&](int) { return ++calls < stopAt; }), nullptr);
        EXPECT_EQ(calls, stopAt);
        EXPECT_EQ(state(), before) << "stopped at progress call " << stopAt;
    }
    const int icons = f.TVItems.Tag;
    ASSERT_NE(c.Import(Entry("Report"), plan, "Kit", [](int) { return true; }), nullptr);
    EXPECT_EQ(c.history.UndoLabel(), "Import \"Kit\"");
    EXPECT_EQ(f.TVItems.Tag, icons + 400);
    TTreeNode* show = nullptr;
    ASSERT_TRUE(c.history.Undo(show));
    EXPECT_EQ(c.history.UndoLabel(), "Add folder \"Kept\"");
}

TEST(FolderImportMerge, TwoFoldersMeetInOneWithTheirSubFoldersMergedByName) {
    rztest::TempDir t;
    for (const char* d : {"user", "user\\Tools", "common", "common\\TOOLS", "common\\Games"}) rztest::MakeDir(t / d);
    rztest::WriteFile(t / "user\\Tools\\a.txt", "a");
    rztest::WriteFile(t / "common\\TOOLS\\b.txt", "b");
    rztest::WriteFile(t / "common\\Games\\c.txt", "c");
    FolderImport import;
    ImportEntry both;
    import.AddContents(both, t / "user\\");
    import.AddContents(both, t / "common\\");
    ASSERT_EQ(both.children.size(), 2u);
    EXPECT_EQ(both.children[0].caption, "Tools");
    ASSERT_EQ(both.children[0].children.size(), 2u) << "the second Tools joined the first";
    EXPECT_EQ(both.children[0].children[1].caption, "b");
    EXPECT_EQ(both.children[1].caption, "Games");
    EXPECT_EQ(import.Found(), 3);
}

TEST(FolderImportPlan, TwoStartMenusMergeSortedWithoutTheShellsFilesTwinsOrUninstallers) {
    rztest::TempDir t;
    for (const char* d :
         {"targets", "user", "user\\7-Zip", "common", "common\\7-Zip", "common\\Accessories", "common\\Setup"})
        rztest::MakeDir(t / d);
    for (const char* f : {"app.exe", "help.txt", "7z.exe", "edit.exe", "other.exe", "paint.exe", "unins000.exe",
                          "msiexec.exe", "readme.txt"})
        rztest::WriteFile(t / "targets\\" + f, "x");
    const std::string to = t / "targets\\";
    const struct {
        const char *at, *target, *args;
    } links[] = {
        {"user\\Audacity Help.lnk", "help.txt", ""},
        {"user\\Audacity.lnk", "app.exe", ""},
        {"user\\7-Zip\\7-Zip File Manager.lnk", "7z.exe", ""},
        {"user\\7-Zip\\Uninstall 7-Zip.lnk", "7z.exe", "/u"},
        {"user\\Editor.lnk", "edit.exe", ""},
        {"common\\7-Zip\\7-Zip File Manager.lnk", "7z.exe", ""},
        {"common\\7-Zip\\Help.lnk", "help.txt", ""},
        {"common\\Editor.lnk", "other.exe", ""},
        {"common\\Accessories\\Paint.lnk", "paint.exe", ""},
        {"common\\Setup\\Remove App.lnk", "unins000.exe", ""},
        {"common\\Setup\\Repair App.lnk", "msiexec.exe", "/x {12345678}"},
    };
    for (const auto& l : links) rztest::MakeShortcut(t / l.at, to + l.target, l.args);
    rztest::WriteFile(t / "user\\zeta.txt", "z");
    // What the shell keeps in folders for itself, with and without the attributes that say so.
    rztest::WriteFile(t / "user\\desktop.ini", "[.ShellClassInfo]");
    rztest::WriteFile(t / "common\\Thumbs.db", "");
    rztest::WriteFile(t / "common\\Accessories\\hidden.txt", "");
    ::SetFileAttributesA((t / "common\\Accessories\\hidden.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);

    FolderImport import;
    const ImportEntry plan = import.Plan({t / "user", t / "common"});
    EXPECT_EQ(Captions(plan),
              "[7-Zip[7-Zip File Manager][Help]][Accessories[Paint]][Audacity][Audacity Help][Editor][Editor][zeta]");
    EXPECT_EQ(import.Found(), 8);
    EXPECT_EQ(import.Uninstallers(), 3);
    EXPECT_EQ(import.Summary(), "Imported 8 items, left out 3 uninstallers");
}

TEST(FolderImportPlan, UninstallersAreToldByNameOrTarget) {
    const struct {
        const char *caption, *target, *args;
        bool uninstaller;
    } cases[] = {
        {"Uninstall Foo", "C:\\Foo\\foo.exe", "", true},
        {"Foo Deinstallieren", "C:\\Foo\\foo.exe", "", true},
        {"Foo", "C:\\Foo\\unins001.exe", "", true},
        {"Foo", "C:\\Foo\\Uninstaller.exe", "", true},
        {"Remove Foo", "C:\\Windows\\System32\\msiexec.exe", "/X{1-2-3}", true},
        {"Repair Foo", "C:\\Windows\\System32\\msiexec.exe", "/f {1-2-3}", false},
        {"Foo", "C:\\Foo\\foo.exe", "--uninstall-log", false},
        {"Install Foo", "C:\\Foo\\setup.exe", "", false},
    };
    for (const auto& c : cases) {
        ShellTarget target;
        target.path = c.target;
        target.parameters = c.args;
        EXPECT_EQ(IsUninstaller(c.caption, target), c.uninstaller) << c.caption << " -> " << c.target << " " << c.args;
    }
}

TEST(FolderImportPlan, TenThousandShortcutsAndAFolderThatLeadsBackToItselfEnd) {
    rztest::TempDir t;
    rztest::MakeDir(t / "many");
    rztest::WriteFile(t / "tool.exe", "x");
    rztest::MakeShortcut(t / "one.lnk", t / "tool.exe", "");
    const std::string link = rztest::ReadFile(t / "one.lnk");
    // In folders of a thousand, which Wine makes many times faster than one of all.
    constexpr int kSets = 10, kPerSet = 1000;
    for (int set = 0; set < kSets; ++set) {
        const std::string folder = t / ("many\\Set " + std::to_string(set));
        rztest::MakeDir(folder);
        for (int i = kPerSet; i > 0; --i) rztest::WriteFile(folder + "\\Tool " + std::to_string(i) + ".lnk", link);
    }
    rztest::FolderLink loop(t / "many\\again", t / "many");
    FolderImport import;
    const ImportEntry plan = import.Plan({t / "many"});
    ASSERT_EQ(plan.children.size(), size_t{kSets}) << "no folder leading back in: " << Captions(plan).substr(0, 80);
    for (const ImportEntry& set : plan.children) {
        ASSERT_EQ(set.children.size(), size_t{kPerSet}) << set.caption;
        EXPECT_EQ(set.children[0].caption, "Tool 1");
        EXPECT_EQ(set.children[1].caption, "Tool 10");
    }
    EXPECT_EQ(import.Found(), kSets * kPerSet);
    if (!loop.Made()) GTEST_SKIP() << "no folder link could be made here for the cycle";
}
