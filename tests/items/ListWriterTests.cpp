#include <gtest/gtest.h>

#include <vector>

#include "StoreFixture.h"
#include "items/ListFile.h"
#include "platform/FileIO.h"
#include "support/UcvSysExceptions.h"
#include "support/UcvSysIO.h"

using namespace rz;
using rztest::StoreTest;

namespace {

class WriterTest : public StoreTest {
protected:
    std::string Out(const std::string& rel) { return rztest::ReadFile(dir / ("out\\" + rel)); }
    void Save() {
        rztest::MakeDir(dir / "out");
        store->WriteItemListFile(store->TopAnchor(), dir.Path() + "out");
    }
    std::vector<std::string> logged;
    void SetUp() override {
        StoreTest::SetUp();
        store->writeErrorLog = [this](const std::string& m) { logged.push_back(m); };
    }
    void TearDown() override { WriteWholeFile.Restore(); }
};

}  // namespace

TEST_F(WriterTest, WritingWhatWasReadGivesTheSameFilesBack) {
    rztest::MakeDir(dir / "tools");
    rztest::WriteFile(dir / "tools\\run.bat", "@echo off\r\n");
    const std::string top =
        "^Folder|Games\r\n"
        "^NorSep|\r\n"
        "^SpeSep|x\r\n"
        "^ExeLnk|" +
        dir.Path() +
        "tools\\run.bat|-full \"a b\"|bat|Run|it\r\n"
        "^UnkLnk|C:\\docs\\report.DOC|doc|Report\r\n"
        "^UnkLnk|" +
        dir.Path() +
        "tools\\||Tools dir\r\n"
        "^UnkLnk|C:\\docs\\README||Readme\r\n";
    const std::string games = "^SpeSep|Fun & games\r\n^Folder|Empty\r\n";
    WriteList("shortcuts.txt", top);
    rztest::MakeDir(dir / "shortcuts\\Games");
    rztest::MakeDir(dir / "shortcuts\\Games\\Empty");
    WriteList("Games\\shortcuts.txt", games);
    Load();
    Save();
    EXPECT_EQ(Out("shortcuts.txt"), top);
    EXPECT_EQ(Out("Games\\shortcuts.txt"), games);
    // A folder with nothing but its anchor gets its directory and no list file.
    EXPECT_TRUE(rztest::DirExists(dir / "out\\Games\\Empty"));
    EXPECT_FALSE(rztest::FileExists(dir / "out\\Games\\Empty\\shortcuts.txt"));
    EXPECT_TRUE(logged.empty());
}

TEST_F(WriterTest, ExecutablesGetNumberedPictureFilesOnOneLevel) {
    WriteList("shortcuts.txt",
              "^ExeLnk|C:\\a\\setup.exe||setup.bmp|A\r\n"
              "^ExeLnk|C:\\b\\setup.exe|/s||B\r\n"
              "^ExeLnk|C:\\c\\Setup.Tool.EXE|||C\r\n"
              "^ExeLnk|C:\\d\\setup.exe|||D\r\n");
    Load();
    Save();
    EXPECT_EQ(Out("shortcuts.txt"),
              "^ExeLnk|C:\\a\\setup.exe||setup.bmp|A\r\n"
              "^ExeLnk|C:\\b\\setup.exe|/s|setup1.bmp|B\r\n"
              "^ExeLnk|C:\\c\\Setup.Tool.EXE||Setup.Tool.bmp|C\r\n"
              "^ExeLnk|C:\\d\\setup.exe||setup2.bmp|D\r\n");
    for (const char* f : {"setup.bmp", "setup1.bmp", "setup2.bmp", "Setup.Tool.bmp"})
        EXPECT_TRUE(rztest::FileExists(dir / ("out\\" + std::string(f)))) << f;
    // A 16 x 16, 32-bit BMP.
    std::string bmp = Out("setup.bmp");
    ASSERT_GE(bmp.size(), 54u);
    EXPECT_EQ(bmp.substr(0, 2), "BM");
    EXPECT_EQ(static_cast<unsigned char>(bmp[18]), 16);
    EXPECT_EQ(static_cast<unsigned char>(bmp[22]), 16);
    EXPECT_EQ(static_cast<unsigned char>(bmp[28]), 32);
}

TEST_F(WriterTest, ThePathDecidesTheKindWritten) {
    WriteList("shortcuts.txt",
              "^UnkLnk|C:\\x\\Go.CMD|cmd|Script\r\n"
              "^ExeLnk|C:\\x\\notes.txt|-p|txt|Notes\r\n");
    Load();
    Save();
    EXPECT_EQ(Out("shortcuts.txt"),
              "^ExeLnk|C:\\x\\Go.CMD||cmd|Script\r\n"
              "^UnkLnk|C:\\x\\notes.txt|txt|Notes\r\n");
}

TEST_F(WriterTest, NothingAfterTheFirstSystemEntryIsWritten) {
    WriteList("shortcuts.txt", "^SpeSep|Mine\r\n");
    Load();
    // An entry that ended up behind the system entries.
    TTreeNode* stray = TVItems.AddChild(nullptr, "--Stray--");
    stray->SetImageIndex(kIconSpeSep);
    Save();
    EXPECT_EQ(Out("shortcuts.txt"), "^SpeSep|Mine\r\n");
}

TEST_F(WriterTest, AFailedWriteIsLoggedByEveryLevelItPassesAndRaised) {
    WriteList("shortcuts.txt", "^Folder|A\r\n^NorSep|\r\n");
    rztest::MakeDir(dir / "shortcuts\\A");
    rztest::MakeDir(dir / "shortcuts\\A\\B");
    WriteList("A\\shortcuts.txt", "^Folder|B\r\n");
    WriteList("A\\B\\shortcuts.txt", "^SpeSep|deep\r\n");
    Load();
    WriteWholeFile.Replace([](const std::string& path, const std::string& bytes) {
        return bytes.find("^SpeSep|deep") == std::string::npos && WriteWholeFile.Real(path, bytes);
    });
    EXPECT_THROW(Save(), EInOutError);
    const std::string out = dir.Path() + "out";
    ASSERT_EQ(logged.size(), 3u);
    EXPECT_EQ(logged[0],
              "Unable to save \"" + out + "\\A\\B\\shortcuts.txt\", probably because of a call to \"GetNextSibling\"");
    EXPECT_EQ(logged[1],
              "Unable to save \"" + out + "\\A\\shortcuts.txt\", probably because of a call to \"GetNextSibling\"");
    EXPECT_EQ(logged[2],
              "Unable to save \"" + out + "\\shortcuts.txt\", probably because of a call to \"GetNextSibling\"");
    // A level is written only once everything below it is.
    EXPECT_FALSE(rztest::FileExists(dir / "out\\shortcuts.txt"));
}

TEST_F(WriterTest, AFolderNameThatLeavesTheStoreIsRefusedNotWritten) {
    Load();
    TTreeNode* bad = TVItems.Insert(store->TopAnchor()->GetNextSibling(), "..");
    bad->SetImageIndex(kIconFolder);
    TTreeNode* anchor = TVItems.AddChild(bad, "");
    anchor->SetImageIndex(kIconAnchor);
    TTreeNode* inner = TVItems.AddChild(bad, "--x--");
    inner->SetImageIndex(kIconSpeSep);
    rztest::MakeDir(dir / "out");
    EXPECT_THROW(store->WriteItemListFile(store->TopAnchor(), dir.Path() + "out"), EInOutError);
    EXPECT_FALSE(rztest::FileExists(dir / "shortcuts.txt"));
    EXPECT_EQ(logged.size(), 1u);
}

TEST_F(WriterTest, AStoreDeeperThanTheClassicPathLimitLoadsAndSavesWhole) {
    // 200 levels of 14-character names: far past the 260 characters of old.
    constexpr int kDepth = 200;
    const std::string level = "^SpeSep|level\r\n^Folder|Deeper folder\r\n";
    std::string folder = dir.Path() + "shortcuts";
    ASSERT_TRUE(CreateFolder(folder));
    for (int i = 0; i < kDepth; ++i) {
        ASSERT_TRUE(WriteWholeFile(folder + "\\shortcuts.txt", level));
        folder += "\\Deeper folder";
        ASSERT_TRUE(CreateFolder(folder)) << i;
    }
    ASSERT_TRUE(WriteWholeFile(folder + "\\shortcuts.txt", "^NorSep|\r\n"));
    Load();
    int depth = 0;
    for (TTreeNode* n = store->TopAnchor(); n; n = n->GetNextSibling()->GetNextSibling()->GetFirstChild()) {
        ASSERT_EQ(n->GetNextSibling()->Text(), "--level--") << depth;
        if (++depth == kDepth) break;
    }
    Save();
    std::string in = dir.Path() + "shortcuts", out = dir.Path() + "out";
    for (int i = 0; i <= kDepth; ++i) {
        std::string a, b;
        ASSERT_TRUE(ReadWholeFile(in + "\\shortcuts.txt", a)) << i;
        ASSERT_TRUE(ReadWholeFile(out + "\\shortcuts.txt", b)) << i;
        ASSERT_EQ(a, b) << i;
        in += "\\Deeper folder";
        out += "\\Deeper folder";
    }
    DeleteFolderTree(dir.Path() + "shortcuts");
    DeleteFolderTree(dir.Path() + "out");
    EXPECT_FALSE(DirectoryExists(dir.Path() + "out"));
}
