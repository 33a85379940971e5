#include "FuzzSupport.h"

#include <windows.h>

#include <cstdlib>

#include "TestSupport.h"

namespace rztest {

namespace {

unsigned long EnvNumber(const char* name, unsigned long fallback) {
    const char* text = std::getenv(name);
    if (!text || !*text) return fallback;
    char* end = nullptr;
    unsigned long value = std::strtoul(text, &end, 10);
    return *end ? fallback : value;
}

std::string ParentOf(const std::string& folder) {
    size_t cut = folder.find_last_of('\\', folder.size() - 2);
    return cut == std::string::npos ? std::string() : folder.substr(0, cut + 1);
}

std::string Fingerprint(const std::string& path, const WIN32_FIND_DATAA& fd) {
    std::string print = std::to_string(fd.dwFileAttributes) + ":" + std::to_string(fd.nFileSizeLow) + ":" +
                        std::to_string(fd.ftLastWriteTime.dwLowDateTime) + ":" +
                        std::to_string(fd.ftLastWriteTime.dwHighDateTime);
    if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && fd.nFileSizeHigh == 0 && fd.nFileSizeLow < 65536)
        print += ":" + ReadFile(path);
    return print;
}

void Collect(const std::string& folder, const std::string& rel, bool recursive, const std::string& except,
             FolderState& out) {
    WIN32_FIND_DATAA fd;
    HANDLE find = ::FindFirstFileA((folder + rel + "*").c_str(), &fd);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        const std::string name = fd.cFileName;
        if (name == "." || name == "..") continue;
        const bool isDir = (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        const std::string path = rel + name + (isDir ? "\\" : "");
        if (!except.empty() && lstrcmpiA(path.c_str(), except.c_str()) == 0) continue;
        // A folder's own time moves with whatever the system does inside it:
        // it counts by its name, and by its content where we look into it.
        out[path] = isDir ? "<dir>" : Fingerprint(folder + path, fd);
        if (isDir && recursive && !(fd.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
            Collect(folder, path, recursive, except, out);
    } while (::FindNextFileA(find, &fd));
    ::FindClose(find);
}

std::string Folder(UINT(WINAPI* get)(LPSTR, UINT)) {
    char buffer[MAX_PATH] = {};
    std::string path(buffer, get(buffer, MAX_PATH));
    if (!path.empty() && path.back() != '\\') path += '\\';
    return path;
}

UINT WINAPI CurrentFolder(LPSTR buffer, UINT size) { return ::GetCurrentDirectoryA(size, buffer); }

}  // namespace

FuzzPlan PlanFuzz(int defaultCount) {
    return {static_cast<unsigned>(EnvNumber("RZ_FUZZ_SEED", 20261208)),
            static_cast<int>(EnvNumber("RZ_FUZZ_COUNT", static_cast<unsigned long>(defaultCount)))};
}

int Pick(std::mt19937& rng, int below) { return std::uniform_int_distribution<int>(0, below - 1)(rng); }

std::string HostileText(std::mt19937& rng) {
    // clang-format off
    static const char* const kPieces[] = {
        "",     " ",      "|",        "^",           "^Folder|", "\\",      "/",   ":",     "..",   "...",
        ".",    "a.",     "CON",      "nul.txt",     "COM1",     "*",       "?",   "\"",    "<>",   "\t",
        "\x01", "\xFF",   "\xEF\xBB\xBF", "\xC3\xA9", "\xE9",    "victim.txt", "\\..\\..\\victim.txt",
        "x/../../../evil", "C:\\", "C:\\Windows\\notepad.exe", "Games", "GAMES", "a", ".exe", ".bmp",
        "setup", "=", "[", "]", ";", "%s%n", "0x7FFFFFFF", "99999999", "-1"};
    // clang-format on
    std::string out;
    const int pieces = Pick(rng, 5);
    for (int i = 0; i < pieces; ++i) {
        switch (Pick(rng, 10)) {
            case 0: out += std::string(1 + Pick(rng, 400), static_cast<char>('a' + Pick(rng, 26))); break;
            case 1: out += std::string(1, '\0'); break;
            case 2: out += std::string(1, '\r'); break;
            case 3: out += static_cast<char>(Pick(rng, 256)); break;
            default: out += kPieces[Pick(rng, static_cast<int>(std::size(kPieces)))]; break;
        }
    }
    return out;
}

std::string Mutated(const std::string& text, std::mt19937& rng) {
    std::string out = text;
    const int edits = 1 + Pick(rng, 4);
    for (int i = 0; i < edits && !out.empty(); ++i) {
        const size_t at = static_cast<size_t>(Pick(rng, static_cast<int>(out.size())));
        switch (Pick(rng, 5)) {
            case 0: out[at] = static_cast<char>(Pick(rng, 256)); break;
            case 1: out.erase(at, 1 + Pick(rng, 8)); break;
            case 2: out.insert(at, HostileText(rng)); break;
            case 3: out.insert(at, out.substr(at, 1 + Pick(rng, 40))); break;
            default: out.resize(at); break;
        }
    }
    return out;
}

FolderState StateOf(const std::string& folder, bool recursive, const std::string& except) {
    FolderState state;
    Collect(folder, "", recursive, except, state);
    return state;
}

FolderState ContentOf(const std::string& folder) {
    FolderState state = StateOf(folder, true);
    for (auto& [path, print] : state)
        if (print != "<dir>") print = ReadFile(folder + path);
    return state;
}

std::string FirstDifference(const FolderState& a, const FolderState& b) {
    for (const auto& [path, content] : a) {
        auto other = b.find(path);
        if (other == b.end()) return path + " (only in the first)";
        if (other->second != content) return path + " (content)";
    }
    for (const auto& [path, content] : b)
        if (!a.count(path)) return path + " (only in the second)";
    return {};
}

OutsideWatch::OutsideWatch(const std::string& testFolder) {
    // The test folder's parent (the temp folder) without the test folder.
    const std::string parent = ParentOf(testFolder);
    places_.emplace_back(parent, testFolder.substr(parent.size()));
    const std::string grandParent = ParentOf(parent);
    if (!grandParent.empty()) places_.emplace_back(grandParent, parent.substr(grandParent.size()));
    places_.emplace_back(Folder(&::GetWindowsDirectoryA), "");
    places_.emplace_back(Folder(&CurrentFolder), "");
    places_.emplace_back(testFolder.substr(0, 3), "");
    for (const auto& [folder, except] : places_) before_.push_back(StateOf(folder, false, except));
}

std::vector<std::string> OutsideWatch::Changed() const {
    std::vector<std::string> changed;
    for (size_t i = 0; i < places_.size(); ++i) {
        const FolderState now = StateOf(places_[i].first, false, places_[i].second);
        for (const auto& [path, print] : now) {
            auto was = before_[i].find(path);
            if (was == before_[i].end()) changed.push_back("made: " + places_[i].first + path);
            else if (was->second != print) changed.push_back("changed: " + places_[i].first + path);
        }
        for (const auto& [path, print] : before_[i])
            if (!now.count(path)) changed.push_back("gone: " + places_[i].first + path);
    }
    return changed;
}

}  // namespace rztest
