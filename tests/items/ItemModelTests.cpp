#include <gtest/gtest.h>

#include "StoreFixture.h"

using namespace rz;
using rztest::StoreTest;

TEST(ItemKinds, FileClassesUseTheLastDotOfTheNamePart) {
    EXPECT_EQ(FileExtension("C:\\dir.v2\\name"), "");
    EXPECT_EQ(FileExtension("C:\\a\\archive.tar.gz"), ".gz");
    EXPECT_EQ(FileExtension("C:file.TXT"), ".TXT");
    EXPECT_EQ(FileExtension("C:\\docs\\"), "");
    EXPECT_TRUE(IsExecutableFile("C:\\X.EXE"));
    EXPECT_TRUE(IsExecutableFile(".com"));
    EXPECT_FALSE(IsExecutableFile("exe"));
    EXPECT_TRUE(IsScriptFile("c:\\a.WsH"));
    EXPECT_FALSE(IsScriptFile("c:\\a.vbs"));
    EXPECT_FALSE(IsProgramFile("c:\\a.exe\\"));
}

TEST(ItemKinds, SafeFolderNames) {
    for (const char* ok : {"Games", "My Tools", "a.b", "COM", "CON1", "nully", "LPT"})
        EXPECT_TRUE(IsSafeFolderName(ok)) << ok;
    for (const char* bad : {"", ".", "..", "a\\b", "a/b", "C:", "con", "Con.txt", "NUL ", "com1", "LPT9.log", "aux"})
        EXPECT_FALSE(IsSafeFolderName(bad)) << bad;
}

TEST_F(StoreTest, LinksGetGrowingIdsAndOnlyProgramItemsHaveParameters) {
    WriteList("shortcuts.txt",
              "^ExeLnk|C:\\p\\a.exe|-x|a.bmp|A\r\n"
              "^UnkLnk|C:\\p\\a.exe|exe|Same path\r\n"
              "^ExeLnk|C:\\p\\b.bat|1|bat|B\r\n"
              "^UnkLnk|C:\\p\\c.txt|txt|C\r\n");
    Load();
    auto top = TopEntries();
    ASSERT_EQ(top.size(), 4u);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(top[i]->ItemId, i);
    EXPECT_EQ(store->tables.PathOf(0), store->tables.PathOf(1));
    EXPECT_EQ(store->ParamsOfItem(0), "-x");
    EXPECT_EQ(store->ParamsOfItem(1), "");
    // The id text "1" exists as parameters of item 2: lookups go by id only.
    EXPECT_EQ(store->ParamsOfItem(2), "1");
    EXPECT_EQ(store->ParamsOfItem(3), "");
    EXPECT_EQ(store->ParamsOfItem(99), "");
    EXPECT_EQ(store->ParamsOfItem(-1), "");

    store->SetItemParams(2, "changed");
    store->SetItemParams(3, "ignored");
    EXPECT_EQ(store->ParamsOfItem(2), "changed");
    EXPECT_EQ(store->ParamsOfItem(3), "");

    EXPECT_TRUE(IsLinkEntry(top[0]));
    EXPECT_TRUE(IsExecutableEntry(top[0], store->tables));
    EXPECT_TRUE(IsScriptEntry(top[2], store->tables));
    EXPECT_FALSE(IsExecutableEntry(top[3], store->tables));
}

TEST_F(StoreTest, EntryKindTests) {
    WriteList("shortcuts.txt", "^ExeLnk|C:\\gone\\x.exe|||No icon\r\n");
    Load();
    TTreeNode* anchor = store->TopAnchor();
    TTreeNode* link = anchor->GetNextSibling();
    TTreeNode* sysmenu = link->GetNextSibling();
    EXPECT_TRUE(IsAnchorEntry(anchor));
    EXPECT_FALSE(IsUserEntry(anchor));
    // No icon (-1 in both fields) is still a link, not a system entry.
    EXPECT_EQ(link->ImageIndex(), -1);
    EXPECT_FALSE(IsSystemEntry(link));
    EXPECT_TRUE(IsLinkEntry(link));
    EXPECT_TRUE(IsUserEntry(link));
    EXPECT_TRUE(IsSystemEntry(sysmenu));
    EXPECT_FALSE(IsLinkEntry(sysmenu));
    EXPECT_EQ(parts->PMItems.Items().Items(0)->ImageIndex, -1);
}

TEST_F(StoreTest, TheUndoCopyEqualsTheLoadedTree) {
    WriteList("shortcuts.txt", "^Folder|F\r\n^ExeLnk|C:\\a.bat|p|bat|A\r\n");
    rztest::MakeDir(dir / "shortcuts\\F");
    WriteList("F\\shortcuts.txt", "^SpeSep|in\r\n");
    TVItems.Tag = 3;
    Load();
    EXPECT_EQ(Dump(parts->TVUndo.GetFirstNode()), Dump(TVItems.GetFirstNode()));
    EXPECT_EQ(parts->TVUndo.Tag, 3);
}
