#include <gtest/gtest.h>

#include <windows.h>

#include "TestSupport.h"
#include "support/FileNames.h"

using namespace rz;

namespace {
// Text in the program's code page.
std::string Ansi(const wchar_t* text) {
    char buffer[32] = {};
    ::WideCharToMultiByte(CP_ACP, 0, text, -1, buffer, sizeof(buffer), nullptr, nullptr);
    return buffer;
}
}  // namespace

TEST(FileNames, TheStoredNameAndTheComparisonFollowTheFileSystem) {
    EXPECT_EQ(StoredFileName("Games. . "), "Games");
    EXPECT_EQ(StoredFileName("..."), "");
    EXPECT_EQ(StoredFileName(" a.b"), " a.b");
    EXPECT_TRUE(SameFileName("Games", "GAMES"));
    EXPECT_TRUE(SameFileName("a", "a."));
    EXPECT_TRUE(SameFileName("Tools", "tools .."));
    EXPECT_FALSE(SameFileName("a", " a"));
    EXPECT_FALSE(SameFileName("a.b", "ab"));
    EXPECT_TRUE(SameFileName(Ansi(L"\u00e4rger"), Ansi(L"\u00c4RGER")));

    // The file system agrees: a second folder of the same name is refused, a
    // folder of another name is made.
    rztest::TempDir dir;
    const std::pair<std::string, std::string> pairs[] = {
        {"Games", "GAMES"},
        {"a", "a."},
        {"Tools", "Tools  "},
        {Ansi(L"\u00e4rger"), Ansi(L"\u00c4RGER")},
        {"x", " x"},
        {"a.b", "ab"},
        {Ansi(L"\u043f\u0440\u0438\u0432\u0435\u0442"), Ansi(L"\u041f\u0420\u0418\u0412\u0415\u0422")},
        {Ansi(L"\u03c9mega"), Ansi(L"\u03a9MEGA")},
        {Ansi(L"\u03a9hm"), "Ohm"}};
    for (const auto& [first, second] : pairs) {
        ASSERT_TRUE(::CreateDirectoryA((dir / first).c_str(), nullptr)) << first;
        bool madeSecond = ::CreateDirectoryA((dir / second).c_str(), nullptr) != FALSE;
        EXPECT_EQ(madeSecond, !SameFileName(first, second)) << "\"" << first << "\" \"" << second << "\"";
    }
}

TEST(FileNames, PlainNamesGiveAnEntryOfTheirOwn) {
    for (const char* ok :
         {"Games", "My Tools", "a.b", ".hidden", " lead", "trail ", "COM", "CON1", "nully", "LPT", "\xE9t\xE9"})
        EXPECT_TRUE(IsPlainFileName(ok)) << ok;
    for (const char* bad : {"",        ".",    "..",    "...",      " . ", "a\\b", "a/b",       "C:",
                            "a*",      "a?b",  "\"q\"", "<",        ">",   "a|b",  "tab\there", "con",
                            "Con.txt", "NUL ", "com1",  "LPT9.log", "aux", "com0", "LPT\xB9",   "com\xC2\xB2.txt"})
        EXPECT_FALSE(IsPlainFileName(bad)) << bad;
    EXPECT_FALSE(IsPlainFileName(std::string("nul\0x", 5)));
    EXPECT_TRUE(IsDeviceName("prn.anything"));
    EXPECT_FALSE(IsDeviceName("prnx"));
}
