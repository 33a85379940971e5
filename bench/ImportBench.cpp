#include "ImportBench.h"

#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <set>
#include <stdexcept>
#include <vector>

#include "BenchSupport.h"
#include "MenuBench.h"
#include "ProgramStores.h"
#include "app/Forms.h"
#include "manager/form_items.h"
#include "support/ShellCom.h"
#include "support/UcvCallExternal.h"
#include "support/UcvSysIO.h"

namespace rzbench {

namespace {

constexpr int kLinksPerFolder = 40;
constexpr int kPrograms = 1000;
constexpr DWORD kResolveTimeoutMs = 1000;

struct ShellLink {
    ShellLink() {
        void* raw = nullptr;
        if (FAILED(::CoCreateInstance(rz::kClsidShellLink, nullptr, CLSCTX_INPROC_SERVER, rz::kIidShellLinkW, &raw)))
            throw std::runtime_error("no shell link object");
        link.reset(static_cast<IShellLinkW*>(raw));
        if (FAILED(link->QueryInterface(rz::kIidPersistFile, &raw))) throw std::runtime_error("no IPersistFile");
        file.reset(static_cast<IPersistFile*>(raw));
    }
    rz::com_ptr<IShellLinkW> link;
    rz::com_ptr<IPersistFile> file;
};

// A shortcut file to target as the shell writes it, with arguments.
std::string ShortcutBytes(ShellLink& shell, const std::string& target, const wchar_t* arguments,
                          const std::string& file) {
    shell.link->SetPath(rz::WideFromAnsi(target).c_str());
    shell.link->SetArguments(arguments);
    if (FAILED(shell.file->Save(rz::WideFromAnsi(file).c_str(), TRUE)))
        throw std::runtime_error("cannot save a shortcut");
    std::string bytes = ReadWholeFile(file);
    ::DeleteFileA(file.c_str());
    return bytes;
}

// Every spelling of from in the bytes, 8-bit and UTF-16, letter case aside,
// made to (of the same length).
std::string Renamed(std::string bytes, const std::string& from, const std::string& to) {
    auto lower = [](char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c); };
    for (int step : {1, 2}) {
        const size_t span = from.size() * step;
        for (size_t at = 0; at + span <= bytes.size(); ++at) {
            bool same = true;
            for (size_t i = 0; i < from.size() && same; ++i)
                same = lower(bytes[at + i * step]) == from[i] && (step == 1 || bytes[at + i * step + 1] == 0);
            if (!same) continue;
            for (size_t i = 0; i < to.size(); ++i) bytes[at + i * step] = to[i];
        }
    }
    return bytes;
}

// links shortcuts in folders of kLinksPerFolder under source, each to one of
// the programs (named tool0001.exe on) in turn. Wine starts a helper process
// for every shortcut the shell saves: two are saved, the others are copies
// with the program's name changed.
void MakeLinks(int links, const std::vector<std::string>& programs, const std::string& source) {
    rz::ComApartment com;
    ShellLink shell;
    ::CreateDirectoryA(source.c_str(), nullptr);
    const std::string plain = ShortcutBytes(shell, programs[0], L"", source + "template.lnk");
    const std::string started = ShortcutBytes(shell, programs[0], L"--start", source + "template.lnk");
    for (int i = 0; i < links; ++i) {
        const std::string folder = source + "Vendor " + std::to_string(i / kLinksPerFolder) + "\\";
        if (i % kLinksPerFolder == 0) ::CreateDirectoryA(folder.c_str(), nullptr);
        char name[16];
        std::snprintf(name, sizeof(name), "tool%04d", static_cast<int>(i % programs.size()) + 1);
        WriteWholeFile(folder + "Tool " + std::to_string(i) + ".lnk",
                       Renamed(i % 3 ? plain : started, "tool0001", name));
    }
}

// What the platform alone costs: every shortcut under folder loaded and
// resolved as the import does, with one link object.
int ReadLinks(ShellLink& shell, const std::wstring& folder) {
    WIN32_FIND_DATAW found{};
    HANDLE search = ::FindFirstFileW((folder + L"*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return 0;
    int read = 0;
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            read += ReadLinks(shell, folder + name + L"\\");
            continue;
        }
        if (FAILED(shell.file->Load((folder + name).c_str(), STGM_READ))) continue;
        shell.link->Resolve(nullptr, SLR_ANY_MATCH | SLR_NO_UI | (kResolveTimeoutMs << 16));
        wchar_t target[MAX_PATH];
        if (SUCCEEDED(shell.link->GetPath(target, MAX_PATH, nullptr, 0))) ++read;
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    return read;
}

}  // namespace

RunFigures ImportRun(const std::string& dataFolder, const std::string& source) {
    StartProgram(dataFolder);
    RunFigures f;
    {
        rz::ComApartment com;
        ShellLink shell;
        // Once untimed: the files come from the system's cache in both timed reads.
        ReadLinks(shell, rz::WideFromAnsi(source));
        Stopwatch w;
        f["links"] = ReadLinks(shell, rz::WideFromAnsi(source));
        f["bare"] = w.Ms();
    }
    rz::TFormItems& items = rz::FormItems();
    rz::ShowFolderBrowser.Replace([&source](HWND, const std::string&, const std::string&, std::string& chosen) {
        chosen = source;
        return true;
    });
    items.TVItems.Select(items.TVItems.GetFirstNode());
    const int before = items.store.tables.paths.Length();
    Stopwatch w;
    items.ImportFolderClick(&items);
    f["ours"] = w.Ms();
    const rz::TcvDynStringArray& paths = items.store.tables.paths;
    f["added"] = paths.Length() - before;
    std::set<std::string> targets;
    for (int i = before; i < paths.Length(); ++i) targets.insert(paths[i]);
    f["targets"] = static_cast<double>(targets.size());
    rz::ShowFolderBrowser.Restore();
    return f;
}

void RunImportBench(int links, int runs, const std::string& scratch) {
    if (links <= 0) return;
    std::fprintf(stderr, "[import %d] generating\n", links);
    const std::vector<std::string> programs =
        CopyPrograms(BesideThisProgram("rzbenchprog.exe"), std::min(links, kPrograms), scratch + "import_programs\\");
    const std::string source = scratch + "import_src\\";
    MakeLinks(links, programs, source);
    std::vector<double> ours, bare;
    int added = -1, read = -1, targets = -1;
    for (int i = 0; i < runs; ++i) {
        const std::string data = NewDataFolder(scratch, "import_data");
        ChildRun run{"import", data, source, scratch, links, 1};
        const RunFigures f = RunChild(run);
        if (f.empty()) continue;
        ours.push_back(FigureOf(f, "ours"));
        bare.push_back(FigureOf(f, "bare"));
        added = static_cast<int>(FigureOf(f, "added"));
        read = static_cast<int>(FigureOf(f, "links"));
        targets = static_cast<int>(FigureOf(f, "targets"));
        std::fprintf(stderr, "[import %d] run %d: ours %.0f ms, bare %.0f ms\n", links, i + 1, ours.back(),
                     bare.back());
        rz::DeleteFolderTree(data.substr(0, data.size() - 1));
    }
    if (ours.empty()) return;
    std::printf(
        "\nImport: Import Folder... of %d shortcuts to %zu programs that exist (folders of %d), from the\n"
        "click until the folder is in the tree; bare = the same shortcut files found, loaded and\n"
        "resolved with one IShellLinkW in the same process, after one untimed read of them all.\n"
        "Medians of %zu runs.\n\n",
        links, programs.size(), kLinksPerFolder, ours.size());
    std::printf("import %d shortcuts: ours %.0f ms (%.2f ms each, %d added, %d targets), bare %.0f ms (%d read), %s\n",
                links, Median(ours), Median(ours) / links, added, targets, Median(bare), read,
                RatioText(Median(ours), Median(bare), 2).c_str());
}

}  // namespace rzbench
