#include "StartupBench.h"

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <stdexcept>

#include "BenchSupport.h"
#include "ProgramStores.h"
#include "StoreGenerator.h"
#include "core/AppData.h"
#include "platform/Handles.h"
#include "support/UcvSysIO.h"

namespace rzbench {

namespace {

constexpr DWORD kReadyLimitMs = 5 * 60 * 1000;
// Often enough for the figures, rarely enough not to load the Wine server.
constexpr DWORD kPollMs = 20;
constexpr DWORD kEndWaitMs = 10000;
// After a program with a tray icon is ended, the next process to open a
// window waits about 2 s for Wine's desktop to let the icon go: let it.
constexpr DWORD kSettleMs = 3000;
constexpr int kDistinctPrograms = 1000;

// What the program's item manager window is titled once the store is in.
std::string ReadyTitle() {
    rz::AppData data;
    rz::PrepareTitles(data);
    return data.itemsTitle;
}

// A window of the process titled title; one look-up per window of that title.
bool HasTitledWindow(DWORD pid, const std::string& title) {
    for (HWND w = ::FindWindowExA(nullptr, nullptr, nullptr, title.c_str()); w;
         w = ::FindWindowExA(nullptr, w, nullptr, title.c_str())) {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(w, &owner);
        if (owner == pid) return true;
    }
    return false;
}

struct Startup {
    double readyMs = -1;
    double privateMb = -1;
};

// Starts commandLine, times it until a window of it carries title, reads its
// private bytes there and ends it.
Startup TimeStartup(const std::string& commandLine, const std::string& workDir, const std::string& title) {
    Startup s;
    STARTUPINFOA si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    std::string cmd = commandLine;
    Stopwatch clock;
    if (!::CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, workDir.c_str(), &si, &pi))
        return s;
    rz::unique_handle_kernel process(pi.hProcess), thread(pi.hThread);
    while (::WaitForSingleObject(process.get(), kPollMs) == WAIT_TIMEOUT) {
        if (HasTitledWindow(pi.dwProcessId, title)) {
            s.readyMs = clock.Ms();
            PROCESS_MEMORY_COUNTERS pmc{};
            pmc.cb = sizeof(pmc);
            if (::GetProcessMemoryInfo(process.get(), &pmc, sizeof(pmc)))
                s.privateMb = static_cast<double>(pmc.PagefileUsage) / (1024.0 * 1024.0);
            break;
        }
        if (clock.Ms() > kReadyLimitMs) break;
    }
    ::TerminateProcess(process.get(), 0);
    ::WaitForSingleObject(process.get(), kEndWaitMs);
    ::Sleep(kSettleMs);
    return s;
}

// No trailing backslash inside quotes: the C runtime reads \" as a quote.
std::string QuotedFolder(const std::string& folder) { return "\"" + folder.substr(0, folder.size() - 1) + "\""; }

struct SizeResult {
    int n = 0;
    GeneratedStore store;
    std::vector<double> ours, base, oursMb, baseMb;
};

void TakeRun(const Startup& s, std::vector<double>& ms, std::vector<double>& mb) {
    if (s.readyMs < 0) return;
    ms.push_back(s.readyMs);
    if (s.privateMb >= 0) mb.push_back(s.privateMb);
}

std::string Figure(const std::vector<double>& v, const char* format) {
    if (v.empty()) return "-";
    char b[32];
    std::snprintf(b, sizeof(b), format, Median(v));
    return b;
}

double MedianOr(const std::vector<double>& v) { return v.empty() ? -1 : Median(v); }

const char* KindTitle(const std::string& kind) {
    if (kind == "programs")
        return "a store of 30 top items, a 500-item folder and folders of 100, every fifth item one of a few programs "
               "of the system";
    if (kind == "distinct")
        return "the same store shape, every fifth item one of 1,000 distinct program files with icons of their own";
    return "a mixed store (programs that do not exist)";
}

void PrintTable(const std::string& kind, const std::vector<SizeResult>& results) {
    std::printf(
        "\nStart-up: the program started on a store until its item manager window is\n"
        "titled (store loaded, tree and menu built, menu drawing set); base = a window program\n"
        "that reads the same list files, makes the same icons, shows the top level in a tree\n"
        "view and a menu, then titles its window. Medians; private bytes at ready; growth =\n"
        "time to ready over that of the smallest store.\nStore: %s.\n\n",
        KindTitle(kind));
    std::printf("%-8s %9s %9s %7s %8s %8s %9s %9s %6s %5s\n", "items", "ours ms", "base ms", "ratio", "growth",
                "base gr.", "ours MB", "base MB", "ratio", "runs");
    std::printf("%s\n", std::string(88, '-').c_str());
    const SizeResult& first = results.front();
    for (const SizeResult& r : results) {
        const double ours = MedianOr(r.ours), base = MedianOr(r.base);
        std::printf("%-8d %9s %9s %7s %8s %8s %9s %9s %6s %5zu\n", r.n, Figure(r.ours, "%.0f").c_str(),
                    Figure(r.base, "%.0f").c_str(), RatioText(ours, base, 1).c_str(),
                    RatioText(ours, MedianOr(first.ours), 1).c_str(), RatioText(base, MedianOr(first.base), 1).c_str(),
                    Figure(r.oursMb, "%.1f").c_str(), Figure(r.baseMb, "%.1f").c_str(),
                    RatioText(MedianOr(r.oursMb), MedianOr(r.baseMb), 1).c_str(), r.ours.size());
    }
}

// The store of kind with n items in data, with the programs it names.
GeneratedStore GenerateFor(const std::string& kind, int n, const std::string& data) {
    if (kind == "programs") return GenerateProgramStore(n, SystemPrograms(), data);
    if (kind == "distinct")
        return GenerateProgramStore(
            n, CopyPrograms(BesideThisProgram("rzbenchprog.exe"), kDistinctPrograms, data + "programs\\"), data);
    StoreShape shape;
    shape.items = n;
    shape.seed = static_cast<unsigned>(n) * 104729u + 3;
    return GenerateStore(shape, data);
}

}  // namespace

void RunStartupBench(const StartupOptions& opt, const std::string& scratch) {
    if (opt.sizes.empty()) return;
    std::vector<int> sizes = opt.sizes;
    std::sort(sizes.begin(), sizes.end());
    const std::string title = ReadyTitle();
    const std::string program = opt.program.empty() ? std::string(RZ_BENCH_PROGRAM_PATH) : opt.program;
    bool warm = false;
    for (const std::string& kind : opt.kinds) {
        std::vector<SizeResult> results;
        for (int n : sizes) {
            SizeResult r;
            r.n = n;
            std::string data = NewDataFolder(scratch, "startup_" + kind + "_" + std::to_string(n));
            std::fprintf(stderr, "[startup %s %d] generating\n", kind.c_str(), n);
            r.store = GenerateFor(kind, n, data);
            const std::string exe = data + "razaveza.exe";
            if (!::CopyFileA(program.c_str(), exe.c_str(), FALSE)) throw std::runtime_error("cannot copy " + program);
            const std::string ours = "\"" + exe + "\"";
            const std::string base =
                "\"" + BesideThisProgram("rzstartbase.exe") + "\" " + QuotedFolder(data) + " \"" + title + "\"";
            if (!warm) {
                // The first process of a cold Wine server pays for the server's start-up.
                TimeStartup(ours, data, title);
                TimeStartup(base, data, title);
                warm = true;
            }
            for (int i = 0; i < opt.runs; ++i) {
                const Startup o = TimeStartup(ours, data, title);
                const Startup b = TimeStartup(base, data, title);
                TakeRun(o, r.ours, r.oursMb);
                TakeRun(b, r.base, r.baseMb);
                // -1: the process ended or never got ready.
                std::fprintf(stderr, "[startup %s %d] run %d: ours %.0f ms, base %.0f ms\n", kind.c_str(), n, i + 1,
                             o.readyMs, b.readyMs);
            }
            rz::DeleteFolderTree(data.substr(0, data.size() - 1));
            results.push_back(std::move(r));
        }
        PrintTable(kind, results);
    }
}

}  // namespace rzbench
