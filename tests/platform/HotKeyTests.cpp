#include <gtest/gtest.h>

#include <windows.h>

#include <set>
#include <string>

#include "TestSupport.h"
#include "platform/HotKey.h"

using namespace rz;
using rztest::U8;

TEST(HotKeyAtomName, TheWholePathCountsAndTheNameAlwaysFits) {
    // A name cut at 255 bytes, or none at all past it, gave two copies one id or a key none.
    const std::string deep = "C:\\" + std::string(300, 'd') + "\\";
    const std::string script = "C:\\" + U8(u8"Программы с очень длинным именем папки 😀") + "\\";
    const std::pair<std::string, const char*> cases[] = {
        {"C:\\Tools\\razaveza.exe", ""}, {"C:\\Tools\\razaveza.exe", "|search"},
        {"C:\\Other\\razaveza.exe", ""}, {deep + "a\\razaveza.exe", ""},
        {deep + "b\\razaveza.exe", ""},  {script + script + "razaveza.exe", ""}};
    std::set<std::string> names;
    for (const auto& [path, suffix] : cases) {
        const std::string name = HotKeyAtomName(path, suffix);
        EXPECT_LE(name.size(), 255u) << path;
        EXPECT_TRUE(names.insert(name).second) << "two paths, one name: " << path;
        const ATOM atom = ::GlobalAddAtomA(name.c_str());
        EXPECT_NE(atom, 0) << name;
        if (atom) ::GlobalDeleteAtom(atom);
    }
    EXPECT_EQ(HotKeyAtomName("C:\\TOOLS\\RAZAVEZA.EXE", ""), HotKeyAtomName("c:\\tools\\razaveza.exe", ""));
}
