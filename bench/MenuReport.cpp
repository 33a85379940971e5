#include "MenuReport.h"

#include <windows.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "BenchChild.h"
#include "BenchSupport.h"
#include "MenuStores.h"
#include "StoreGenerator.h"
#include "support/UcvSysIO.h"

namespace rzbench {

namespace {

std::string Cell(double ms) {
    char b[32];
    std::snprintf(b, sizeof(b), ms < 0 ? "-" : "%.1f", ms);
    return b;
}

struct MenuResult {
    int lines = 0;
    RunFigures f;
};

MenuResult RunMenuCase(int perFolder, int opens, const std::string& scratch) {
    MenuResult r;
    const std::string data = NewDataFolder(scratch, "menu_" + std::to_string(perFolder));
    MenuStore store = GenerateMenuStore(data, perFolder);
    WriteMenuShape(store.shape, data + "shape.txt");
    r.lines = store.lines;
    std::fprintf(stderr, "[menu %d items] loading and opening\n", r.lines);
    r.f = RunChild(ChildRun{"menu", data, data, scratch, opens, 1});
    rz::DeleteFolderTree(data.substr(0, data.size() - 1));
    return r;
}

void PrintMenuRow(const std::string& store, const char* shown, const RunFigures& f, const std::string& part) {
    // Each of ours against the bare openings taken in turn with it.
    const auto mode = [&](const char* name) {
        const double ours = FigureOf(f, (part + name).c_str()), bare = FigureOf(f, (part + "Bare" + name).c_str());
        return std::make_pair(Cell(ours), RatioText(ours, bare, 2));
    };
    const auto [o, or_] = mode("Ours");
    const auto [w, wr] = mode("Own");
    const auto [d, dr] = mode("OwnDark");
    std::printf("%-13s %-16s %7s %7s %6s %7s %6s %7s %6s\n", store.c_str(), shown,
                Cell(FigureOf(f, (part + "Bare").c_str())).c_str(), o.c_str(), or_.c_str(), w.c_str(), wr.c_str(),
                d.c_str(), dr.c_str());
}

void PrintMenu(const std::vector<MenuResult>& results, int opens) {
    std::printf(
        "\nLauncher menu: from the hotkey handler until the menu shows, and from Right on its first\n"
        "entry until that 500-entry folder shows; median of %d openings each, ms. bare = a plain\n"
        "TrackPopupMenu of the same entries (strings only), in the same process as ours; ours in\n"
        "the platform's drawing, then in own drawing with the light and with the dark palette, each\n"
        "ratio against the bare openings taken in turn with it.\n\n",
        opens);
    std::printf("%-13s %-16s %7s %7s %6s %7s %6s %7s %6s\n", "store", "shown", "bare", "ours", "ratio", "light",
                "ratio", "dark", "ratio");
    std::printf("%s\n", std::string(82, '-').c_str());
    for (const MenuResult& r : results) {
        if (r.f.empty()) {
            std::printf("%-13s WARNING: the run failed\n", (std::to_string(r.lines) + " items").c_str());
            continue;
        }
        PrintMenuRow(std::to_string(r.lines) + " items", "top level (43)", r.f, "top");
        PrintMenuRow("", "folder (500)", r.f, "sub");
    }
}

void RunFootprint(const MenuBenchOptions& opt, const std::string& scratch) {
    const std::string empty = NewDataFolder(scratch, "footprint_empty");
    ::CreateDirectoryA((empty + "shortcuts").c_str(), nullptr);
    WriteWholeFile(empty + "shortcuts\\shortcuts.txt", "");
    const std::string loaded = NewDataFolder(scratch, "footprint_" + std::to_string(opt.footprintItems));
    StoreShape shape;
    shape.items = opt.footprintItems;
    GenerateStore(shape, loaded);
    std::fprintf(stderr, "[footprint] start-up, load of %d items, %d openings\n", opt.footprintItems,
                 opt.footprintOpens);
    const RunFigures f = RunChild(ChildRun{"footprint", empty, loaded, scratch, opt.footprintOpens, 1});
    rz::DeleteFolderTree(empty.substr(0, empty.size() - 1));
    rz::DeleteFolderTree(loaded.substr(0, loaded.size() - 1));

    std::printf(
        "\nFootprint, one process: start-up on an empty store, a reload of a %d-item mixed store,\n"
        "then %d openings of the menu and its first folder, half of them in own drawing. GDI and\n"
        "USER objects: GetGuiResources, or where it answers 0 (Wine) the top of the handle table in\n"
        "use; \"after first openings\" is after the first 5 in each drawing mode, which make what is\n"
        "kept for good (fonts, the platform's menu bitmaps).\n\n",
        opt.footprintItems, opt.footprintOpens);
    if (f.empty()) {
        std::printf("WARNING: the footprint run failed\n");
        return;
    }
    std::printf("  private bytes, MB       empty %.1f, after the load %.1f (%d links)\n", FigureOf(f, "privEmpty"),
                FigureOf(f, "privLoaded"), static_cast<int>(FigureOf(f, "links")));
    std::printf("  %-22s %12s %22s %16s\n", "objects", "after load", "after first openings", "after all");
    for (const char* kind : {"GDI", "USER"}) {
        const std::string k = kind[0] == 'G' ? "gdi" : "user";
        const double first = FigureOf(f, (k + "First").c_str()), last = FigureOf(f, (k + "Opened").c_str());
        std::printf("  %-22s %12.0f %22.0f %16.0f   %s\n", (std::string(kind) + " objects").c_str(),
                    FigureOf(f, (k + "Loaded").c_str()), first, last, last <= first ? "flat" : "GREW");
    }
    std::printf("  timers running while idle: %.0f\n", FigureOf(f, "timers"));
}

}  // namespace

void RunMenuBench(const MenuBenchOptions& opt, const std::string& scratch) {
    if (opt.menu) {
        std::vector<MenuResult> results;
        for (int perFolder : {5, 5500}) results.push_back(RunMenuCase(perFolder, opt.opens, scratch));
        PrintMenu(results, opt.opens);
    }
    if (opt.footprint) RunFootprint(opt, scratch);
}

}  // namespace rzbench
