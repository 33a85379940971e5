// Benchmark of the item store: load, parameter look-up, write and memory of
// generated stores, side by side with what the bare platform costs for the
// same work. A measuring tool: it never fails on a time.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <unordered_map>
#include <vector>

#include "BenchSupport.h"
#include "PlatformBaseline.h"
#include "StoreGenerator.h"
#include "manager/form_items.h"
#include "platform/Application.h"
#include "support/UcvSysIO.h"

namespace rzbench {

namespace {

// A single load slower than this is not repeated.
constexpr double kRepeatLimitMs = 30000;

size_t g_sink = 0;  // keeps the look-ups from being optimised away

struct Options {
    std::vector<int> sizes{1000, 10000, 50000};
    std::vector<int> pictureSizes{1000, 10000};
    int runs = 3;
    bool keep = false;
};

struct Figure {
    std::vector<double> ours, base;
    double Ours() const { return ours.empty() ? -1 : Median(ours); }
    double Base() const { return base.empty() ? -1 : Median(base); }
};

struct MemoryProbe {
    MemoryFigures before, after;
    bool ok = false;
};

struct CaseResult {
    std::string kind;  // "mixed" or "exe+pic"
    int n = 0;
    GeneratedStore store;
    Figure load, prepare, pass1, pass2, lookup, write;
    MemoryProbe oursMem, baseMem;
    int runs = 0;
    std::string warnings;
};

std::unique_ptr<rz::TFormItems> NewForm(const std::string& dataFolder) {
    auto form = std::make_unique<rz::TFormItems>();
    form->store->SetDataFolder(dataFolder);
    form->store->icons.MakeWorkSurfaces();
    return form;
}

void TimedLoad(rz::ItemStore& store, CaseResult& r) {
    Stopwatch all;
    Stopwatch w;
    store.PrepareBaseTree();
    r.prepare.ours.push_back(w.Ms());
    w = Stopwatch();
    store.LoadPass1();
    r.pass1.ours.push_back(w.Ms());
    w = Stopwatch();
    store.LoadPass2();
    r.pass2.ours.push_back(w.Ms());
    r.load.ours.push_back(all.Ms());
}

std::vector<int> RandomIds(int count, int below, unsigned seed) {
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> pick(0, below > 0 ? below - 1 : 0);
    std::vector<int> ids(count);
    for (int& id : ids) id = pick(rng);
    return ids;
}

double TimeLookups(const rz::ItemStore& store, const std::vector<int>& ids) {
    Stopwatch w;
    size_t sink = 0;
    for (int id : ids) sink += store.ParamsOfItem(id).size();
    double ms = w.Ms();
    g_sink += sink;
    return ms;
}

// The plain-table floor for the same look-ups.
double TimeBaselineLookups(const rz::ItemTables& tables, const std::vector<int>& ids) {
    std::unordered_map<int, std::string> params;
    for (int i = 0; i < tables.paramIds.Length(); ++i)
        params.emplace(std::atoi(tables.paramIds[i].c_str()), tables.params[i]);
    Stopwatch w;
    size_t sink = 0;
    for (int id : ids) {
        auto it = params.find(id);
        if (it != params.end()) sink += it->second.size();
    }
    double ms = w.Ms();
    g_sink += sink;
    return ms;
}

std::string FreshFolder(const std::string& parent, const std::string& name) {
    std::string folder = parent + name;
    rz::DeleteFolderTree(folder);
    ::CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

void OursRun(CaseResult& r, const std::string& scratch, const std::vector<int>& ids) {
    auto form = NewForm(r.store.dataFolder);
    rz::ItemStore& store = *form->store;
    TimedLoad(store, r);
    if (store.tables.paths.Length() != r.store.links)
        r.warnings += " loaded " + std::to_string(store.tables.paths.Length()) + " links of " +
                      std::to_string(r.store.links) + ";";
    r.lookup.ours.push_back(TimeLookups(store, ids));
    r.lookup.base.push_back(TimeBaselineLookups(store.tables, ids));

    std::string out = FreshFolder(scratch, "out_ours");
    Stopwatch w;
    store.WriteItemListFile(store.TopAnchor(), out);
    r.write.ours.push_back(w.Ms());
    rz::DeleteFolderTree(out);
}

void BaseRun(CaseResult& r, PlatformBaseline& base, const std::string& scratch) {
    base.Reset();
    Stopwatch w;
    int count = base.Load(r.store.dataFolder);
    r.load.base.push_back(w.Ms());
    if (count != r.store.lines)
        r.warnings += " baseline read " + std::to_string(count) + " entries;";

    std::string out = FreshFolder(scratch, "out_base") + "\\";
    w = Stopwatch();
    PlatformBaseline::Write(r.store, out);
    r.write.base.push_back(w.Ms());
    rz::DeleteFolderTree(out.substr(0, out.size() - 1));
}

// Memory is taken in a fresh process per case, so heap freed by earlier
// cases cannot hide what a load costs.
MemoryProbe RunProbe(const char* what, const std::string& dataFolder, const std::string& scratch) {
    MemoryProbe probe;
    char exe[MAX_PATH];
    ::GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string result = scratch + "probe.txt";
    ::DeleteFileA(result.c_str());
    // No trailing backslash inside quotes: the C runtime would read \" as a quote.
    std::string folder = dataFolder.substr(0, dataFolder.size() - 1);
    std::string cmd = std::string("\"") + exe + "\" --probe " + what + " \"" + folder + "\" \"" +
                      result + "\"";
    STARTUPINFOA si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    if (!::CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return probe;
    rz::unique_handle_kernel process(pi.hProcess), thread(pi.hThread);
    ::WaitForSingleObject(process.get(), INFINITE);
    std::string text = ReadWholeFile(result);
    probe.ok = std::sscanf(text.c_str(), "%lf %lf %lf %lf", &probe.before.workingSetMb,
                           &probe.before.privateMb, &probe.after.workingSetMb,
                           &probe.after.privateMb) == 4;
    return probe;
}

int ProbeMain(const std::string& what, const std::string& folder, const std::string& result) {
    rz::Application.Initialize();
    std::string dataFolder = folder + "\\";
    MemoryFigures before = CurrentMemory();
    std::unique_ptr<rz::TFormItems> form;
    std::unique_ptr<PlatformBaseline> base;
    if (what == "ours") {
        form = NewForm(dataFolder);
        form->store->PrepareBaseTree();
        form->store->LoadPass1();
        form->store->LoadPass2();
    } else {
        base = std::make_unique<PlatformBaseline>();
        base->Reset();
        base->Load(dataFolder);
    }
    MemoryFigures after = CurrentMemory();
    char line[200];
    std::snprintf(line, sizeof(line), "%.3f %.3f %.3f %.3f\n", before.workingSetMb, before.privateMb,
                  after.workingSetMb, after.privateMb);
    WriteWholeFile(result, line);
    return 0;
}

StoreSpec SpecFor(const std::string& kind, int n) {
    StoreSpec spec;
    spec.items = n;
    spec.seed = static_cast<unsigned>(n) * 7919u + (kind == "mixed" ? 1 : 2);
    if (kind != "mixed") {
        // Executables only, every one with its picture: each takes an icon slot.
        spec.items = n + n / spec.itemsPerFolder;
        spec.exeShare = 1;
        spec.pictureShare = 1;
        spec.scriptShare = spec.separatorShare = spec.directoryShare = spec.setupShare = 0;
    }
    return spec;
}

void Progress(const char* format, const std::string& a, int n) {
    std::fprintf(stderr, format, a.c_str(), n);
    std::fflush(stderr);
}

CaseResult RunCase(const std::string& kind, int n, const Options& opt, const std::string& scratch,
                   PlatformBaseline& base, bool probeMemory = true) {
    CaseResult r;
    r.kind = kind;
    r.n = n;
    std::string data = FreshFolder(scratch, kind + "_" + std::to_string(n)) + "\\";
    Progress("[%s %d] generating\n", kind, n);
    r.store = GenerateStore(SpecFor(kind, n), data);
    std::vector<int> ids = RandomIds(n, r.store.links, 12345u + n);
    for (int run = 0; run < opt.runs; ++run) {
        Progress("[%s %d] run\n", kind, n);
        OursRun(r, scratch, ids);
        BaseRun(r, base, scratch);
        ++r.runs;
        if (r.load.ours.back() > kRepeatLimitMs) break;
    }
    if (probeMemory) {
        Progress("[%s %d] memory probes\n", kind, n);
        r.oursMem = RunProbe("ours", data, scratch);
        r.baseMem = RunProbe("base", data, scratch);
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

std::string Ratio(double ours, double base) {
    if (ours < 0 || base <= 0) return "-";
    char b[32];
    std::snprintf(b, sizeof(b), "%.1fx", ours / base);
    return b;
}

std::string MemoryText(const CaseResult& r) {
    if (!r.oursMem.ok) return "n/a";
    char b[96];
    double baseGrowth = r.baseMem.ok ? r.baseMem.after.privateMb - r.baseMem.before.privateMb : 0;
    std::snprintf(b, sizeof(b), "%.1f / %.1f  (+%.1f vs +%.1f)", r.oursMem.after.workingSetMb,
                  r.oursMem.after.privateMb, r.oursMem.after.privateMb - r.oursMem.before.privateMb,
                  baseGrowth);
    return b;
}

void PrintRow(const std::string& size, const std::string& op, const Figure& f, int runs,
              const std::string& mem) {
    std::printf("%-13s %-34s %10s %10s %8s %4d  %s\n", size.c_str(), op.c_str(), Ms(f.Ours()).c_str(),
                Ms(f.Base()).c_str(), Ratio(f.Ours(), f.Base()).c_str(), runs, mem.c_str());
}

void PrintTable(const std::vector<CaseResult>& results) {
    std::printf("\n%-13s %-34s %10s %10s %8s %4s  %s\n", "size", "operation", "ours ms", "base ms",
                "ratio", "runs", "memory MB: WS / private after load (growth ours vs base)");
    std::printf("%s\n", std::string(140, '-').c_str());
    for (const CaseResult& r : results) {
        std::string size = (r.kind == "mixed" ? "" : "exe+pic ") + std::to_string(r.n);
        PrintRow(size, "load (prepare+pass1+pass2)", r.load, r.runs, MemoryText(r));
        PrintRow(size, "  prepare base tree", r.prepare, r.runs, "");
        PrintRow(size, "  pass1 (extensions, type icons)", r.pass1, r.runs, "");
        PrintRow(size, "  pass2 (tree, menu, undo copy)", r.pass2, r.runs, "");
        PrintRow(size, "ParamsOfItem x N random ids", r.lookup, r.runs, "");
        PrintRow(size, "write (list files + pictures)", r.write, r.runs, "");
        if (!r.warnings.empty()) std::printf("%-13s WARNING:%s\n", size.c_str(), r.warnings.c_str());
    }
}

void PrintScalingFor(const std::vector<const CaseResult*>& cases, const char* name,
                     Figure CaseResult::*figure) {
    const CaseResult& small = *cases.front();
    const CaseResult& large = *cases.back();
    std::printf("  %-34s", name);
    for (const CaseResult* c : cases)
        std::printf(" %7.2f", ((*c).*figure).Ours() * 1000.0 / c->n);
    double ours = ((large.*figure).Ours() / large.n) / ((small.*figure).Ours() / small.n);
    std::printf("  x%-6.2f %-13s", ours, ours > 3 ? "superlinear?" : "linear");
    if ((small.*figure).Base() > 0 && (large.*figure).Base() > 0) {
        double base = ((large.*figure).Base() / large.n) / ((small.*figure).Base() / small.n);
        std::printf(" base x%.2f %s", base, base > 3 ? "superlinear?" : "linear");
    }
    std::printf("\n");
}

void PrintScaling(const std::vector<CaseResult>& results) {
    for (const char* kind : {"mixed", "exe+pic"}) {
        std::vector<const CaseResult*> cases;
        for (const CaseResult& r : results)
            if (r.kind == kind) cases.push_back(&r);
        if (cases.size() < 2) continue;
        std::printf("\nScaling, %s stores: ours per item in microseconds at", kind);
        for (const CaseResult* c : cases) std::printf(" %d", c->n);
        std::printf("; per-item cost %d vs %d (above 3: superlinear?)\n", cases.back()->n,
                    cases.front()->n);
        PrintScalingFor(cases, "load", &CaseResult::load);
        PrintScalingFor(cases, "  pass1", &CaseResult::pass1);
        PrintScalingFor(cases, "  pass2", &CaseResult::pass2);
        PrintScalingFor(cases, "ParamsOfItem", &CaseResult::lookup);
        PrintScalingFor(cases, "write", &CaseResult::write);
    }
}

void PrintStores(const std::vector<CaseResult>& results) {
    std::printf("\nStores: lines = folders + separators + links; pictures = icon picture files present\n");
    for (const CaseResult& r : results) {
        const GeneratedStore& s = r.store;
        std::printf("  %-8s %6d: %6d lines, %4d folders in %4zu levels, %6d links (%d executables, "
                    "%d scripts), %d pictures\n",
                    r.kind.c_str(), r.n, s.lines, s.folders, s.levels.size(), s.links, s.executables,
                    s.scripts, s.pictures);
    }
}

std::vector<int> ParseSizes(const char* text) {
    std::vector<int> sizes;
    for (const char* p = text; *p;) {
        int n = std::atoi(p);
        if (n > 0) sizes.push_back(n);
        const char* comma = std::strchr(p, ',');
        if (!comma) break;
        p = comma + 1;
    }
    return sizes;
}

Options ParseOptions(int argc, char** argv) {
    Options opt;
    bool sizesGiven = false;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--runs" && i + 1 < argc) {
            opt.runs = std::max(1, std::atoi(argv[++i]));
        } else if (a == "--pictures" && i + 1 < argc) {
            opt.pictureSizes = ParseSizes(argv[++i]);
        } else if (a == "--keep") {
            opt.keep = true;
        } else if (std::atoi(a.c_str()) > 0) {
            if (!sizesGiven) opt.sizes.clear();
            sizesGiven = true;
            for (int n : ParseSizes(a.c_str())) opt.sizes.push_back(n);
        } else {
            std::fprintf(stderr, "usage: rzbench [sizes...] [--runs R] [--pictures n,m] [--keep]\n");
            std::exit(2);
        }
    }
    return opt;
}

int BenchMain(const Options& opt) {
    rz::Application.Initialize();
    std::string scratch = MakeScratchFolder("rzbench_");
    std::vector<CaseResult> results;
    int rc = 0;
    try {
        PlatformBaseline base;
        // The first shell icon request and the first tree view pay for their
        // start-up; a small throwaway case keeps that out of the figures.
        Options once = opt;
        once.runs = 1;
        RunCase("mixed", 200, once, scratch, base, false);
        for (int n : opt.sizes) results.push_back(RunCase("mixed", n, opt, scratch, base));
        for (int n : opt.pictureSizes) results.push_back(RunCase("exe+pic", n, opt, scratch, base));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "rzbench: %s\n", e.what());
        rc = 1;
    }
    if (!opt.keep) rz::DeleteFolderTree(scratch.substr(0, scratch.size() - 1));
    else std::fprintf(stderr, "kept %s\n", scratch.c_str());
    PrintStores(results);
    PrintTable(results);
    PrintScaling(results);
    return rc;
}

}  // namespace

}  // namespace rzbench

int main(int argc, char** argv) {
    if (argc == 5 && std::strcmp(argv[1], "--probe") == 0)
        return rzbench::ProbeMain(argv[2], argv[3], argv[4]);
    return rzbench::BenchMain(rzbench::ParseOptions(argc, argv));
}
