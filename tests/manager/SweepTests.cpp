// The sweep: entries whose target is gone leave the tree, and Undo brings
// them back.

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "ManagerFixture.h"
#include "support/UcvSysIO.h"

using namespace rz;
using rztest::ManagerTest;

namespace {

class SweepTest : public ManagerTest {
protected:
    void TearDown() override {
        LookUpPath.Restore();
        ManagerTest::TearDown();
    }
    void Start(const std::string& top, const std::string& games) {
        WriteStore("shortcuts", top);
        WriteStore("shortcuts\\Games", games);
        StartUp();
        ASSERT_FALSE(Application.Terminated());
    }
    void Sweep() { Items().BitBtnSweepClick(&Items().BitBtnSweep); }
};

}  // namespace

TEST_F(SweepTest, EntriesWhoseTargetIsGoneLeaveAndUndoBringsThemBack) {
    const std::string d = dir.Path();
    rztest::WriteFile(d + "keep.txt", "");
    rztest::MakeDir(d + "docs");
    Start("^UnkLnk|" + d +
              "keep.txt|txt|Keep\r\n"
              "^UnkLnk|" +
              d +
              "gone.txt|txt|Gone\r\n"
              "^UnkLnk|" +
              d +
              "docs\\||Docs\r\n"
              "^UnkLnk|" +
              d +
              "docs||DocsPlain\r\n"
              "^UnkLnk|" +
              d +
              "old\\||Old\r\n"
              "^UnkLnk|" +
              d +
              "keep.txt\\|txt|FileAsFolder\r\n"
              "^UnkLnk|C:\\||Root\r\n"
              "^NorSep|\r\n"
              "^Folder|Games\r\n",
          "^UnkLnk|" + d + "games\\chess.txt|txt|Chess\r\n");
    TFormItems& f = Items();
    const std::string loaded = Dump(Anchor());
    // A pasted copy has its source's path; the clipboard holds the copy, cut.
    Pick(Entry("Gone"));
    f.BitBtnCopyClick(&f.BitBtnCopy);
    Pick(Entry("Keep"));
    f.BitBtnPasteClick(&f.BitBtnPaste);
    f.BitBtnCutClick(&f.BitBtnCut);
    ASSERT_TRUE(f.Clipboard() && f.Clipboard()->Cut());
    ASSERT_EQ(f.store.tables.PathOf(f.Clipboard()->ItemId), d + "gone.txt");

    Sweep();
    EXPECT_EQ(LevelOf(Anchor()),
              "[][Keep][Docs][DocsPlain][Root][---------------][Games][--Sysmenu--][Razaveza Kit][Close]");
    EXPECT_EQ(LevelOf(Entry("Games")->GetFirstChild()), "[]");
    // Gone, its pasted copy, Old, FileAsFolder, Chess.
    EXPECT_EQ(Status(), "Sweep removed 5 entries");
    EXPECT_EQ(Entry("Razaveza Kit")->Count(), 8);
    EXPECT_EQ(f.TVItems.Selected(), Anchor());
    EXPECT_EQ(f.Clipboard(), nullptr);
    EXPECT_FALSE(f.BitBtnPaste.Enabled());
    // The tables keep their rows.
    EXPECT_EQ(f.store.tables.PathOf(1), d + "gone.txt");

    f.BitBtnUndoClick(&f.BitBtnUndo);
    EXPECT_EQ(Dump(Anchor()), loaded);
}

TEST_F(SweepTest, OnlyANotThereAnswerRemovesAnEntry) {
    // Access refused, a drive not ready, a network failure: the target may
    // well be there, and the next save would lose the entry for good.
    const std::pair<const char*, DWORD> answers[] = {{"Denied", ERROR_ACCESS_DENIED}, {"NotReady", ERROR_NOT_READY},
                                                     {"Network", ERROR_BAD_NETPATH},  {"NoDrive", ERROR_INVALID_DRIVE},
                                                     {"BadName", ERROR_INVALID_NAME}, {"NoPath", ERROR_PATH_NOT_FOUND},
                                                     {"There", ERROR_SUCCESS}};
    std::string top;
    for (const auto& [name, error] : answers) top += std::string("^UnkLnk|Q:\\") + name + ".txt|txt|" + name + "\r\n";
    // Variables are looked up expanded; one this computer lacks may be
    // defined on the next, so its entry stays.
    ::SetEnvironmentVariableA("RZT_SWEEP_DRIVE", "Q:");
    top += "^UnkLnk|%RZT_SWEEP_DRIVE%\\There.txt|txt|ThereAsTyped\r\n"
           "^UnkLnk|%RZT_SWEEP_DRIVE%\\NoPath.txt|txt|NoPathAsTyped\r\n"
           "^UnkLnk|%RZT_SWEEP_UNSET%\\NoPath.txt|txt|Elsewhere\r\n";
    Start(top, "");
    LookUpPath.Replace([&](const std::string& path) {
        for (const auto& [name, error] : answers)
            if (path == std::string("Q:\\") + name + ".txt")
                return PathLookup{error ? INVALID_FILE_ATTRIBUTES : FILE_ATTRIBUTE_NORMAL, error};
        return PathLookup{INVALID_FILE_ATTRIBUTES, ERROR_FILE_NOT_FOUND};
    });
    Sweep();
    ::SetEnvironmentVariableA("RZT_SWEEP_DRIVE", nullptr);
    EXPECT_EQ(LevelOf(Anchor()).substr(0, 68),
              "[][Denied][NotReady][Network][There][ThereAsTyped][Elsewhere][--Sysm");
}

TEST_F(SweepTest, ALevelOfTwoHundredThousandEntriesDoesNotExhaustTheStack) {
    // One call per sibling ran out of stack on such a level.
    Start("^Folder|Games\r\n", "");
    TFormItems& f = Items();
    TTreeNode* games = Entry("Games");
    const int kept = f.store.tables.AddLink("Q:\\kept", nullptr);
    const int gone = f.store.tables.AddLink("Q:\\gone", nullptr);
    // The view never shows the level: only the walk is measured here.
    f.TVItems.BeginUpdate();
    for (int i = 0; i < 200000; ++i) f.TVItems.AddChild(games, "n")->ItemId = i % 50000 ? kept : gone;
    LookUpPath.Replace([](const std::string& path) {
        return path == "Q:\\gone" ? PathLookup{INVALID_FILE_ATTRIBUTES, ERROR_FILE_NOT_FOUND}
                                  : PathLookup{FILE_ATTRIBUTE_NORMAL, ERROR_SUCCESS};
    });
    Sweep();
    EXPECT_EQ(games->Count(), 1 + 200000 - 4);
    f.TVItems.Delete(games);
    f.TVItems.EndUpdate();
}
