#include <gtest/gtest.h>

#include "StoreFixture.h"
#include "items/ListFile.h"
#include "support/UcvSysExceptions.h"

using namespace rz;
using rztest::StoreTest;

TEST(ListFileGrammar, FieldsAreTakenFromTheLeftAndTheCaptionIsTheRemainder) {
    auto line = SplitListLine("^ExeLnk|C:\\x.exe|-a|x.bmp|Cap|tion");
    ASSERT_TRUE(line);
    EXPECT_EQ(line->token, "^ExeLnk");
    EXPECT_EQ(TakeField(line->rest), "C:\\x.exe");
    EXPECT_EQ(TakeField(line->rest), "-a");
    EXPECT_EQ(TakeField(line->rest), "x.bmp");
    EXPECT_EQ(line->rest, "Cap|tion");

    // With no "|" left a field is empty and nothing is consumed.
    auto shortLine = SplitListLine("^ExeLnk|C:\\x.exe");
    ASSERT_TRUE(shortLine);
    EXPECT_EQ(TakeField(shortLine->rest), "");
    EXPECT_EQ(TakeField(shortLine->rest), "");
    EXPECT_EQ(shortLine->rest, "C:\\x.exe");

    EXPECT_FALSE(SplitListLine("no bar at all"));
    EXPECT_FALSE(SplitListLine(""));
}

TEST(ListFileGrammar, AllThreeLineEndsSplitLines) {
    rztest::TempDir dir;
    rztest::WriteFile(dir / "mixed.txt", "a|1\r\nb|2\nc|3\rd|4\r\n\r\ne|5");
    auto lines = ReadListLines(dir / "mixed.txt");
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0], "a|1");
    EXPECT_EQ(lines[2], "c|3");
    EXPECT_EQ(lines[3], "d|4");
    EXPECT_EQ(lines[4], "");
    EXPECT_EQ(lines[5], "e|5");
    EXPECT_THROW(ReadListLines(dir / "missing.txt"), EInOutError);
}

TEST_F(StoreTest, LoaderSkipsWhatItCannotReadAndKeepsTheRest) {
    WriteList("shortcuts.txt",
              "^NorSep|ignored text\r\n"
              "garbage line\r\n"
              "\r\n"
              "^folder|lower case token\r\n"
              "^Other|x\r\n"
              "^SpeSep|Tools\n"
              "^ExeLnk|C:\\x.exe\r"
              "^UnkLnk|C:\\docs\\a.txt|txt|Pipe|in caption\r\n"
              "^Folder|Gone\r\n"
              "^SpeSep|\r\n");
    Load();
    auto top = TopEntries();
    ASSERT_EQ(top.size(), 5u);
    EXPECT_EQ(top[0]->Text(), "---------------");
    EXPECT_EQ(top[0]->ImageIndex(), kIconNorSep);
    EXPECT_EQ(top[1]->Text(), "--Tools--");
    EXPECT_EQ(top[1]->ImageIndex(), kIconSpeSep);
    // Missing fields are empty: the whole remainder is the caption.
    EXPECT_EQ(top[2]->Text(), "C:\\x.exe");
    EXPECT_EQ(store->tables.PathOf(top[2]->ItemId), "");
    EXPECT_EQ(top[2]->ImageIndex(), -1);
    EXPECT_EQ(top[3]->Text(), "Pipe|in caption");
    EXPECT_EQ(store->tables.PathOf(top[3]->ItemId), "C:\\docs\\a.txt");
    EXPECT_EQ(top[4]->Text(), "----");

    // The menu mirrors the tree, in front of the fixed tail.
    const TMenuItem& root = parts->PMItems.Items();
    ASSERT_EQ(root.Count(), 5 + 3);
    EXPECT_EQ(root.Tag, 5);
    EXPECT_EQ(root.Items(0)->Tag, kTagNorSep);
    EXPECT_EQ(root.Items(1)->Caption, "Tools");
    EXPECT_EQ(root.Items(1)->Tag, kTagSpeSep);
    EXPECT_EQ(root.Items(2)->Tag, top[2]->ItemId);
    EXPECT_EQ(root.Items(3)->Caption, "Pipe|in caption");
    EXPECT_EQ(root.Items(5)->Caption, "Sysmenu");
    EXPECT_EQ(root.Items(6)->Caption, "Razaveza Kit");
    EXPECT_EQ(root.Items(7)->Caption, "Close");
}

TEST_F(StoreTest, FoldersNeedTheirDirectoryAndMayLackAListFile) {
    WriteList("shortcuts.txt", "^Folder|Games\r\n^Folder|Empty\r\n^Folder|Gone\r\n^NorSep|\r\n");
    rztest::MakeDir(dir / "shortcuts\\Games");
    rztest::MakeDir(dir / "shortcuts\\Empty");
    WriteList("Games\\shortcuts.txt", "^SpeSep|Fun\r\n^Folder|Deeper\r\n");
    rztest::MakeDir(dir / "shortcuts\\Games\\Deeper");
    WriteList("Games\\Deeper\\shortcuts.txt", "^NorSep|\r\n");
    Load();
    EXPECT_EQ(Dump(TVItems.GetFirstNode()),
              "[5]#-1\n"
              "Games[0]#-1\n"
              " [5]#-1\n"
              " --Fun--[4]#-1\n"
              " Deeper[0]#-1\n"
              "  [5]#-1\n"
              "  ---------------[3]#-1\n"
              "Empty[0]#-1\n"
              " [5]#-1\n"
              "---------------[3]#-1\n"
              "--Sysmenu--[4]#-1\n"
              "Razaveza Kit[0]#-1\n"
              " Help File[8]#-1\n"
              " ---------------[3]#-1\n"
              " Manage Items...[9]#-1\n"
              " Properties...[10]#-1\n"
              " ---------------[3]#-1\n"
              " Visit Website[2]#-1\n"
              " ---------------[2]#-1\n"
              " About[2]#-1\n"
              "Close[2]#-1\n");
    const TMenuItem& root = parts->PMItems.Items();
    EXPECT_EQ(DumpMenu(*root.Items(0)),
              "Hiding[-1]@-400~\n"
              "Fun[-1]@-100\n"
              "Deeper[0]@2\n"
              " Hiding[-1]@-400~\n"
              " -[-1]@-200\n");
    // An empty folder still opens as a submenu: it holds its hidden entry.
    EXPECT_EQ(DumpMenu(*root.Items(1)), "Hiding[-1]@-400~\n");
    EXPECT_EQ(root.Items(1)->Tag, 1);
}

TEST_F(StoreTest, SideBarSettingGivesUserFoldersABarMakerFirst) {
    WriteList("shortcuts.txt", "^Folder|Tools\r\n");
    rztest::MakeDir(dir / "shortcuts\\Tools");
    WriteList("Tools\\shortcuts.txt", "^NorSep|\r\n");
    store->drawMenuBar = true;
    Load();
    const TMenuItem* folder = parts->PMItems.Items().Items(0);
    EXPECT_EQ(DumpMenu(*folder), "Tools[-1]@-9999~\nHiding[-1]@-400~\n-[-1]@-200\n");
    EXPECT_EQ(folder->Tag, 3);
}

TEST_F(StoreTest, FolderLinesThatWouldLeaveTheStoreAreNeverFollowed) {
    // ".." and a drive path exist as directories; the device name may too.
    WriteList("shortcuts.txt", "^Folder|..\r\n^Folder|.\r\n^Folder|" + dir.Path() +
                                   "shortcuts\r\n"
                                   "^Folder|sub\\..\\..\r\n^Folder|CON\r\n^Folder|nul.txt\r\n^Folder|Ok\r\n");
    rztest::MakeDir(dir / "shortcuts\\Ok");
    rztest::MakeDir(dir / "shortcuts\\sub");
    // A list file above the store that must not be read.
    rztest::WriteFile(dir / "shortcuts.txt", "^UnkLnk|C:\\outside.txt|txt|Outside\r\n");
    Load();
    auto top = TopEntries();
    ASSERT_EQ(top.size(), 1u);
    EXPECT_EQ(top[0]->Text(), "Ok");
    for (int i = 0; i < store->tables.extensions.Length(); ++i) EXPECT_NE(store->tables.extensions[i], "txt");
}

TEST_F(StoreTest, MissingStoreIsCreatedAndHoldsOnlyTheSystemEntries) {
    Load();
    EXPECT_TRUE(rztest::DirExists(dir / "shortcuts"));
    EXPECT_TRUE(TopEntries().empty());
    EXPECT_EQ(parts->PMItems.Items().Count(), 3);
    EXPECT_EQ(parts->TVUndo.Count(), TVItems.Count());
    // No list file: no type icons, the break images stay at 12 to 14.
    EXPECT_EQ(store->icons.slots.break3, 12);
    EXPECT_EQ(store->icons.slots.break5, 14);
    EXPECT_EQ(parts->ILAllPublicPM.Count(), 15);
    EXPECT_EQ(parts->ILAllPublicTV.Count(), 15);
}
