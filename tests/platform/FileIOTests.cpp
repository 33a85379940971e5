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
    const struct {
        const char* what;
        std::string path;
        std::wstring wide, exact;
    } cases[] = {
        {"below the limit", "C:\\Rz\\zuvizove.ziz", L"C:\\Rz\\zuvizove.ziz", L"\\\\?\\C:\\Rz\\zuvizove.ziz"},
        {"a name the path rules rewrite", "C:\\Rz\\item_del\\a.", L"C:\\Rz\\item_del\\a.",
         L"\\\\?\\C:\\Rz\\item_del\\a."},
        {"drive", "C:\\" + deep, L"\\\\?\\C:\\" + wideDeep, L"\\\\?\\C:\\" + wideDeep},
        {"UNC", "\\\\server\\share\\" + deep, L"\\\\?\\UNC\\server\\share\\" + wideDeep,
         L"\\\\?\\UNC\\server\\share\\" + wideDeep},
        {"already prefixed", "\\\\?\\C:\\" + deep, L"\\\\?\\C:\\" + wideDeep, L"\\\\?\\C:\\" + wideDeep},
        {"a device", "\\\\.\\pipe\\" + deep, L"\\\\.\\pipe\\" + wideDeep, L"\\\\.\\pipe\\" + wideDeep},
        {"relative", "shortcuts\\" + deep, L"shortcuts\\" + wideDeep, L"shortcuts\\" + wideDeep},
        {"another script", "C:\\" + deep + U8(u8"\\Ωmega 😀"), L"\\\\?\\C:\\" + wideDeep + L"\\\u03A9mega \U0001F600",
         L"\\\\?\\C:\\" + wideDeep + L"\\\u03A9mega \U0001F600"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WidePath(c.path), c.wide) << c.what;
        EXPECT_EQ(ExactWidePath(c.path), c.exact) << c.what;
    }
}

TEST(ReplaceWholeFile, AWriteFailingAtAnyByteLeavesTheOldFileWholeAndNoTemporaryFile) {
    rztest::TempDir dir;
    const std::string path = dir / "zuvizove.ziz";
    const std::string old = "[General Settings]\r\nTaskBar=1\r\n";
    const std::string next = old + "[Misc Settings]\r\nDrawMenuBar=1\r\n";
    rztest::WriteFile(path, old);
    // A run killed before its rename left a part of a temporary file.
    rztest::WriteFile(path + ".tmp", "[Gen");
    for (size_t cut = 0; cut < next.size(); ++cut) {
        WriteWholeFile.Replace([cut](const std::string& p, const std::string& bytes) {
            WriteWholeFile.Real(p, bytes.substr(0, cut));
            ::SetLastError(ERROR_DISK_FULL);
            return false;
        });
        ::SetLastError(0);
        EXPECT_FALSE(ReplaceWholeFile(path, next)) << cut;
        EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_DISK_FULL)) << cut;
        EXPECT_EQ(rztest::ReadFile(path), old) << cut;
        EXPECT_FALSE(rztest::FileExists(path + ".tmp")) << cut;
    }
    WriteWholeFile.Restore();
    EXPECT_TRUE(ReplaceWholeFile(path, next));
    EXPECT_EQ(rztest::ReadFile(path), next);
    EXPECT_FALSE(rztest::FileExists(path + ".tmp"));
}
