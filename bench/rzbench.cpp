// Benchmark of the item store: load, parameter look-up, write and memory of
// generated stores, side by side with what the bare platform costs for the
// same work. A measuring tool: it never fails on a time.

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "BenchChild.h"
#include "BenchSupport.h"
#include "MenuReport.h"
#include "PlatformBaseline.h"
#include "StartupBench.h"
#include "EditBench.h"
#include "ImportBench.h"
#include "SearchBench.h"
#include "StoreGenerator.h"
#include "support/UcvSysIO.h"

namespace rzbench {

namespace {

// Without an explicit --runs, a case is not repeated once it has taken this
// long: the default run stays within minutes.
constexpr double kCaseBudgetMs = 45000;

struct Options {
    std::vector<int> sizes{1000, 10000, 50000};
    std::vector<int> pictureSizes{1000, 10000};
    std::vector<int> scriptSizes{50000};  // mixed stores with names in other scripts
    int runs = 3;
    bool runsGiven = false;
    double pictureShare = -1;  // of the mixed stores' executables; -1: the generator's default
    bool keep = false;
    int searchItems = 50000;  // 0: no search case
    int editItems = 50000;    // 0: no edit case
    int importLinks = 3600;   // 0: no import case
    MenuBenchOptions menu;
    StartupOptions startup;
};

struct Figure {
    std::vector<double> ours, base;
    double Ours() const { return ours.empty() ? -1 : Median(ours); }
    double Base() const { return base.empty() ? -1 : Median(base); }
};

struct CaseResult {
    std::string kind;  // "mixed", "exe+pic" or "scripts"
    int n = 0;
    GeneratedStore store;
    Figure load, prepare, pass1, pass2, lookup, write;
    Figure wsAfter, privAfter, growth;  // MB; growth: private bytes added by the load
    int runs = 0;
    std::string warnings;
};

void Add(std::vector<double>& to, const RunFigures& f, const char* key) {
    auto it = f.find(key);
    if (it != f.end()) to.push_back(it->second);
}

void TakeOurs(CaseResult& r, const RunFigures& f) {
    if (f.empty()) {
        r.warnings += " a run of ours failed;";
        return;
    }
    Add(r.load.ours, f, "load");
    Add(r.prepare.ours, f, "prepare");
    Add(r.pass1.ours, f, "pass1");
    Add(r.pass2.ours, f, "pass2");
    Add(r.lookup.ours, f, "lookup");
    Add(r.lookup.base, f, "lookupBase");
    Add(r.write.ours, f, "write");
    Add(r.wsAfter.ours, f, "wsAfter");
    Add(r.privAfter.ours, f, "privAfter");
    r.growth.ours.push_back(FigureOf(f, "privAfter") - FigureOf(f, "privBefore"));
    if (FigureOf(f, "links") != r.store.links)
        r.warnings += " loaded " + std::to_string(static_cast<int>(FigureOf(f, "links"))) + " links of " +
                      std::to_string(r.store.links) + ";";
}

void TakeBase(CaseResult& r, const RunFigures& f) {
    if (f.empty()) {
        r.warnings += " a baseline run failed;";
        return;
    }
    Add(r.load.base, f, "load");
    Add(r.wsAfter.base, f, "wsAfter");
    Add(r.privAfter.base, f, "privAfter");
    r.growth.base.push_back(FigureOf(f, "privAfter") - FigureOf(f, "privBefore"));
    if (FigureOf(f, "entries") != r.store.lines)
        r.warnings += " baseline read " + std::to_string(static_cast<int>(FigureOf(f, "entries"))) + " entries;";
}

double TimeBaselineWrite(const GeneratedStore& store, const std::string& scratch) {
    std::string out = scratch + "out_base";
    rz::DeleteFolderTree(out);
    ::CreateDirectoryA(out.c_str(), nullptr);
    Stopwatch w;
    PlatformBaseline::Write(store, out + "\\");
    double ms = w.Ms();
    rz::DeleteFolderTree(out);
    return ms;
}

StoreShape SpecFor(const std::string& kind, int n, const Options& opt) {
    StoreShape shape;
    shape.items = n;
    if (opt.pictureShare >= 0) shape.pictureShare = opt.pictureShare;
    // A store in other scripts is the mixed store of that size, names apart.
    shape.seed = static_cast<unsigned>(n) * 7919u + (kind == "exe+pic" ? 2 : 1);
    shape.otherScripts = kind == "scripts";
    if (kind == "exe+pic") {
        // Executables only, every one with its picture: each takes an icon slot.
        shape.folders = n / shape.itemsPerFolder;
        shape.items = n + shape.folders;
        shape.exeShare = 1;
        shape.pictureShare = 1;
        shape.scriptShare = shape.separatorShare = shape.directoryShare = shape.setupShare = 0;
    }
    return shape;
}

CaseResult RunCase(const std::string& kind, int n, const Options& opt, const std::string& scratch,
                   const std::string& warm) {
    CaseResult r;
    r.kind = kind;
    r.n = n;
    std::string data = NewDataFolder(scratch, (kind == "exe+pic" ? "pictures_" : kind + "_") + std::to_string(n));
    std::fprintf(stderr, "[%s %d] generating\n", kind.c_str(), n);
    r.store = GenerateStore(SpecFor(kind, n, opt), data);
    ChildRun run{"ours", data, warm, scratch, n, 12345u + static_cast<unsigned>(n)};
    Stopwatch spent;
    for (int i = 0; i < opt.runs; ++i) {
        run.kind = "ours";
        RunFigures ours = RunChild(run);
        TakeOurs(r, ours);
        std::fprintf(stderr, "[%s %d] run %d: load %.0f ms (pass2 %.0f ms)\n", kind.c_str(), n, i + 1,
                     FigureOf(ours, "load"), FigureOf(ours, "pass2"));
        run.kind = "base";
        TakeBase(r, RunChild(run));
        r.write.base.push_back(TimeBaselineWrite(r.store, scratch));
        ++r.runs;
        if (r.load.ours.empty() || (!opt.runsGiven && spent.Ms() > kCaseBudgetMs)) break;
    }
    if (!opt.keep) rz::DeleteFolderTree(data.substr(0, data.size() - 1));
    return r;
}

std::string Ms(double v) {
    if (v < 0) return "-";
    char b[32];
    std::snprintf(b, sizeof(b), v < 10 ? "%.3f" : v < 1000 ? "%.1f" : "%.0f", v);
    return b;
}

std::string MemoryText(const CaseResult& r) {
    if (r.wsAfter.ours.empty()) return "n/a";
    char b[96];
    std::snprintf(b, sizeof(b), "%6.1f / %6.1f   +%.1f vs +%.1f", r.wsAfter.Ours(), r.privAfter.Ours(), r.growth.Ours(),
                  std::max(0.0, r.growth.Base()));
    return b;
}

void PrintRow(const std::string& size, const std::string& op, const Figure& f, int runs, const std::string& mem) {
    std::printf("%-13s %-33s %9s %9s %8s %4d  %s\n", size.c_str(), op.c_str(), Ms(f.Ours()).c_str(),
                Ms(f.Base()).c_str(), RatioText(f.Ours(), f.Base(), 1).c_str(), runs, mem.c_str());
}

void PrintTable(const std::vector<CaseResult>& results) {
    std::printf("\n%-13s %-33s %9s %9s %8s %4s  %s\n", "size", "operation", "ours ms", "base ms", "ratio", "runs",
                "memory MB after load: WS / private, growth ours vs base");
    std::printf("%s\n", std::string(136, '-').c_str());
    for (const CaseResult& r : results) {
        std::string size = (r.kind == "mixed" ? "" : r.kind + " ") + std::to_string(r.n);
        PrintRow(size, "load (prepare+pass1+pass2)", r.load, r.runs, MemoryText(r));
        PrintRow(size, "  prepare base tree", r.prepare, r.runs, "");
        PrintRow(size, "  pass1 (extensions, type icons)", r.pass1, r.runs, "");
        PrintRow(size, "  pass2 (tree, menu, undo copy)", r.pass2, r.runs, "");
        PrintRow(size, "ParamsOfItem x N random ids", r.lookup, r.runs, "");
        PrintRow(size, "write (list files + pictures)", r.write, r.runs, "");
        if (!r.warnings.empty()) std::printf("%-13s WARNING:%s\n", size.c_str(), r.warnings.c_str());
    }
}

// How much the cost per item grew from a to b; -1 when unknown.
double PerItemGrowth(const CaseResult& a, const CaseResult& b, Figure CaseResult::*figure, bool base) {
    double msA = base ? (a.*figure).Base() : (a.*figure).Ours();
    double msB = base ? (b.*figure).Base() : (b.*figure).Ours();
    if (msA <= 0 || msB < 0) return -1;
    return (msB / b.n) / (msA / a.n);
}

// 3 for 50 times the items; the same power of the size ratio for other ranges
// (per-item cost growing faster than n^0.28).
double GrowthLimit(const CaseResult& a, const CaseResult& b) {
    return std::pow(static_cast<double>(b.n) / a.n, std::log(3.0) / std::log(50.0));
}

std::string GrowthText(const CaseResult& a, const CaseResult& b, Figure CaseResult::*figure, bool base, bool& flagged) {
    double g = PerItemGrowth(a, b, figure, base);
    if (g < 0) return "-";
    double limit = GrowthLimit(a, b);
    flagged = flagged || g > limit;
    char t[48];
    std::snprintf(t, sizeof(t), "x%.2f/%.2f", g, limit);
    return t;
}

void PrintScalingFor(const std::vector<const CaseResult*>& cases, const char* name, Figure CaseResult::*figure) {
    const CaseResult& first = *cases.front();
    const CaseResult& last = *cases.back();
    const CaseResult& beforeLast = *cases[cases.size() - 2];
    std::printf("  %-12s", name);
    for (const CaseResult* c : cases) std::printf(" %9.2f", (c->*figure).Ours() * 1000.0 / c->n);
    for (bool base : {false, true}) {
        if ((first.*figure).Base() < 0 && base) break;
        bool flagged = false;
        std::string all = GrowthText(first, last, figure, base, flagged);
        std::string top = cases.size() > 2 ? GrowthText(beforeLast, last, figure, base, flagged) : "";
        std::printf("  %s %-12s %-12s %-12s", base ? "| base" : "", all.c_str(), top.c_str(),
                    flagged ? "superlinear?" : "linear");
    }
    std::printf("\n");
}

void PrintScaling(const std::vector<CaseResult>& results) {
    for (const char* kind : {"mixed", "exe+pic", "scripts"}) {
        std::vector<const CaseResult*> cases;
        for (const CaseResult& r : results)
            if (r.kind == kind && r.runs > 0) cases.push_back(&r);
        if (cases.size() < 2) continue;
        std::sort(cases.begin(), cases.end(), [](auto* a, auto* b) { return a->n < b->n; });
        std::printf("\nScaling of %s stores. Ours in microseconds per item at", kind);
        for (const CaseResult* c : cases) std::printf(" %d", c->n);
        std::printf(" items;\nthen growth of the per-item cost %d->%d", cases.front()->n, cases.back()->n);
        if (cases.size() > 2) std::printf(" and %d->%d", cases[cases.size() - 2]->n, cases.back()->n);
        std::printf(
            " as growth/limit (limit 3 for 50x the items, (size ratio)^0.28 in general),\n"
            "for ours and for the baseline; over a limit: superlinear?\n");
        PrintScalingFor(cases, "load", &CaseResult::load);
        PrintScalingFor(cases, "  pass1", &CaseResult::pass1);
        PrintScalingFor(cases, "  pass2", &CaseResult::pass2);
        PrintScalingFor(cases, "ParamsOfItem", &CaseResult::lookup);
        PrintScalingFor(cases, "write", &CaseResult::write);
    }
}

void PrintStores(const std::vector<CaseResult>& results) {
    std::printf("\nStores (lines = folders + separators + links; pictures = icon picture files present):\n");
    for (const CaseResult& r : results) {
        const GeneratedStore& s = r.store;
        std::printf(
            "  %-8s %6d: %6d lines, %4d folders, %6d links (%d executables, %d scripts), "
            "%d pictures\n",
            r.kind.c_str(), r.n, s.lines, s.folders, s.links, s.executables, s.scripts, s.pictures);
    }
}

std::vector<int> ParseSizes(const char* text) {
    std::vector<int> sizes;
    for (const char* p = text; p && *p;) {
        int n = std::atoi(p);
        if (n > 0) sizes.push_back(n);
        p = std::strchr(p, ',');
        if (p) ++p;
    }
    return sizes;
}

std::vector<std::string> ParseWords(const char* text) {
    std::vector<std::string> words;
    std::string word;
    for (const char* p = text;; ++p) {
        if (*p && *p != ',') {
            word += *p;
            continue;
        }
        if (!word.empty()) words.push_back(word);
        word.clear();
        if (!*p) break;
    }
    return words;
}

Options ParseOptions(int argc, char** argv) {
    Options opt;
    bool sizesGiven = false;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--runs" && i + 1 < argc) {
            opt.runs = std::max(1, std::atoi(argv[++i]));
            opt.runsGiven = true;
        } else if (a == "--pictures" && i + 1 < argc) {
            opt.pictureSizes = ParseSizes(argv[++i]);
        } else if (a == "--scripts" && i + 1 < argc) {
            opt.scriptSizes = ParseSizes(argv[++i]);
        } else if (a == "--picture-share" && i + 1 < argc) {
            opt.pictureShare = std::atof(argv[++i]);
        } else if (a == "--keep") {
            opt.keep = true;
        } else if (a == "--menu-opens" && i + 1 < argc) {
            opt.menu.opens = std::max(1, std::atoi(argv[++i]));
        } else if (a == "--footprint-opens" && i + 1 < argc) {
            opt.menu.footprintOpens = std::max(1, std::atoi(argv[++i]));
        } else if (a == "--startup" && i + 1 < argc) {
            opt.startup.sizes = ParseSizes(argv[++i]);
        } else if (a == "--startup-kinds" && i + 1 < argc) {
            opt.startup.kinds = ParseWords(argv[++i]);
        } else if (a == "--startup-program" && i + 1 < argc) {
            opt.startup.program = argv[++i];
        } else if (a == "--no-startup") {
            opt.startup.sizes.clear();
        } else if (a == "--no-search") {
            opt.searchItems = 0;
        } else if (a == "--no-edits") {
            opt.editItems = 0;
        } else if (a == "--import" && i + 1 < argc) {
            opt.importLinks = std::max(0, std::atoi(argv[++i]));
        } else if (a == "--no-import") {
            opt.importLinks = 0;
        } else if (a == "--no-menu") {
            opt.menu.menu = false;
        } else if (a == "--no-footprint") {
            opt.menu.footprint = false;
        } else if (a == "--no-stores") {
            opt.sizes.clear();
            opt.pictureSizes.clear();
            opt.scriptSizes.clear();
            sizesGiven = true;
        } else if (std::atoi(a.c_str()) > 0) {
            if (!sizesGiven) opt.sizes.clear();
            sizesGiven = true;
            for (int n : ParseSizes(a.c_str())) opt.sizes.push_back(n);
        } else {
            std::fprintf(
                stderr,
                "usage: rzbench [sizes...] [--runs R] [--pictures n,m|0] [--scripts n,m|0] "
                "[--picture-share S] [--keep] [--no-stores] [--no-search] [--no-edits] [--import N|--no-import] "
                "[--no-menu] [--no-footprint] "
                "[--menu-opens N] [--footprint-opens N] [--startup n,m|--no-startup] "
                "[--startup-kinds mixed,programs,distinct] [--startup-program exe]\n");
            std::exit(2);
        }
    }
    if (opt.runsGiven) opt.startup.runs = opt.runs;
    return opt;
}

int BenchMain(const Options& opt) {
    std::string scratch = MakeScratchFolder("rzbench_");
    std::vector<CaseResult> results;
    int rc = 0;
    try {
        // Each measured process first loads this small store, so the first
        // shell icon request and the first tree view stay out of the figures.
        StoreShape warmSpec;
        warmSpec.items = 200;
        std::string warm = NewDataFolder(scratch, "warm");
        GenerateStore(warmSpec, warm);
        for (int n : opt.sizes) results.push_back(RunCase("mixed", n, opt, scratch, warm));
        for (int n : opt.pictureSizes) results.push_back(RunCase("exe+pic", n, opt, scratch, warm));
        for (int n : opt.scriptSizes) results.push_back(RunCase("scripts", n, opt, scratch, warm));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "rzbench: %s\n", e.what());
        rc = 1;
    }
    if (!results.empty()) {
        PrintStores(results);
        PrintTable(results);
        PrintScaling(results);
    }
    if (opt.searchItems > 0) RunSearchBench(opt.searchItems);
    if (opt.editItems > 0) RunEditBench(opt.editItems);
    try {
        RunStartupBench(opt.startup, scratch);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "rzbench: %s\n", e.what());
        rc = 1;
    }
    try {
        RunImportBench(opt.importLinks, opt.runs, scratch);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "rzbench: %s\n", e.what());
        rc = 1;
    }
    try {
        RunMenuBench(opt.menu, scratch);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "rzbench: %s\n", e.what());
        rc = 1;
    }
    if (opt.keep) std::fprintf(stderr, "kept %s\n", scratch.c_str());
    else rz::DeleteFolderTree(scratch.substr(0, scratch.size() - 1));
    return rc;
}

}  // namespace

}  // namespace rzbench

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--child") == 0) return rzbench::ChildMain(argc, argv);
    return rzbench::BenchMain(rzbench::ParseOptions(argc, argv));
}
