// List files made by hand or by other programs: what the reader refuses, and
// that it neither touches anything outside the data folder nor stops a start.

#include <gtest/gtest.h>

#include <windows.h>

#include "StoreFixture.h"
#include "items/ListFile.h"
#include "support/TextEncoding.h"
#include "support/UcvSysStr.h"

using namespace rz;
using rztest::StoreTest;

namespace {

// The data folder sits three levels down, with a victim file on every level
// above it that a path climbing out of the store could reach.
class HostileStore : public StoreTest {
protected:
    void SetUp() override {
        StoreTest::SetUp();
        for (const char* level : {"a", "a\\b", "a\\b\\data"}) rztest::MakeDir(dir / level);
        for (const char* victim : {"victim.txt", "a\\victim.txt", "a\\b\\victim.txt"})
            rztest::WriteFile(dir / victim, "precious");
        store->SetDataFolder(data);
        store->writeErrorLog = [this](const std::string& m) { logged.push_back(m); };
    }
    void Put(const std::string& rel, const std::string& content) {
        rztest::MakeDir(data + "shortcuts");
        rztest::WriteFile(data + "shortcuts\\" + rel, content);
    }
    void ExpectVictimsUntouched() {
        for (const char* victim : {"victim.txt", "a\\victim.txt", "a\\b\\victim.txt"})
            EXPECT_EQ(rztest::ReadFile(dir / victim), "precious") << victim;
    }
    // Writes the tree into data\out (made empty first) and returns its top list.
    std::string Save() {
        rztest::RemoveTree(data + "out");
        rztest::MakeDir(data + "out");
        store->WriteItemListFile(store->TopAnchor(), data + "out");
        return rztest::ReadFile(data + "out\\shortcuts.txt");
    }

    const std::string data = dir / "a\\b\\data\\";
    std::vector<std::string> logged;
};

}  // namespace

TEST_F(HostileStore, ExtensionFieldsThatNameNoExtensionGiveNoTypeIconAndAreWrittenBack) {
    const std::string longField(300, 'x');
    Put("shortcuts.txt",
        "^UnkLnk|C:\\docs\\x.txt|\\..\\..\\victim.txt|Climber\r\n"
        "^UnkLnk|C:\\docs\\y.txt|a?b|Asking\r\n"
        "^UnkLnk|C:\\docs\\z.txt|" +
            longField +
            "|Long\r\n"
            "^UnkLnk|C:\\docs\\w.txt|t\x01t|Control\r\n"
            "^UnkLnk|C:\\docs\\v.txt|txt|Fine\r\n");
    ASSERT_NO_THROW(Load());
    ExpectVictimsUntouched();
    auto top = TopEntries();
    ASSERT_EQ(top.size(), 5u);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(top[i]->ImageIndex(), -1) << top[i]->Text();
    EXPECT_GE(top[4]->ImageIndex(), kFirstTypeIconSlot);
    // Refused fields never reach the type icons: txt and the five program types.
    EXPECT_EQ(store->tables.extensions.Length(), 6);
    ASSERT_EQ(logged.size(), 4u);
    EXPECT_NE(logged[0].find("\"Climber\""), std::string::npos) << logged[0];
    EXPECT_EQ(logged[3].find('\x01'), std::string::npos) << "control characters stay out of the log";
    EXPECT_EQ(Save(),
              "^UnkLnk|C:\\docs\\x.txt|txt|Climber\r\n^UnkLnk|C:\\docs\\y.txt|txt|Asking\r\n"
              "^UnkLnk|C:\\docs\\z.txt|txt|Long\r\n^UnkLnk|C:\\docs\\w.txt|txt|Control\r\n"
              "^UnkLnk|C:\\docs\\v.txt|txt|Fine\r\n");
}

TEST_F(HostileStore, FolderCaptionsAreComparedAsTheFileSystemComparesThem) {
    Put("shortcuts.txt",
        "^Folder|...\r\n^Folder|Games\r\n^Folder|GAMES\r\n^Folder|a\r\n^Folder|a.\r\n"
        "^Folder|Docs \r\n^Folder|docs\r\n^Folder|Missing\r\n^NorSep|\r\n");
    for (const char* sub : {"Games", "a", "Docs"}) rztest::MakeDir(data + "shortcuts\\" + sub);
    Put("Games\\shortcuts.txt", "^SpeSep|in games\r\n");
    Put("Docs\\shortcuts.txt", "^SpeSep|in docs\r\n");
    ASSERT_NO_THROW(Load());
    auto top = TopEntries();
    ASSERT_EQ(top.size(), 4u);
    EXPECT_EQ(top[0]->Text(), "Games");
    EXPECT_EQ(top[1]->Text(), "a");
    // Trailing blanks are dropped by the file system: the folder holds Docs.
    EXPECT_EQ(top[2]->Text(), "Docs ");
    ASSERT_EQ(top[2]->Count(), 2);
    EXPECT_EQ(top[2]->GetFirstChild()->GetNextSibling()->Text(), "--in docs--");
    // "...", GAMES, a. and docs; a missing directory is skipped silently.
    ASSERT_EQ(logged.size(), 4u) << logged[0];
    EXPECT_NE(logged[0].find("\"...\""), std::string::npos);
    EXPECT_NE(logged[1].find("\"GAMES\""), std::string::npos);

    // What was kept can be saved, and reads back the same.
    const std::string written = Save();
    EXPECT_EQ(written, "^Folder|Games\r\n^Folder|a\r\n^Folder|Docs \r\n^NorSep|\r\n");
    EXPECT_EQ(rztest::ReadFile(data + "out\\Docs\\shortcuts.txt"), "^SpeSep|in docs\r\n");
}

TEST_F(HostileStore, PicturesAreNamedInsideTheirLevelAsPlainFiles) {
    const std::string longName(150, 'n');
    Put("shortcuts.txt",
        "^ExeLnk|C:\\apps\\x/../../../evil.exe||evil.bmp|Climber\r\n"
        "^ExeLnk|C:\\apps\\CON.exe|||Device\r\n"
        "^ExeLnk|C:\\apps\\wh?t\x02.exe|||Odd\r\n"
        "^ExeLnk|C:\\apps\\" +
            longName + ".exe|||Long\r\n");
    Load();
    const std::string written = Save();
    const std::string longPicture = std::string(100, 'n') + ".bmp";
    EXPECT_EQ(written,
              "^ExeLnk|C:\\apps\\x/../../../evil.exe||evil.bmp|Climber\r\n"
              "^ExeLnk|C:\\apps\\CON.exe||_CON.bmp|Device\r\n"
              "^ExeLnk|C:\\apps\\wh?t\x02.exe||wh_t_.bmp|Odd\r\n"
              "^ExeLnk|C:\\apps\\" +
                  longName + ".exe||" + longPicture + "|Long\r\n");
    for (const std::string& picture :
         {std::string("evil.bmp"), std::string("_CON.bmp"), std::string("wh_t_.bmp"), longPicture})
        EXPECT_TRUE(rztest::FileExists(data + "out\\" + picture)) << picture;
    for (const char* outside : {"evil.bmp", "a\\evil.bmp", "a\\b\\evil.bmp", "a\\b\\data\\evil.bmp"})
        EXPECT_FALSE(rztest::FileExists(dir / outside)) << outside;
    ExpectVictimsUntouched();
}

TEST_F(HostileStore, NumberedPicturesSkipNamesTakenWhateverTheirCase) {
    Put("shortcuts.txt",
        "^ExeLnk|C:\\a\\setup.exe|||A\r\n^ExeLnk|C:\\b\\setup1.exe|||B\r\n"
        "^ExeLnk|C:\\c\\SETUP.EXE|||C\r\n^ExeLnk|C:\\d\\setup.exe|||D\r\n");
    Load();
    EXPECT_EQ(Save(),
              "^ExeLnk|C:\\a\\setup.exe||setup.bmp|A\r\n^ExeLnk|C:\\b\\setup1.exe||setup1.bmp|B\r\n"
              "^ExeLnk|C:\\c\\SETUP.EXE||SETUP2.bmp|C\r\n^ExeLnk|C:\\d\\setup.exe||setup3.bmp|D\r\n");
}

// A folder may carry a picture's name, before or after the program; and none
// may take the place of its level's list file.
TEST_F(HostileStore, PicturesAndFoldersOfOneLevelNeverShareAName) {
    Put("shortcuts.txt",
        "^Folder|setup.bmp\r\n^ExeLnk|C:\\a\\setup.exe|||A\r\n^ExeLnk|C:\\b\\tool.exe|||B\r\n"
        "^Folder|TOOL.bmp\r\n^Folder|shortcuts.txt\r\n");
    for (const char* sub : {"setup.bmp", "TOOL.bmp", "shortcuts.txt"}) rztest::MakeDir(data + "shortcuts\\" + sub);
    ASSERT_NO_THROW(Load());
    ASSERT_EQ(logged.size(), 1u);
    EXPECT_NE(logged[0].find("\"shortcuts.txt\""), std::string::npos) << logged[0];
    std::string written;
    ASSERT_NO_THROW(written = Save());
    EXPECT_EQ(written,
              "^Folder|setup.bmp\r\n^ExeLnk|C:\\a\\setup.exe||setup1.bmp|A\r\n"
              "^ExeLnk|C:\\b\\tool.exe||tool1.bmp|B\r\n^Folder|TOOL.bmp\r\n");
    EXPECT_TRUE(rztest::DirExists(data + "out\\TOOL.bmp"));
    EXPECT_TRUE(rztest::FileExists(data + "out\\tool1.bmp"));
}

namespace {
using rztest::U8;

const std::string kMark = "\xEF\xBB\xBF";
const std::string kNames =
    U8(u8"^Folder|Ωmega 😀\r\n"
       u8"^SpeSep|Привет\r\n"
       u8"^ExeLnk|C:\\uni\\Привет.cmd||cmd|Привет\r\n"
       u8"^UnkLnk|C:\\uni\\日本語 メモ.txt|txt|日本語 メモ\r\n"
       u8"^UnkLnk|C:\\Café\\€.txt|txt|Café €\r\n");

struct StoredList {
    const char* what;
    std::string stored, saved;
};
class ListEncodings : public HostileStore, public ::testing::WithParamInterface<StoredList> {};
}  // namespace

TEST_P(ListEncodings, LoadWithoutLossAndSaveAsUtf8WithMark) {
    if (LegacyAnsiCodePage() != 1252) GTEST_SKIP() << "the legacy list is Windows-1252 text";
    Put("shortcuts.txt", GetParam().stored);
    rztest::MakeDir(data + U8(u8"shortcuts\\Ωmega 😀"));
    Load();
    EXPECT_EQ(Save(), GetParam().saved);
    EXPECT_TRUE(logged.empty());
    if (GetParam().saved.find("^Folder") != std::string::npos) {
        // The folder's name reached the file system unchanged.
        EXPECT_NE(::GetFileAttributesW(ToWide(data + U8(u8"out\\Ωmega 😀"), CP_UTF8).c_str()), INVALID_FILE_ATTRIBUTES);
    }
}

INSTANTIATE_TEST_SUITE_P(HostileStore, ListEncodings,
                         ::testing::Values(StoredList{"Utf8WithMark", kMark + kNames, kMark + kNames},
                                           StoredList{"Utf8WithoutMark", kNames, kMark + kNames},
                                           StoredList{"Windows1252OfOlderVersions",
                                                      "^UnkLnk|C:\\Caf\xE9\\\x80.txt|txt|Caf\xE9 \x80\r\n",
                                                      kMark + U8(u8"^UnkLnk|C:\\Café\\€.txt|txt|Café €\r\n")}),
                         [](const ::testing::TestParamInfo<StoredList>& p) { return std::string(p.param.what); });
