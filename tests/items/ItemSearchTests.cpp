// Ranking and folding of the item search: which entries a query finds and
// in what order.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "StoreFixture.h"
#include "items/ItemSearch.h"
#include "items/LauncherSearch.h"
#include "items/SearchMatch.h"

namespace {

struct Entry {
    const char* caption;
    const char* file;
    int depth;
    uint16_t boost = 0;
    bool own = false;  // one of the program's own entries
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

const std::vector<Entry> kChrome = {{"Chrome", "chrome.exe", 0}};
const std::string kThousandLetters(1000, 'o');

const std::vector<Case> kCases = {
    {"caption prefix, word prefix, substring, letters, typo; ties by depth then tree order",
     kApps,
     "note",
     {"Notepad 2", "Notepad", "My Notes", "Tools", "Keynote", "Bank", "Monotone", "Banner"}},
    {"the file name counts as a word of its own", kApps, "np", {"Notepad 2", "Notepad"}},
    {"file-name prefix below caption", {{"Editor", "notes.exe", 0}, {"Notes", "x", 3}}, "not", {"Notes", "Editor"}},
    {"the extension takes no part", {{"Sales forecast", "Sales forecast.docx", 0}, {"Build", "b.cmd", 0}}, "fox", {}},
    {"letters in order only within the caption", {{"Build", "rebuild_main.cmd", 0}, {"Firm", "", 0}}, "rm", {"Firm"}},
    {"nothing when nothing matches", kApps, "zz", {}},
    {"a thousand letters find nothing", kApps, kThousandLetters.c_str(), {}},
    {"an empty query finds nothing", kApps, " \t\r\n", {}},
    {"at most the limit, the best ones", kApps, "note", {"Notepad 2", "Notepad", "My Notes"}, 3},
    {"case is folded both ways", {{"CALC", "", 0}, {"calc", "", 0}}, "cAlC", {"CALC", "calc"}},
    {"accents are folded in captions and queries",
     {{"Résumé 2024", "", 0}, {"Übersicht", "", 0}, {"Straße", "", 0}, {"Cafe", "", 0}},
     "RESUME",
     {"Résumé 2024"}},
    {"an accented query finds plain text", {{"Cafe", "", 0}, {"Café noir", "", 1}}, "CAFÉ", {"Cafe", "Café noir"}},
    {"letters carrying their mark", {{"Straße", "", 0}, {"Encyclopædia", "", 0}}, "ss", {"Straße"}},
    {"beyond Latin letters", {{"ΑΘΗΝΑ", "", 0}, {"Россия", "", 0}, {"Отчёт", "", 0}}, "россия", {"Россия"}},
    {"letters in order are whole characters, not bytes", {{"Да ¾", "", 0}, {"Дом", "", 0}}, "о", {"Дом"}},
    {"a word follows any non-letter", {{"x_report", "", 0}, {"xreport", "", 0}}, "rep", {"x_report", "xreport"}},
    {"words in any order", {{"Code", "", 0}, {"Visual Studio Code", "", 1}}, "code vis", {"Visual Studio Code"}},
    {"every word must match", {{"Photo Editor", "", 0}, {"Photos Edit", "", 0}}, "o ed zz", {}},
    {"the worst word ranks", {{"Photomed", "", 0}, {"Photo Editor", "", 0}}, "photo ed", {"Photo Editor", "Photomed"}},
    {"letters at word starts before scattered ones",
     {{"Voice Mosaic", "", 0}, {"Visual Studio Code", "", 1}, {"Vista Scanner", "", 2}},
     "vsc",
     {"Visual Studio Code", "Vista Scanner", "Voice Mosaic"}},
    {"control characters and an emoji in the query",
     {{"Party \U0001F600 time", "", 0}, {"Party", "", 0}},
     "\x01party\r\n\U0001F600\x7F",
     {"Party \U0001F600 time"}},
    {"a swap is one typo, ranked below every exact match",
     {{"Chrome", "x.exe", 0}, {"Chorme notes", "", 2}, {"Chromium", "", 1}},
     "chorme",
     {"Chorme notes", "Chrome"}},
    {"a letter changed", kChrome, "chrxme", {"Chrome"}},
    {"a letter added", kChrome, "chroome", {"Chrome"}},
    {"a letter left out, in the file name", {{"Browser", "chrome.exe", 0}}, "chrme", {"Browser"}},
    {"a typo at the first letter", kChrome, "xhrome", {"Chrome"}},
    {"no typo in a word of three letters", kChrome, "cjr", {}},
    {"two typos are too many", kChrome, "chxrmx", {}},
    {"two letters changed side by side are two typos", kChrome, "chxxme", {}},
    {"a swap and a change are two typos", kChrome, "hcrxme", {}},
    {"a typo only from a word start", {{"Superchrome", "", 0}}, "chrmoe", {}},
    {"launched items first among matches of one kind",
     {{"Notepad", "", 0}, {"Notes", "", 1, 200}, {"Notebook", "", 0, 900}},
     "note",
     {"Notebook", "Notes", "Notepad"}},
    {"launched word prefix first", {{"Notepad", "", 0}, {"My Notes", "", 0, 50}}, "note", {"My Notes", "Notepad"}},
    {"never over a better kind", {{"Keynote", "", 0, 60000}, {"Notepad", "", 3}}, "note", {"Notepad", "Keynote"}},
    {"nor a typo over an exact match", {{"Chrome", "", 0, 60000}, {"Chrmoe", "", 0}}, "chrmoe", {"Chrmoe", "Chrome"}},
    {"the program's own entries after the user's on a tie, however deep",
     {{"Preferences...", "", 1, 0, true}, {"Prefetch", "", 4}},
     "pref",
     {"Prefetch", "Preferences..."}},
    {"but not after a worse match", {{"My prefs", "", 0}, {"Preferences...", "", 1, 0, true}}, "pref",
     {"Preferences...", "My prefs"}},
};

TEST(ItemSearch, RanksAndFolds) {
    for (const Case& c : kCases) {
        rz::SearchIndex index;
        for (const Entry& e : c.entries) index.Add(e.caption, e.file, e.depth, e.own);
        for (size_t i = 0; i < c.entries.size(); ++i) index.SetBoost(static_cast<int>(i), c.entries[i].boost);
        std::vector<std::string> got, want(c.expected.begin(), c.expected.end());
        for (int i : index.Find(c.query, c.limit)) got.push_back(c.entries[i].caption);
        EXPECT_EQ(got, want) << c.name;
    }
}

// The letters the list marks: those the ranking found, in the caption as shown.
TEST(ItemSearch, MatchedPartsMarkTheCaptionAsShown) {
    const struct {
        const char *caption, *query;
        std::vector<std::string> marked;
    } cases[] = {
        {"Visual Studio Code", "vsc", {"V", "S", "C"}},
        {"Visual Studio Code", "code vis", {"Vis", "Code"}},
        {"Photo Editor", "o ed", {"o", "Ed"}},
        {"x_report 2 rep", "rep", {"rep"}},
        {"Café crème", "CREME", {"crème"}},
        {"Straße", "strasse", {"Straße"}},
        {"Отчёт за май", "май отч", {"Отч", "май"}},
        {"Chrome beta", "chorme", {"Chrome"}},
        {"Chrome beta", "chrme", {"Chr", "me"}},
        {"Chrome beta", "chrmoe", {"Chrome"}},
        {"Notes", "np", {}},
        {"Notes", "", {}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> marked;
        const std::string caption = c.caption;
        for (const auto& [start, end] : rz::MatchedParts(caption, c.query))
            marked.push_back(caption.substr(start, end - start));
        EXPECT_EQ(marked, c.marked) << c.caption << " / " << c.query;
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
    EXPECT_TRUE(Found("close").empty()) << "Close and the Kit itself are not for finding";
    EXPECT_EQ(Found("prefer"), std::vector<std::string>{"Preferences... in [Razaveza Kit]"});
    EXPECT_EQ(Found("manage"), std::vector<std::string>{"Manage Items... in [Razaveza Kit]"});

    WriteList("shortcuts.txt", "^Folder|Wo&rk\r\n");
    rztest::MakeDir(dir / "shortcuts\\Wo&rk");
    WriteList("Wo&rk\\shortcuts.txt", "^UnkLnk|C:\\b\\||Notes folder\r\n");
    TVItems.Clear();
    parts->PMItems.Items().Clear();
    parts->PMItems.Items().Tag = 0;
    store->tables.Clear();
    Load();
    EXPECT_EQ(Found("notes"), std::vector<std::string>{"Notes folder in [Work]"});
    EXPECT_EQ(Found("b"), (std::vector<std::string>{"Notes folder in [Work]", "Visit Website in [Razaveza Kit]",
                                                    "About... in [Razaveza Kit]"}))
        << "a directory's own name first";
    EXPECT_EQ(Found("work"), std::vector<std::string>{"Wo&rk in []"}) << "a folder is found";
    ASSERT_FALSE(search->Find("work", 1).empty());
    EXPECT_EQ(search->Find("work", 1)[0].kind, rz::LauncherSearch::Kind::Folder);
}

}  // namespace
