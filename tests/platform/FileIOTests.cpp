#include <gtest/gtest.h>

#include <windows.h>

#include <string>

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
