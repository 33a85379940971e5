#include "AppFixture.h"
#include "core/ErrorLog.h"
#include "app/InstanceGuard.h"
#include "dialogs/form_about.h"
#include "dialogs/form_config.h"
#include "platform/FileIO.h"
#include "platform/Handles.h"

using namespace rz;
using rztest::AppTest;

namespace {
const std::string kLive = "^SpeSep|live\r\n";
const std::string kBackup = "^SpeSep|backup\r\n^NorSep|\r\n";
}  // namespace

TEST_F(AppTest, FirstStartCreatesTheStoreAndHoldsOnlyTheFixedTail) {
    StartUp();
    EXPECT_TRUE(rztest::DirExists(dir / "shortcuts"));
    EXPECT_TRUE(boxes.empty());
    EXPECT_TRUE(TopCaptions().empty());
    EXPECT_EQ(FormItems().PMItems.Items().Count(), 3);
    EXPECT_EQ(App.dataFolder, dir.Path());
    EXPECT_EQ(App.itemsTitle, "Corvane Razaveza - Manage Items");
    EXPECT_EQ(App.configTitle, "Corvane Razaveza - Preferences");
    EXPECT_EQ(App.aboutTitle, "Corvane Razaveza - About");
    EXPECT_EQ(FormAbout().LabelVer.Caption(), "Corvane Razaveza version 1.42 for Windows");
    EXPECT_FALSE(FormConfig().CmBoxFontName.Items().empty());
    EXPECT_EQ(Application.Title(), "Corvane Razaveza");
    EXPECT_EQ(PreparedText(kNoticeBackup), BackupQuestionText(dir.Path()));
}

TEST_F(AppTest, BackupQuestionYesRestoresTheBackup) {
    WriteStore("shortcuts", kLive);
    WriteStore("item_bak", kBackup);
    answer = IDYES;
    StartUp();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, BackupQuestionText(dir.Path()));
    EXPECT_EQ(boxes[0].caption, "Warning");
    EXPECT_EQ(boxes[0].flags & (MB_TYPEMASK | MB_ICONMASK), UINT(MB_YESNOCANCEL | MB_ICONWARNING));
    EXPECT_FALSE(rztest::DirExists(dir / "item_bak"));
    EXPECT_EQ(rztest::ReadFile(dir / "shortcuts\\shortcuts.txt"), kBackup);
    EXPECT_EQ(TopCaptions(), (std::vector<std::string>{"backup", "-"}));
    EXPECT_FALSE(rztest::DirExists(dir / "item_del"));
    EXPECT_FALSE(Application.Terminated());
}

TEST_F(AppTest, BackupQuestionNoDeletesTheBackup) {
    WriteStore("shortcuts", kLive);
    WriteStore("item_bak", kBackup);
    rztest::MakeDir(dir / "item_bak\\Sub");
    rztest::WriteFile(dir / "item_bak\\Sub\\x.bmp", "x");
    answer = IDNO;
    StartUp();
    EXPECT_EQ(boxes.size(), 1u);
    EXPECT_FALSE(rztest::DirExists(dir / "item_bak"));
    EXPECT_FALSE(rztest::DirExists(dir / "item_del"));
    EXPECT_EQ(TopCaptions(), (std::vector<std::string>{"live"}));
}

TEST_F(AppTest, OnlyFoldersTheProgramSetAsideAreDeletedAtStart) {
    WriteStore("shortcuts", kLive);
    // What a save or a restore killed while deleting had set aside, marked as such.
    WriteStore("item_del", kBackup);
    WriteStore("item_del\\Sub", kBackup);
    WriteStore("item_del4", kBackup);
    rztest::WriteFile(dir / "item_del\\razaveza.discard", "");
    rztest::WriteFile(dir / "item_del4\\razaveza.discard", "");
    // A folder of the user's that only has such a name.
    WriteStore("item_del2", kBackup);
    // A marked one that cannot go yet: one log line, and it is tried again.
    WriteStore("item_del7", kBackup);
    rztest::WriteFile(dir / "item_del7\\razaveza.discard", "");
    HANDLE held =
        ::CreateFileA((dir / "item_del7\\shortcuts.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    StartUp();
    ::CloseHandle(held);
    EXPECT_TRUE(boxes.empty());
    EXPECT_FALSE(rztest::DirExists(dir / "item_del"));
    EXPECT_FALSE(rztest::DirExists(dir / "item_del4"));
    EXPECT_EQ(rztest::ReadFile(dir / "item_del2\\shortcuts.txt"), kBackup);
    EXPECT_TRUE(rztest::FileExists(dir / "item_del7\\razaveza.discard"));
    const std::string log = rztest::ReadFile(dir / "errorlog.txt");
    EXPECT_NE(log.find("item_del7"), std::string::npos) << log;
    EXPECT_EQ(TopCaptions(), (std::vector<std::string>{"live"}));

    DestroyForms();
    CreateForms();
    StartUp();
    EXPECT_FALSE(rztest::DirExists(dir / "item_del7"));
    EXPECT_TRUE(rztest::DirExists(dir / "item_del2"));
}

TEST_F(AppTest, RegressionDiscardedNamesTheSystemRewritesAreDeleted) {
    // "a." and "COM1." lose their dot and "aux" and "nul.bmp" name devices,
    // unless reached by the "\\?\" form: the folder stayed, once unmarked.
    const std::string discard = dir / "item_del3";
    WriteStore("item_del3", kBackup);
    rztest::WriteFile(discard + "\\razaveza.discard", "");
    for (const char* name : {"\\a.", "\\a.\\COM1."})
        ASSERT_TRUE(::CreateDirectoryW(ExactWidePath(discard + name).c_str(), nullptr)) << name;
    for (const char* name : {"\\a.\\aux", "\\aux", "\\COM1.", "\\nul.bmp"}) {
        const std::wstring path = ExactWidePath(discard + name);
        ASSERT_TRUE(OwnedFile(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr))) << name;
    }
    WriteStore("shortcuts", kLive);
    StartUp();
    EXPECT_EQ(::GetFileAttributesW(ExactWidePath(discard).c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(TopCaptions(), (std::vector<std::string>{"live"}));
}

TEST_F(AppTest, BackupQuestionCancelEndsWithoutTouchingEitherFolder) {
    WriteStore("shortcuts", kLive);
    WriteStore("item_bak", kBackup);
    answer = IDCANCEL;
    StartUp();
    EXPECT_TRUE(Application.Terminated());
    EXPECT_EQ(rztest::ReadFile(dir / "shortcuts\\shortcuts.txt"), kLive);
    EXPECT_EQ(rztest::ReadFile(dir / "item_bak\\shortcuts.txt"), kBackup);
    EXPECT_TRUE(TopCaptions().empty());
    EXPECT_EQ(FormItems().TVUndo.Count(), 0);
}

TEST_F(AppTest, ReloadRebuildsTreeMenuIdsAndIconsFromDisk) {
    rztest::WriteFile(dir / "a.exe", "");
    WriteStore("shortcuts", "^UnkLnk|C:\\x.txt|txt|Old text\r\n^ExeLnk|" + dir.Path() + "a.exe||a.bmp|A\r\n");
    rz::TBitmap picture(16, 16);
    ASSERT_TRUE(picture.SaveToFile(dir / "shortcuts\\a.bmp"));
    StartUp();
    ASSERT_EQ(TopCaptions(), (std::vector<std::string>{"Old text", "A"}));
    ItemStore& store = FormItems().store;
    EXPECT_EQ(store.tables.nextItemId, 2);
    EXPECT_EQ(FormItems().ILAllPublicPM.Count(), 15 + 6 + 1);
    // The manager added two icons since.
    FormItems().ILAllPublicPM.AddIcon(::LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION)));
    FormItems().ILAllPublicTV.AddIcon(::LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION)));
    FormItems().TVItems.Tag = 1;

    rztest::WriteFile(dir / "shortcuts\\shortcuts.txt", "^UnkLnk|C:\\y.doc|doc|New doc\r\n^NorSep|\r\n");
    ReloadItems();
    EXPECT_EQ(TopCaptions(), (std::vector<std::string>{"New doc", "-"}));
    EXPECT_EQ(store.tables.nextItemId, 1);
    EXPECT_EQ(store.tables.PathOf(0), "C:\\y.doc");
    EXPECT_EQ(store.icons.ItemIconCount(), 0);
    EXPECT_EQ(FormItems().TVItems.Tag, 0);
    // doc + the five program types, no item icons, no manager icons.
    EXPECT_EQ(FormItems().ILAllPublicPM.Count(), 15 + 6);
    EXPECT_EQ(FormItems().ILAllPublicTV.Count(), 15 + 6);
    EXPECT_EQ(FormItems().PMItems.Items().Items(0)->ImageIndex, 12);
    EXPECT_EQ(FormItems().TVUndo.Count(), FormItems().TVItems.Count());
}

TEST_F(AppTest, ShutDownEndsTheProgram) {
    StartUp();
    FormItems().PMItems.Items().Items(2)->OnClick(FormItems().PMItems.Items().Items(2));
    EXPECT_TRUE(Application.Terminated());
}

TEST(InstanceGuardTest, OnlyTheFirstHolderStartsAndTheMappingHoldsItsWindow) {
    const char* name = "rz-test-guard-{4B7C3B0E-1A2B-4C5D-9E8F-0A1B2C3D4E5F}";
    InstanceGuard first, second;
    HWND window = reinterpret_cast<HWND>(0x12345678);
    ASSERT_TRUE(first.Acquire(window, name));
    EXPECT_FALSE(second.Acquire(nullptr, name));
    EXPECT_FALSE(second.Held());
    {
        rz::unique_handle_kernel m(::OpenFileMappingA(FILE_MAP_READ, FALSE, name));
        ASSERT_TRUE(m);
        rz::unique_view v(::MapViewOfFile(m.get(), FILE_MAP_READ, 0, 0, 4));
        ASSERT_TRUE(v);
        EXPECT_EQ(*static_cast<const uint32_t*>(v.get()), 0x12345678u);
    }
    first.Release();
    EXPECT_TRUE(second.Acquire(nullptr, name));
}
