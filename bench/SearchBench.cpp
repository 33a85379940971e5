#include "SearchBench.h"

#include <cstdint>
#include <cstdio>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "items/ItemSearch.h"

namespace rzbench {

namespace {

// Words of the kind people give their launch items, some beyond ASCII.
const char* const kWords[] = {"Photo",   "Editor", "Notes",    "Backup",   "Terminal", "Calculator", "Report", "Draft",
                              "Music",   "Player", "Invoice",  "Archive",  "Résumé",   "Übersicht",  "Mail",   "Chat",
                              "Project", "Budget", "Scanner",  "Viewer",   "Setup",    "Tools",      "Game",   "Map",
                              "Server",  "Client", "Database", "Diagramm", "Café",     "Journal",    "Paint",  "Sync"};
const char* const kExtensions[] = {".exe", ".txt", ".docx", ".pdf", ".lnk", ".bat", ".xlsx", ""};

struct Item {
    std::string caption, file;
    int depth;
};

std::vector<Item> GenerateItems(int n) {
    std::mt19937 random(4711);
    auto pick = [&](size_t count) { return static_cast<size_t>(random() % count); };
    std::vector<Item> items;
    items.reserve(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        std::string caption = kWords[pick(std::size(kWords))];
        caption += std::string(" ") + kWords[pick(std::size(kWords))];
        if (pick(3) == 0) caption += " " + std::to_string(2000 + pick(30));
        std::string file = std::string(kWords[pick(std::size(kWords))]) + "_" + std::to_string(i) +
                           kExtensions[pick(std::size(kExtensions))];
        items.push_back({caption, file, static_cast<int>(pick(5))});
    }
    return items;
}

// What a user types, each seen key by key: words in either order, letters
// in order, and typos that only the tolerance finds.
const char* const kQueries[] = {"note", "photo ed", "report 2015", "resume",     "calc",    "sync",
                                "xq",   "tdr",      "ed photo",    "calcualtor", "temrinal"};
// As many items as the launch counts keep, each with some boost.
constexpr int kLaunchedItems = 1000;
constexpr int kRounds = 5;
constexpr size_t kScreenful = 40;

void LowerAscii(std::string& text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
}

// The scan the matcher is measured against: the same captions, lower-cased
// on the way, a substring test, no ranking.
size_t PlainScan(const std::vector<Item>& items, const std::string& query) {
    std::string lowered, q = query;
    LowerAscii(q);
    size_t found = 0;
    for (const Item& item : items) {
        lowered = item.caption;
        LowerAscii(lowered);
        if (lowered.find(q) != std::string::npos) ++found;
    }
    return found;
}

}  // namespace

void RunSearchBench(int n) {
    const std::vector<Item> items = GenerateItems(n);
    Stopwatch building;
    rz::SearchIndex index;
    index.Reserve(items.size());
    for (const Item& item : items) index.Add(item.caption, item.file, item.depth);
    std::fprintf(stderr, "[search %d] index built in %.1f ms\n", n, building.Ms());
    std::mt19937 launches(815);
    for (int i = 0; i < kLaunchedItems; ++i)
        index.SetBoost(static_cast<int>(launches() % static_cast<unsigned>(n)), static_cast<uint16_t>(launches()));

    std::vector<std::string> keys;
    for (const char* query : kQueries)
        for (size_t length = 1; query[length - 1]; ++length) keys.emplace_back(query, length);
    std::vector<double> ours, base;
    size_t sink = 0;
    for (int round = 0; round < kRounds; ++round) {
        Stopwatch w;
        for (const std::string& key : keys) sink += index.Find(key, kScreenful).size();
        ours.push_back(w.Ms() / static_cast<double>(keys.size()));
        Stopwatch b;
        for (const std::string& key : keys) sink += PlainScan(items, key);
        base.push_back(b.Ms() / static_cast<double>(keys.size()));
    }
    const double t = Median(ours), r = t / Median(base);
    std::fprintf(stderr, "[search %d] %zu keys, %zu results\n", n, keys.size(), sink);
    std::printf("\nsearch %d items: %.2f ms per key, %.2fx of a plain substring scan\n", n, t, r);
}

}  // namespace rzbench
