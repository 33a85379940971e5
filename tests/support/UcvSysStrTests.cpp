#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "support/UcvSysStr.h"

using namespace rz;

namespace {

TcvDynStringArray Make(std::initializer_list<const char*> values) {
    TcvDynStringArray a;
    for (const char* v : values) AppendString(a, v);
    return a;
}

}  // namespace

TEST(DynStringArray, IndexOfString_FirstMatchWithinHighest) {
    TcvDynStringArray empty;
    EXPECT_EQ(IndexOfString(empty, empty.High(), ""), -1);

    TcvDynStringArray a = Make({"x", "y", "a", "y", "a"});
    EXPECT_EQ(IndexOfString(a, a.High(), "y"), 1);
    EXPECT_EQ(IndexOfString(a, a.High(), "a"), 2);
    EXPECT_EQ(IndexOfString(a, 0, "y"), -1) << "highest below the first occurrence";
    EXPECT_EQ(IndexOfString(a, 1, "y"), 1);
    EXPECT_EQ(IndexOfString(a, -1, "x"), -1);
    EXPECT_EQ(IndexOfString(a, 100, "a"), 2);
    EXPECT_EQ(IndexOfString(a, a.High(), "A"), -1) << "case-sensitive";
    EXPECT_EQ(IndexOfString(a, a.High(), "y "), -1);

    // Appends after the first look-up keep the earlier occurrence.
    AppendString(a, "x");
    AppendString(a, "new");
    EXPECT_EQ(IndexOfString(a, a.High(), "x"), 0);
    EXPECT_EQ(IndexOfString(a, a.High(), "new"), 6);
    EXPECT_EQ(IndexOfString(a, 5, "new"), -1);

    a.Clear();
    EXPECT_EQ(IndexOfString(a, 10, "x"), -1);
    AppendString(a, "y");
    EXPECT_EQ(IndexOfString(a, a.High(), "y"), 0);
}

TEST(DynStringArray, IndexOfString_FollowsSet) {
    TcvDynStringArray a = Make({"a", "b", "a", "c"});
    ASSERT_EQ(IndexOfString(a, a.High(), "a"), 0);

    a.Set(0, "q");  // the first "a" goes; the later one becomes first
    EXPECT_EQ(IndexOfString(a, a.High(), "a"), 2);
    EXPECT_EQ(IndexOfString(a, 1, "a"), -1);
    EXPECT_EQ(IndexOfString(a, a.High(), "q"), 0);

    a.Set(3, "b");  // a later duplicate does not move the first
    EXPECT_EQ(IndexOfString(a, a.High(), "b"), 1);
    EXPECT_EQ(IndexOfString(a, a.High(), "c"), -1);

    a.Set(1, "c");  // the old first "b" leaves, the one at 3 remains
    EXPECT_EQ(IndexOfString(a, a.High(), "b"), 3);
    EXPECT_EQ(IndexOfString(a, a.High(), "c"), 1);

    a.Set(2, "b");  // set before the current first occurrence
    EXPECT_EQ(IndexOfString(a, a.High(), "b"), 2);
    EXPECT_EQ(IndexOfString(a, a.High(), "a"), -1);

    TcvDynStringArray fresh = Make({"m", "n"});
    fresh.Set(1, "m");  // before any look-up
    EXPECT_EQ(IndexOfString(fresh, fresh.High(), "m"), 0);
    EXPECT_EQ(IndexOfString(fresh, fresh.High(), "n"), -1);
    EXPECT_THROW(fresh.Set(2, "x"), std::out_of_range);
}

// Random appends, sets and look-ups over a small alphabet, against a plain scan.
TEST(DynStringArray, IndexOfString_AgreesWithLinearScan) {
    std::mt19937 rng(12345);
    const std::vector<std::string> alphabet = {"", "a", "b", "c", "d", "A"};
    auto pick = [&] { return alphabet[rng() % alphabet.size()]; };
    TcvDynStringArray a;
    std::vector<std::string> model;
    for (int step = 0; step < 5000; ++step) {
        unsigned op = rng() % 4;
        if (op == 0 || model.empty()) {
            std::string v = pick();
            AppendString(a, v);
            model.push_back(v);
        } else if (op == 1) {
            int i = static_cast<int>(rng() % model.size());
            std::string v = pick();
            a.Set(i, v);
            model[i] = v;
        } else {
            int highest = static_cast<int>(rng() % (model.size() + 2)) - 1;
            std::string v = pick();
            int expected = -1;
            for (int i = 0; i <= highest && i < static_cast<int>(model.size()); ++i) {
                if (model[i] == v) {
                    expected = i;
                    break;
                }
            }
            ASSERT_EQ(IndexOfString(a, highest, v), expected) << "step " << step;
        }
    }
}

TEST(StringCutting, LastPos) {
    EXPECT_EQ(LastPos(".", "archive.tar.gz"), 12);
    EXPECT_EQ(LastPos("ab", "abab"), 3);
    EXPECT_EQ(LastPos("aa", "aaa"), 2);
    EXPECT_EQ(LastPos("abc", "ab"), 0);
    EXPECT_EQ(LastPos(".", ""), 0);
    EXPECT_EQ(LastPos(".", "README"), 0);
    EXPECT_EQ(LastPos(".", "."), 1);
    EXPECT_EQ(LastPos("", "abc"), 3);  // an empty sub matches at the last character
}

TEST(StringCutting, NameWithoutExtAndExtWithoutDot) {
    EXPECT_EQ(NameWithoutExt("archive.tar.gz"), "archive.tar");
    EXPECT_EQ(NameWithoutExt("README"), "README");
    EXPECT_EQ(NameWithoutExt(".profile"), "");
    EXPECT_EQ(NameWithoutExt("name."), "name");
    EXPECT_EQ(NameWithoutExt(""), "");

    EXPECT_EQ(ExtWithoutDot(".BMP"), "BMP");
    EXPECT_EQ(ExtWithoutDot("."), "");
    EXPECT_EQ(ExtWithoutDot(""), "");
}

TEST(StringCutting, CaseMappingIsAsciiOnly) {
    EXPECT_EQ(LowerCase("Setup.EXE \xC4"), "setup.exe \xC4");
    EXPECT_EQ(UpperCase("con.txt \xE4"), "CON.TXT \xE4");
}
