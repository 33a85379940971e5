#include "ProgramStores.h"

#include <windows.h>

#include <cstdio>
#include <stdexcept>

#include "BenchSupport.h"

namespace rzbench {

namespace {

constexpr int kTopItems = 30;
constexpr int kBigFolder = 500;
constexpr int kFolderSize = 100;
constexpr int kProgramEvery = 5;
const char* const kDocuments[] = {"txt", "pdf", "doc", "xls", "html"};

std::string WindowsDir() {
    char dir[MAX_PATH] = "";
    const UINT n = ::GetWindowsDirectoryA(dir, MAX_PATH);
    std::string path(dir, n);
    if (path.empty() || path.back() != '\\') path += '\\';
    return path;
}

class ProgramLines {
public:
    explicit ProgramLines(const std::vector<std::string>& programs) : programs_(programs) {}
    // The next item line: every fifth a program, the others documents.
    std::string Next(GeneratedStore& out) {
        const int i = count_++;
        ++out.links;
        const std::string n = std::to_string(i);
        if (i % kProgramEvery == 0 && !programs_.empty()) {
            ++out.executables;
            const std::string& program = programs_[(i / kProgramEvery) % programs_.size()];
            return "^ExeLnk|" + program + "||tool" + n + ".bmp|Program " + n;
        }
        const char* ext = kDocuments[i % std::size(kDocuments)];
        return std::string("^UnkLnk|C:\\Users\\bench\\Documents\\file") + n + "." + ext + "|" + ext + "|File " + n;
    }

private:
    const std::vector<std::string>& programs_;
    int count_ = 0;
};

void WriteLevel(GeneratedStore& out, const std::string& rel, const std::string& content) {
    const std::string folder = out.dataFolder + "shortcuts\\" + rel;
    if (!rel.empty() && !::CreateDirectoryA(folder.c_str(), nullptr))
        throw std::runtime_error("cannot create " + folder);
    WriteWholeFile(folder + "shortcuts.txt", content);
    StoreLevel level;
    level.rel = rel;
    level.content = content;
    out.levels.push_back(std::move(level));
}

}  // namespace

std::vector<std::string> SystemPrograms() {
    const std::string windows = WindowsDir();
    std::vector<std::string> found;
    for (const char* name : {"notepad.exe", "regedit.exe", "explorer.exe", "system32\\cmd.exe"}) {
        const std::string path = windows + name;
        if (::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) found.push_back(path);
    }
    return found;
}

std::vector<std::string> CopyPrograms(const std::string& from, int count, const std::string& folder) {
    ::CreateDirectoryA(folder.c_str(), nullptr);
    std::vector<std::string> paths;
    for (int i = 1; i <= count; ++i) {
        char name[32];
        std::snprintf(name, sizeof(name), "tool%04d.exe", i);
        const std::string path = folder + name;
        if (!::CopyFileA(from.c_str(), path.c_str(), FALSE)) throw std::runtime_error("cannot copy " + from);
        paths.push_back(path);
    }
    return paths;
}

GeneratedStore GenerateProgramStore(int items, const std::vector<std::string>& programs,
                                    const std::string& dataFolder) {
    GeneratedStore out;
    out.dataFolder = dataFolder;
    const std::string store = dataFolder + "shortcuts\\";
    if (!::CreateDirectoryA(store.c_str(), nullptr)) throw std::runtime_error("cannot create " + store);
    ProgramLines lines(programs);
    std::string top;
    int left = items;
    for (int i = 0; i < kTopItems && left > 0; ++i, --left) top += lines.Next(out) + "\r\n";
    std::vector<std::pair<std::string, int>> folders{{"Big", std::min(left, kBigFolder)}};
    left -= folders.back().second;
    for (int f = 1; left > 0; ++f) {
        folders.emplace_back("Group " + std::to_string(f), std::min(left, kFolderSize));
        left -= folders.back().second;
    }
    for (const auto& [caption, size] : folders) top += "^Folder|" + caption + "\r\n";
    WriteLevel(out, "", top);
    for (const auto& [caption, size] : folders) {
        std::string content;
        for (int i = 0; i < size; ++i) content += lines.Next(out) + "\r\n";
        WriteLevel(out, caption + "\\", content);
    }
    out.folders = static_cast<int>(folders.size());
    out.lines = items + out.folders;
    return out;
}

}  // namespace rzbench
