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
