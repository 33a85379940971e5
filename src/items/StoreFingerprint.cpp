#include "items/StoreFingerprint.h"

#include <windows.h>

#include <string_view>
#include <vector>

#include "items/StoreFolders.h"
#include "platform/FileIO.h"
#include "platform/Handles.h"
#include "support/UcvSysIO.h"

namespace rz {

namespace {

constexpr std::string_view kListFileName = "shortcuts.txt";

std::string AsciiLower(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

bool Among(std::string_view name, std::initializer_list<std::string_view> list,
           bool (*test)(std::string_view, std::string_view)) {
    for (std::string_view item : list)
        if (test(name, item)) return true;
    return false;
}

unsigned long long Fnv1a(const std::string& text) {
    unsigned long long hash = 14695981039346656037ull;
    for (unsigned char c : text) hash = (hash ^ c) * 1099511628211ull;
    return hash;
}

// Someone holds the file open for writing: it may be only half there. The
// look refuses writers for a moment only, and never a rename or a delete.
bool OpenForWriting(const std::string& path) {
    unique_handle_kernel file =
        OwnedFile(::CreateFileW(ExactWidePath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return !file && ::GetLastError() == ERROR_SHARING_VIOLATION;
}

unsigned long long Combined(DWORD high, DWORD low) { return (static_cast<unsigned long long>(high) << 32) | low; }

// What the loader reads of a store: folders, list files and pictures.
bool Counted(const std::string& name, bool directory) {
    if (name == "." || name == ".." || IsSyncLeftover(name)) return false;
    const std::string lower = AsciiLower(name);
    return directory || lower == kListFileName || lower.ends_with(".bmp");
}

// The entries in any order: the system lists a folder in an order of its own.
struct Digest {
    unsigned long long sum = 0, count = 0;
    void Add(const std::string& entry) {
        sum += Fnv1a(entry);
        ++count;
    }
    unsigned long long Value() const { return sum + count * 1099511628211ull; }
};

std::string FileEntry(const std::string& relative, const FileStamp& stamp) {
    return relative + '|' + std::to_string(stamp.size) + '|' + std::to_string(stamp.written);
}

}  // namespace

bool IsSyncLeftover(const std::string& name) {
    const std::string n = AsciiLower(name);
    const auto starts = [](std::string_view s, std::string_view p) { return s.starts_with(p); };
    const auto ends = [](std::string_view s, std::string_view p) { return s.ends_with(p); };
    const auto holds = [](std::string_view s, std::string_view p) { return s.find(p) != std::string_view::npos; };
    return Among(n, {"desktop.ini", "thumbs.db", ".ds_store", ".dropbox", ".dropbox.attr", ".stfolder", ".stversions"},
                 [](std::string_view s, std::string_view p) { return s == p; }) ||
           Among(n, {"~$", ".~lock.", ".syncthing.", ".dropbox.", "._"}, starts) ||
           Among(n, {".tmp", ".temp", ".partial", ".part", ".crdownload", ".!sync", ".swp", "~"}, ends) ||
           Among(n, {"conflicted copy", ".sync-conflict-"}, holds);
}

StoreLook LookAtStore(const std::string& dataFolder, bool askWriters) {
    StoreLook look;
    look.saving = DirectoryExists(dataFolder + "item_bak") && !BackupWasSaved(dataFolder + "item_bak");
    const std::string store = dataFolder + "shortcuts\\";
    if (!DirectoryExists(store)) return look;
    look.print.present = true;
    // Folders relative to the store, each "" or ending with "\"; a folder
    // link is taken as a name and never followed.
    std::vector<std::string> folders{""};
    Digest digest;
    while (!folders.empty()) {
        const std::string folder = std::move(folders.back());
        folders.pop_back();
        WIN32_FIND_DATAW found{};
        unique_hfind find = MakeFindHandle(::FindFirstFileW(ExactWidePath(store + folder + "*").c_str(), &found));
        if (!find) continue;
        do {
            const std::string name = NarrowName(found.cFileName);
            const bool directory = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
            if (!Counted(name, directory)) continue;
            const bool list = !directory && AsciiLower(name) == kListFileName;
            std::string entry = folder + name;
            if (directory) {
                entry += '\\';
                if (!(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) folders.push_back(entry);
            } else {
                entry = FileEntry(entry, FileStamp{Combined(found.nFileSizeHigh, found.nFileSizeLow),
                                                   Combined(found.ftLastWriteTime.dwHighDateTime,
                                                            found.ftLastWriteTime.dwLowDateTime)});
                if (list && askWriters && OpenForWriting(store + folder + name)) look.saving = true;
            }
            digest.Add(entry);
        } while (::FindNextFileW(find.get(), &found));
    }
    look.print.digest = digest.Value();
    return look;
}

StoreFingerprint PrintOfWrites(const std::vector<WrittenEntry>& written, const std::string& storeFolder) {
    StoreFingerprint print;
    print.present = true;
    Digest digest;
    for (const WrittenEntry& e : written) {
        if (e.path.size() <= storeFolder.size() || e.path.compare(0, storeFolder.size(), storeFolder) != 0) continue;
        const std::string relative = e.path.substr(storeFolder.size());
        if (!Counted(relative.substr(relative.find_last_of('\\') + 1), e.folder)) continue;
        digest.Add(e.folder ? relative + '\\' : FileEntry(relative, e.stamp));
    }
    print.digest = digest.Value();
    return print;
}

}  // namespace rz
