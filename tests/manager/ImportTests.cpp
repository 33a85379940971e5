// A folder tree with shortcuts imported as one virtual folder, by the menu
// command and by a directory dropped with Shift held, and taken back by Undo.

#include <windows.h>
#include <shlobj.h>

#include <algorithm>

#include "ManagerFixture.h"
#include "core/Launching.h"
#include "manager/FolderImport.h"
#include "support/UcvCallExternal.h"
#include "support/UcvSysStr.h"

using namespace rz;
using rztest::ManagerTest;

namespace {

// The names a folder lists, in its own order, as the import should keep them.
std::vector<std::string> Listed(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found{};
    HANDLE h = ::FindFirstFileA((folder + "*").c_str(), &found);
    if (h == INVALID_HANDLE_VALUE) return names;
    do {
        const std::string name = found.cFileName;
        if (name != "." && name != "..") names.push_back(name);
    } while (::FindNextFileA(h, &found));
    ::FindClose(h);
    return names;
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
    // Captions the import should show for a folder's names, in its order.
    std::string Expected(const std::string& folder, const std::vector<std::string>& skip) {
        std::string out = "[]";
        for (const std::string& name : Listed(folder)) {
            if (std::find(skip.begin(), skip.end(), name) != skip.end()) continue;
            out += "[" + (name.find('.') == std::string::npos ? name : name.substr(0, name.rfind('.'))) + "]";
        }
        return out;
    }
    std::string chosen;
};

}  // namespace

TEST_F(ImportTest, AFolderOfShortcutsBecomesOneVirtualFolderThatOneUndoTakesBack) {
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
    EXPECT_EQ(LevelOf(games->GetFirstChild()), Expected(chosen + "\\", {"gone.lnk"}));
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
    EXPECT_NE(Status().find("Imported 3 items, skipped 2"), std::string::npos) << Status();

    // Dropped with Shift held, the directory comes the same way.
    BYTE keys[256] = {};
    ::GetKeyboardState(keys);
    keys[VK_SHIFT] = 0x80;
    ::SetKeyboardState(keys);
    ::SendMessageA(f.TVItems.Handle(), WM_DROPFILES,
                   reinterpret_cast<WPARAM>(rztest::MakeDrop({chosen}, At(Entry("Report")))), 0);
    keys[VK_SHIFT] = 0;
    ::SetKeyboardState(keys);
    ASSERT_NE(Entry("Report")->GetNextSibling(), nullptr);
    EXPECT_EQ(Entry("Report")->GetNextSibling()->Text(), "Games (3)");
    EXPECT_EQ(LevelOf(Entry("Games (3)")->GetFirstChild()), LevelOf(games->GetFirstChild()));

    f.BitBtnUndoClick(&f.BitBtnUndo);
    EXPECT_EQ(Dump(Anchor()), before);
    EXPECT_EQ(f.ILAllPublicTV.Count(), icons);
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
