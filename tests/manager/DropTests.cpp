// Files, directories and shortcuts dropped on the item tree from the shell,
// as WM_DROPFILES blocks.

#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "ManagerFixture.h"
#include "core/Launching.h"
#include "support/UcvSysIO.h"
#include "support/UcvSysStr.h"

using namespace rz;
using rztest::MakeShortcut;
using rztest::ManagerTest;

namespace {

constexpr char kMsgProgramItem[] = "You can not drop items on following type: \"Program item\"";

class DropTest : public ManagerTest {
protected:
    void SetUp() override {
        ManagerTest::SetUp();
        PlayWaveFile.Replace([this](const std::string& file) {
            sounds.push_back(file.substr(file.find_last_of('\\') + 1));
            return true;
        });
    }
    void TearDown() override {
        PlayWaveFile.Restore();
        ManagerTest::TearDown();
    }
    void DropAt(POINT at, const std::vector<std::string>& paths) {
        ::SendMessageA(Items().TVItems.Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(rztest::MakeDrop(paths, at)),
                       0);
    }
    bool HasParamRow(int itemId) const {
        const ItemTables& t = Items().store.tables;
        return IndexOfString(t.paramIds, t.paramIds.High(), std::to_string(itemId)) >= 0;
    }
    std::string TypeShown(TTreeNode* node) {
        Pick(node);
        return Items().LblFType.Caption();
    }

    std::vector<std::string> sounds;
};

}  // namespace

TEST_F(DropTest, RegressionFilesAndDirectoriesGoRightAfterTheTargetInDropOrder) {
    StartWithAllKinds();
    TFormItems& f = Items();
    rztest::MakeDir(dir / "in");
    rztest::MakeDir(dir / "in\\Backup.2023");
    rztest::WriteFile(dir / "in\\Report.final.doc", "x");
    rztest::WriteFile(dir / "in\\tool.exe", "MZ");
    // Taken at its full length: cut at 254 it named another file.
    const std::string longName(290, 'l');
    const std::string longPath = "C:\\" + longName + ".txt";
    const int images = f.ILAllPublicPM.Count();
    const int firstId = f.store.tables.nextItemId;
    const int break5 = f.store.icons.slots.break5;

    DropAt(At(Entry("Report")),
           {dir / "in\\Report.final.doc", dir / "in\\Backup.2023", dir / "in\\tool.exe", longPath});
    // Each file went right after the target: a, b, c came out c, b, a.
    EXPECT_EQ(LevelOf(Entry("Report")),
              "[Report][Report.final][Backup.2023][tool][" + longName + "][--Sysmenu--][Razaveza Kit][Close]");
    EXPECT_TRUE(sounds.empty());
    TTreeNode* doc = Entry("Report.final");
    TTreeNode* backup = Entry("Backup.2023");
    TTreeNode* tool = Entry("tool");
    TTreeNode* longEntry = Entry(longName);
    EXPECT_EQ(f.TVItems.Selected(), longEntry);

    EXPECT_EQ(doc->ItemId, firstId);
    EXPECT_EQ(f.store.tables.PathOf(backup->ItemId), dir / "in\\Backup.2023\\");
    EXPECT_EQ(f.store.tables.PathOf(longEntry->ItemId), longPath);
    EXPECT_EQ(f.store.tables.nextItemId, firstId + 4);
    // A directory is no file of type "2023": folder icon, no parameters.
    EXPECT_EQ(backup->ImageIndex(), kIconDirectory);
    EXPECT_FALSE(HasParamRow(backup->ItemId));
    EXPECT_TRUE(HasParamRow(tool->ItemId));
    EXPECT_FALSE(HasParamRow(doc->ItemId));
    // Every file's icon is appended to both lists, in drop order.
    EXPECT_EQ(doc->ImageIndex(), break5 + 1);
    EXPECT_EQ(tool->ImageIndex(), break5 + 2);
    EXPECT_EQ(longEntry->ImageIndex(), break5 + 3);
    EXPECT_EQ(tool->SelectedIndex(), tool->ImageIndex());
    EXPECT_EQ(f.ILAllPublicPM.Count(), images + 3);
    EXPECT_EQ(f.ILAllPublicTV.Count(), images + 3);
    EXPECT_EQ(f.TVItems.Tag, 3);
    EXPECT_EQ(TypeShown(tool), "Item Type: Executable item");
    EXPECT_EQ(TypeShown(doc), "Item Type: Viewable item");

    // Saved and loaded again, the directory is still one.
    f.BitBtnSaveClick(&f);
    ReloadItems();
    ASSERT_NE(Entry("Backup.2023"), nullptr);
    EXPECT_EQ(Entry("Backup.2023")->ImageIndex(), kIconDirectory);
}

TEST_F(DropTest, AShortcutGivesItsTargetAndOneThatLeadsNowhereIsRefused) {
    StartWithAllKinds();
    TFormItems& f = Items();
    rztest::MakeDir(dir / "Apps");
    rztest::MakeDir(dir / "Backup.2023");
    rztest::WriteFile(dir / "Apps\\Edit.exe", "MZ");
    rztest::WriteFile(dir / "Apps\\Gone.exe", "MZ");
    MakeShortcut(dir / "Edit.lnk", dir / "Apps\\Edit.exe", "/n");
    MakeShortcut(dir / "Folder.lnk", dir / "Backup.2023", "");
    MakeShortcut(dir / "Gone.lnk", dir / "Apps\\Gone.exe", "");
    ::DeleteFileA((dir / "Apps\\Gone.exe").c_str());
    rztest::WriteFile(dir / "Fake.lnk", "not a shortcut");
    const int paths = f.store.tables.paths.Length();

    MakeShortcut(dir / "Far.lnk", "Q:\\Share\\Far.exe", "-x");
    // A drive that is not ready: the target may well be there.
    LookUpPath.Replace([](const std::string& path) {
        if (path.rfind("Q:", 0) == 0) return PathLookup{INVALID_FILE_ATTRIBUTES, ERROR_NOT_READY};
        return LookUpPath.Real(path);
    });
    f.StatusBarHelp.SetPanelText("an old refusal");
    DropAt(At(Anchor()), {dir / "Edit.lnk", dir / "Gone.lnk", dir / "Folder.lnk", dir / "Fake.lnk", dir / "Far.lnk"});
    LookUpPath.Restore();
    EXPECT_EQ(LevelOf(Anchor()).substr(0, 38), "[][Edit][Backup.2023][Far][Games][----");
    // One chord and one summary for the whole drop.
    EXPECT_EQ(sounds, (std::vector<std::string>{"chord.wav"}));
    EXPECT_EQ(Status(), "2 of 5 not added: The shortcut does not lead to an existing file or directory");
    EXPECT_EQ(f.store.tables.paths.Length(), paths + 3);
    EXPECT_EQ(f.store.ParamsOfItem(Entry("Far")->ItemId), "-x");
    EXPECT_EQ(f.TVItems.Selected(), Entry("Far"));
    TTreeNode* edit = Entry("Edit");
    EXPECT_EQ(LowerCase(f.store.tables.PathOf(edit->ItemId)), LowerCase(dir / "Apps\\Edit.exe"));
    EXPECT_EQ(f.store.ParamsOfItem(edit->ItemId), "/n");
    EXPECT_EQ(Entry("Backup.2023")->ImageIndex(), kIconDirectory);
}

TEST_F(DropTest, DropsOnSystemEntriesOrEmptySpaceAreRefusedWithTheChord) {
    StartWithAllKinds();
    TFormItems& f = Items();
    rztest::WriteFile(dir / "note.txt", "");
    const std::string before = Dump(Anchor());
    const int paths = f.store.tables.paths.Length();
    const int images = f.ILAllPublicPM.Count();
    POINT below = At(Entry("Close"));
    below.y += 60;
    for (POINT at : {At(Entry("Close")), At(Entry("Razaveza Kit")), below}) DropAt(at, {dir / "note.txt"});
    EXPECT_EQ(sounds, (std::vector<std::string>(3, "chord.wav")));
    EXPECT_EQ(Status(), kMsgProgramItem);
    EXPECT_EQ(Dump(Anchor()), before);
    EXPECT_EQ(f.store.tables.paths.Length(), paths);
    EXPECT_EQ(f.ILAllPublicPM.Count(), images);
    // An accepted drop says what it added in place of the old refusal.
    DropAt(At(Anchor()), {dir / "note.txt"});
    EXPECT_EQ(Status(), "Added \"note\"");
    EXPECT_EQ(sounds.size(), 3u);
}

TEST_F(DropTest, NamesInAnyScriptSurviveTheDropASaveAndALoad) {
    using rztest::U8;
    StartWithAllKinds();
    TFormItems& f = Items();
    const std::string in = dir / U8(u8"Übersicht 😀\\");
    rztest::MakeDir(in);
    // With "Omega.txt" beside it, a best-fit "Ωmega.txt" would open the wrong file.
    for (const std::string& name :
         {U8(u8"Привет.cmd"), U8(u8"日本語 メモ.txt"), U8(u8"Ωmega.txt"), U8(u8"Café.txt"), std::string("Omega.txt")})
        rztest::WriteFile(in + name, "@exit\r\n");
    const std::string cmd = in + U8(u8"Привет.cmd");
    MakeShortcut(in + U8(u8"快捷方式.lnk"), cmd, U8(u8"/имя"));
    struct Drop {
        std::string caption, path, target;
    };
    const Drop drops[] = {{U8(u8"Привет"), cmd, cmd},
                          {U8(u8"日本語 メモ"), in + U8(u8"日本語 メモ.txt"), in + U8(u8"日本語 メモ.txt")},
                          {U8(u8"Ωmega"), in + U8(u8"Ωmega.txt"), in + U8(u8"Ωmega.txt")},
                          {U8(u8"Café"), in + U8(u8"Café.txt"), in + U8(u8"Café.txt")},
                          {U8(u8"Привет"), in + U8(u8"快捷方式.lnk"), cmd}};
    std::vector<std::string> paths;
    for (const Drop& d : drops) paths.push_back(d.path);
    DropAt(At(Anchor()), paths);
    EXPECT_TRUE(sounds.empty());

    f.BitBtnSaveClick(&f);
    ReloadItems();
    for (size_t i = 0; i < std::size(drops); ++i) {
        const Drop& d = drops[i];
        TTreeNode* entry = Entry(d.caption, i + 1 == std::size(drops) ? 1 : 0);
        ASSERT_NE(entry, nullptr) << d.caption;
        EXPECT_EQ(LowerCase(f.store.tables.PathOf(entry->ItemId)), LowerCase(d.target)) << d.caption;
    }
    // The shortcut, dropped last, stands last and carries its arguments.
    ASSERT_NE(Entry(U8(u8"Привет"), 1), nullptr);
    EXPECT_EQ(f.store.ParamsOfItem(Entry(U8(u8"Привет"), 1)->ItemId), U8(u8"/имя"));
}
