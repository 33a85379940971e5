// Ranking and folding of the item search: which entries a query finds and
// in what order.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "StoreFixture.h"
#include "items/ItemSearch.h"
#include "items/LauncherSearch.h"

namespace {

struct Entry {
    const char* caption;
    const char* file;
    int depth;
};

struct Case {
    const char* name;
    std::vector<Entry> entries;
    const char* query;
    std::vector<const char*> expected;  // captions, best first
    size_t limit = 50;
};

const std::vector<Entry> kApps = {
    {"My Notes", "notes.exe", 0}, {"Notepad", "np.exe", 2},      {"Keynote", "kn.exe", 0},
    {"Notepad 2", "np2.exe", 1},  {"Banner", "no-te.txt", 0},    {"Bank", "keynotes.lnk", 3},
    {"Monotone", "mon.exe", 0},   {"Tools", "run_notes.bat", 0},
};

const std::vector<Case> kCases = {
    {"caption prefix, word prefix, substring, letters; ties by depth then tree order",
     kApps,
     "note",
     {"Notepad 2", "Notepad", "My Notes", "Tools", "Keynote", "Bank", "Banner", "Monotone"}},
    {"the file name counts as a word of its own", kApps, "np", {"Notepad 2", "Notepad"}},
    {"nothing when nothing matches", kApps, "zz", {}},
    {"an empty query finds nothing", kApps, "", {}},
    {"at most the limit, the best ones", kApps, "note", {"Notepad 2", "Notepad", "My Notes"}, 3},
    {"case is folded both ways", {{"CALC", "", 0}, {"calc", "", 0}}, "cAlC", {"CALC", "calc"}},
    {"accents are folded in captions and queries",
     {{"Résumé 2024", "", 0}, {"Übersicht", "", 0}, {"Straße", "", 0}, {"Cafe", "", 0}},
     "RESUME",
     {"Résumé 2024"}},
    {"an accented query finds plain text", {{"Cafe", "", 0}, {"Café noir", "", 1}}, "CAFÉ", {"Cafe", "Café noir"}},
    {"letters carrying their mark", {{"Straße", "", 0}, {"Encyclopædia", "", 0}}, "ss", {"Straße"}},
    {"beyond Latin letters", {{"ΑΘΗΝΑ", "", 0}, {"Россия", "", 0}}, "россия", {"Россия"}},
    {"a word follows any non-letter", {{"x_report", "", 0}, {"xreport", "", 0}}, "rep", {"x_report", "xreport"}},
    {"a query with a blank",
     {{"Photo Editor", "", 0}, {"Photos Edit", "", 0}},
     "o ed",
     {"Photo Editor", "Photos Edit"}},
};

TEST(ItemSearch, RanksAndFolds) {
    for (const Case& c : kCases) {
        rz::SearchIndex index;
        for (const Entry& e : c.entries) index.Add(e.caption, e.file, e.depth);
        std::vector<std::string> got, want(c.expected.begin(), c.expected.end());
        for (int i : index.Find(c.query, c.limit)) got.push_back(c.entries[i].caption);
        EXPECT_EQ(got, want) << c.name;
    }
}

TEST(ItemSearch, FileNameOfPath) {
    const std::pair<const char*, const char*> cases[] = {
        {"C:\\Tools\\np.exe", "np.exe"},
        {"C:\\Data\\Archive 1\\", "Archive 1"},
        {"D:x.txt", "x.txt"},
        {"plain", "plain"},
        {"", ""},
    };
    for (const auto& [path, name] : cases) EXPECT_EQ(rz::FileNameOfPath(path), name) << path;
}

class LauncherSearchTest : public rztest::StoreTest {
protected:
    std::vector<std::string> Found(const std::string& query) {
        if (!search) search = std::make_unique<rz::LauncherSearch>(*parts);
        std::vector<std::string> out;
        for (const auto& r : search->Find(query, 10)) out.push_back(r.entry->Caption + " in [" + *r.folder + "]");
        return out;
    }
    std::unique_ptr<rz::LauncherSearch> search;
};

// The index holds the menu's own entries: a reload replaces them all.
TEST_F(LauncherSearchTest, IndexesTheUserItemsAndIsMadeAgainAfterAReload) {
    WriteList("shortcuts.txt", "^UnkLnk|C:\\a\\old.txt|txt|Old notes\r\n^SpeSep|Notes\r\n");
    Load();
    EXPECT_EQ(Found("notes"), std::vector<std::string>{"Old notes in []"});
    EXPECT_TRUE(Found("close").empty()) << "the program's own entries are no items";

    WriteList("shortcuts.txt", "^Folder|Wo&rk\r\n");
    rztest::MakeDir(dir / "shortcuts\\Wo&rk");
    WriteList("Wo&rk\\shortcuts.txt", "^UnkLnk|C:\\b\\||Notes folder\r\n");
    TVItems.Clear();
    parts->PMItems.Items().Clear();
    parts->PMItems.Items().Tag = 0;
    store->tables.Clear();
    Load();
    EXPECT_EQ(Found("notes"), std::vector<std::string>{"Notes folder in [Work]"});
    EXPECT_EQ(Found("b"), std::vector<std::string>{"Notes folder in [Work]"}) << "a directory's own name";
}

}  // namespace
