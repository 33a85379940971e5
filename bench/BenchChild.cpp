#include "BenchChild.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <sstream>
#include <stdexcept>
#include <unordered_map>
#include <vector>

#include "BenchSupport.h"
#include "ImportBench.h"
#include "MenuBench.h"
#include "PlatformBaseline.h"
#include "items/LauncherParts.h"
#include "platform/Application.h"
#include "platform/Form.h"
#include "support/UcvSysIO.h"

namespace rzbench {

namespace {

size_t g_sink = 0;  // keeps the look-ups from being optimised away

constexpr DWORD kChildLimitMs = 20 * 60 * 1000;

// No trailing backslash inside quotes: the C runtime reads \" as a quote.
std::string Quoted(const std::string& folder) {
    std::string f = folder;
    if (!f.empty() && f.back() == '\\') f.pop_back();
    return "\"" + f + "\"";
}

// The store with its menus, lists and trees, none of the program's forms:
// the tree still gets a window, so that filling it costs what it costs in
// the item manager.
struct BareStore {
    BareStore() {
        host.CreateForm("", 346, 514);
        tree.SetBounds(0, 0, 346, 514);
        tree.SetImages(&parts.ILAllPublicTV);
        tree.CreateWnd(host.Handle(), TVS_DISABLEDRAGDROP);
    }
    rz::TForm host{"BenchHost"};
    rz::TTreeView tree{"TVItems"};
    rz::LauncherParts parts{tree};
};

std::unique_ptr<BareStore> NewStore(const std::string& dataFolder) {
    auto bare = std::make_unique<BareStore>();
    bare->parts.store.SetDataFolder(dataFolder);
    bare->parts.store.icons.MakeWorkSurfaces();
    return bare;
}

void Load(rz::ItemStore& store) {
    store.PrepareBaseTree();
    store.LoadPass1();
    store.LoadPass2();
}

void TimedLoad(rz::ItemStore& store, RunFigures& f) {
    Stopwatch all;
    Stopwatch w;
    store.PrepareBaseTree();
    f["prepare"] = w.Ms();
    w = Stopwatch();
    store.LoadPass1();
    f["pass1"] = w.Ms();
    w = Stopwatch();
    store.LoadPass2();
    f["pass2"] = w.Ms();
    f["load"] = all.Ms();
}

void Remember(RunFigures& f, const char* prefix, const MemoryFigures& m) {
    f[std::string("ws") + prefix] = m.workingSetMb;
    f[std::string("priv") + prefix] = m.privateMb;
}

void TimeLookups(const rz::ItemStore& store, int count, unsigned seed, RunFigures& f) {
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> pick(0, std::max(0, store.tables.paths.Length() - 1));
    std::vector<int> ids(count);
    for (int& id : ids) id = pick(rng);

    Stopwatch w;
    size_t sink = 0;
    for (int id : ids) sink += store.ParamsOfItem(id).size();
    f["lookup"] = w.Ms();

    // The floor for the same look-ups: a plain hash table by id.
    std::unordered_map<int, std::string> params;
    const rz::ItemTables& t = store.tables;
    for (int i = 0; i < t.paramIds.Length(); ++i) params.emplace(std::atoi(t.paramIds[i].c_str()), t.params[i]);
    w = Stopwatch();
    for (int id : ids) {
        auto it = params.find(id);
        if (it != params.end()) sink += it->second.size();
    }
    f["lookupBase"] = w.Ms();
    g_sink += sink;
}

RunFigures OursRun(const ChildRun& run) {
    RunFigures f;
    {
        auto warm = NewStore(run.warmFolder);
        Load(warm->parts.store);
    }
    Remember(f, "Before", CurrentMemory());
    auto bare = NewStore(run.dataFolder);
    rz::ItemStore& store = bare->parts.store;
    TimedLoad(store, f);
    Remember(f, "After", CurrentMemory());
    f["links"] = store.tables.paths.Length();
    TimeLookups(store, run.lookups, run.seed, f);

    std::string out = run.scratch + "out_ours";
    rz::DeleteFolderTree(out);
    ::CreateDirectoryA(out.c_str(), nullptr);
    Stopwatch w;
    store.WriteItemListFile(store.TopAnchor(), out);
    f["write"] = w.Ms();
    rz::DeleteFolderTree(out);
    return f;
}

RunFigures BaseRun(const ChildRun& run) {
    RunFigures f;
    PlatformBaseline base;
    base.Reset();
    base.Load(run.warmFolder);
    base.Reset();
    Remember(f, "Before", CurrentMemory());
    Stopwatch w;
    f["entries"] = base.Load(run.dataFolder);
    f["load"] = w.Ms();
    Remember(f, "After", CurrentMemory());
    return f;
}

std::string ResultFile(const ChildRun& run) { return run.scratch + "result_" + run.kind + ".txt"; }

}  // namespace

double FigureOf(const RunFigures& f, const char* key) {
    auto it = f.find(key);
    return it == f.end() ? -1 : it->second;
}

RunFigures RunChild(const ChildRun& run) {
    char exe[MAX_PATH];
    ::GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string result = ResultFile(run);
    ::DeleteFileA(result.c_str());
    std::string cmd = std::string("\"") + exe + "\" --child " + run.kind + " " + Quoted(run.dataFolder) + " " +
                      Quoted(run.warmFolder) + " " + Quoted(run.scratch) + " " + std::to_string(run.lookups) + " " +
                      std::to_string(run.seed);
    STARTUPINFOA si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    RunFigures f;
    if (!::CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return f;
    rz::unique_handle_kernel process(pi.hProcess), thread(pi.hThread);
    // A child that hangs (a menu that never shows) is given up on.
    if (::WaitForSingleObject(process.get(), kChildLimitMs) == WAIT_TIMEOUT) {
        ::TerminateProcess(process.get(), 1);
        return f;
    }
    std::istringstream in(ReadWholeFile(result));
    std::string key;
    double value;
    while (in >> key >> value) f[key] = value;
    ::DeleteFileA(result.c_str());
    return f;
}

int ChildMain(int argc, char** argv) {
    if (argc != 8) return 2;
    ChildRun run;
    run.kind = argv[2];
    run.dataFolder = std::string(argv[3]) + "\\";
    run.warmFolder = std::string(argv[4]) + "\\";
    run.scratch = std::string(argv[5]) + "\\";
    run.lookups = std::atoi(argv[6]);
    run.seed = static_cast<unsigned>(std::strtoul(argv[7], nullptr, 10));
    rz::Application.Initialize();
    RunFigures f;
    try {
        if (run.kind == "menu") f = MenuRun(run.dataFolder, run.dataFolder + "shape.txt", run.lookups);
        else if (run.kind == "footprint") f = FootprintRun(run.dataFolder, run.warmFolder, run.lookups);
        else if (run.kind == "import") f = ImportRun(run.dataFolder, run.warmFolder);
        else f = run.kind == "ours" ? OursRun(run) : BaseRun(run);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "rzbench child (%s): %s\n", run.kind.c_str(), e.what());
        return 1;
    }
    std::string text;
    char line[128];
    for (const auto& [key, value] : f) {
        std::snprintf(line, sizeof(line), "%s %.6f\n", key.c_str(), value);
        text += line;
    }
    WriteWholeFile(ResultFile(run), text);
    return 0;
}

}  // namespace rzbench
