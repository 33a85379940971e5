#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "TestSupport.h"
#include "platform/FileIO.h"

using namespace rz;
using rztest::U8;

TEST(WidePath, LongPathsTakeTheLiftedFormAndShortOnesStayAsTheyAre) {
    const std::string deep(300, 'd');
    const std::wstring wideDeep(300, L'd');
    // The exact form is the lifted one at any length: given only where it differs.
    const struct {
        const char* what;
        std::string path;
        std::wstring wide, exact = {};
    } cases[] = {
        {"below the limit", "C:\\Rz\\zuvizove.ziz", L"C:\\Rz\\zuvizove.ziz", L"\\\\?\\C:\\Rz\\zuvizove.ziz"},
        {"a name the path rules rewrite", "C:\\Rz\\a.", L"C:\\Rz\\a.", L"\\\\?\\C:\\Rz\\a."},
        {"drive", "C:\\" + deep, L"\\\\?\\C:\\" + wideDeep},
        {"UNC", "\\\\server\\share\\" + deep, L"\\\\?\\UNC\\server\\share\\" + wideDeep},
        {"already prefixed", "\\\\?\\C:\\" + deep, L"\\\\?\\C:\\" + wideDeep},
        {"a device", "\\\\.\\pipe\\" + deep, L"\\\\.\\pipe\\" + wideDeep},
        {"relative", "shortcuts\\" + deep, L"shortcuts\\" + wideDeep},
        {"another script", "C:\\" + deep + U8(u8"\\Ωmega 😀"), L"\\\\?\\C:\\" + wideDeep + L"\\\u03A9mega \U0001F600"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WidePath(c.path), c.wide) << c.what;
        EXPECT_EQ(ExactWidePath(c.path), c.exact.empty() ? c.wide : c.exact) << c.what;
    }
}

TEST(ReplaceWholeFile, NeverTouchesAnotherFileAndAKillBeforeTheRenameLeavesTheOldOneWhole) {
    rztest::TempDir dir;
    const std::string file = dir / "launches.txt";
    rztest::WriteFile(file, "old");
    // The names a fixed temporary name would have taken are the user's.
    rztest::WriteFile(dir / "launches.txt.tmp", "mine");
    rztest::WriteFile(dir / "launches.txt.razaveza-tmp.bak", "mine too");
    std::string temporary;
    BeforeReplacing.Replace([&](const std::string& path) {
        temporary = path;
        // Written whole and flushed before the rename, beside the file.
        EXPECT_EQ(rztest::ReadFile(path), "new");
        EXPECT_EQ(rztest::ReadFile(file), "old");
        return false;  // killed here
    });
    EXPECT_FALSE(ReplaceWholeFile(file, "new"));
    BeforeReplacing.Restore();
    EXPECT_EQ(rztest::ReadFile(file), "old");
    ASSERT_TRUE(rztest::FileExists(temporary));
    EXPECT_EQ(temporary.rfind(dir.Path(), 0), 0u) << temporary;

    // The next start removes what the kill left, and nothing else.
    EXPECT_EQ(RemoveReplaceLeftovers(dir.Path()), 1);
    EXPECT_FALSE(rztest::FileExists(temporary));
    EXPECT_EQ(rztest::ReadFile(dir / "launches.txt.tmp"), "mine");
    EXPECT_EQ(rztest::ReadFile(dir / "launches.txt.razaveza-tmp.bak"), "mine too");

    // Asked just before the rename, a file changed meanwhile is left to its writer.
    EXPECT_FALSE(ReplaceWholeFile(file, "new", [] { return false; }));
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_RETRY));
    EXPECT_TRUE(ReplaceWholeFile(file, "new", [] { return true; }));
    EXPECT_EQ(rztest::ReadFile(file), "new");
    // A folder that takes no new file: the old one stays, and the reason is told.
    EXPECT_FALSE(ReplaceWholeFile(dir / "gone\\launches.txt", "x"));
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    EXPECT_EQ(RemoveReplaceLeftovers(dir.Path()), 0);
}

TEST(WriteRecord, StampsAreTheFilesOwnAndAFileThatCameFirstIsSetAside) {
    rztest::TempDir dir;
    const std::string store = dir / "store";
    rztest::MakeDir(dir / "aside");
    rztest::MakeDir(dir / "aside\\sub");
    rztest::WriteFile(dir / "aside\\sub\\shortcuts.txt", "earlier");
    WriteRecord record(store + "\\", dir / "aside\\");
    ASSERT_TRUE(CreateFolder(store));
    rztest::MakeDir(store + "\\sub");
    ASSERT_TRUE(CreateFolder(store + "\\sub")) << "made meanwhile by someone else";
    for (const char* name : {"\\shortcuts.txt", "\\sub\\shortcuts.txt"}) {
        rztest::WriteFile(store + name, "theirs");
        ASSERT_TRUE(WriteWholeFile(store + name, "ours"));
        EXPECT_EQ(rztest::ReadFile(store + name), "ours");
    }
    ASSERT_TRUE(WriteWholeFile(store + "\\a.bmp", "picture"));
    const std::vector<std::string> aside = {dir / "aside\\shortcuts.txt",
                                            dir / "aside\\sub\\shortcuts (conflicted copy).txt"};
    EXPECT_EQ(record.SetAside(), aside);
    for (const std::string& file : aside) EXPECT_EQ(rztest::ReadFile(file), "theirs");
    EXPECT_EQ(rztest::ReadFile(dir / "aside\\sub\\shortcuts.txt"), "earlier");
    ASSERT_EQ(record.Entries().size(), 5u);
    EXPECT_TRUE(record.Entries()[0].folder);
    for (size_t i = 2; i < 5; ++i) {
        FileStamp onDisk;
        ASSERT_TRUE(StampOf(record.Entries()[i].path, onDisk));
        EXPECT_EQ(record.Entries()[i].stamp, onDisk) << record.Entries()[i].path;
    }
}
