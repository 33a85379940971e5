#include "manager/FolderImport.h"

#include <windows.h>

#include <algorithm>
#include <map>
#include <numeric>
#include <utility>

#include "core/ErrorLog.h"
#include "items/ItemKinds.h"
#include "manager/FolderRules.h"
#include "manager/TypedText.h"
#include "platform/FileIO.h"
#include "platform/Handles.h"
#include "support/UcvSysStr.h"

namespace rz {

namespace {

// Often enough for Esc to answer at once, rarely enough to cost nothing.
constexpr int kProgressStep = 25;
// Deeper than any folder a person keeps.
constexpr size_t kMaxDepth = 64;

// desktop.ini and its kind are the shell's, not the user's; some copies
// lose the attributes that say so, so their names say it too.
bool ShellOwn(const WIN32_FIND_DATAW& found) {
    if (found.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) return true;
    const std::string name = LowerCase(NarrowName(found.cFileName));
    return name == "desktop.ini" || name == "thumbs.db";
}

bool Dots(const wchar_t* name) { return name[0] == L'.' && (!name[1] || (name[1] == L'.' && !name[2])); }

// Every entry of a folder through the wide calls, at any path length.
unique_hfind FindIn(const std::string& folder, WIN32_FIND_DATAW& found) {
    return MakeFindHandle(::FindFirstFileW(WidePath(folder + "*").c_str(), &found));
}

// A folder however it is reached - through a link, a junction, another
// spelling - as the file system knows it.
std::string FolderIdentity(const std::string& folder) {
    unique_handle_kernel h =
        OwnedFile(::CreateFileW(WidePath(folder).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!h || !::GetFileInformationByHandle(h.get(), &info)) return LowerCase(folder);
    return std::to_string(info.dwVolumeSerialNumber) + ":" + std::to_string(info.nFileIndexHigh) + ":" +
           std::to_string(info.nFileIndexLow);
}

bool Contains(const std::string& text, const char* part) { return text.find(part) != std::string::npos; }

std::string Plural(int count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

// Compares names as people sort them: letter case aside, in the user's order.
int CompareNames(const std::wstring& a, const std::wstring& b) {
    const int order = ::CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), static_cast<int>(a.size()),
                                       b.c_str(), static_cast<int>(b.size()));
    return order == 0 ? a.compare(b) : order - CSTR_EQUAL;
}

bool SameTarget(const ShellTarget& a, const ShellTarget& b) {
    return LowerCase(a.path) == LowerCase(b.path) && a.parameters == b.parameters;
}

}  // namespace

bool IsUninstaller(const std::string& caption, const ShellTarget& target) {
    const std::string name = LowerCase(caption);
    // The word in the languages installers speak most.
    for (const char* word : {"uninstall", "deinstall", "desinstal", "disinstall", "d\xC3\xA9sinstall"})
        if (Contains(name, word)) return true;
    const std::string file = LowerCase(FileNamePart(target.path));
    if (file.rfind("unins", 0) == 0 || Contains(file, "uninstall")) return true;
    const std::string params = LowerCase(target.parameters);
    return file == "msiexec.exe" &&
           (params.rfind("/x", 0) == 0 || Contains(params, " /x") || Contains(params, "/uninstall"));
}

void FolderImport::Looked() {
    if (++looked_ % kProgressStep == 0 && progress_ && !progress_(looked_, found_)) stopped_ = true;
}

namespace {

int CountIn(const std::string& folder, size_t depth) {
    WIN32_FIND_DATAW found{};
    unique_hfind search = FindIn(folder, found);
    if (!search) return 0;
    int files = 0;
    do {
        if (Dots(found.cFileName) || ShellOwn(found)) continue;
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++files;
        else if (!(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) && depth < kMaxDepth)
            files += CountIn(folder + NarrowName(found.cFileName) + "\\", depth + 1);
    } while (::FindNextFileW(search.get(), &found));
    return files;
}

}  // namespace

int FolderImport::CountFiles(const std::vector<std::string>& folders) {
    int files = 0;
    for (const std::string& folder : folders)
        if (!folder.empty()) files += CountIn(WithTrailingBackslash(folder), 1);
    return files;
}

ImportEntry FolderImport::Plan(const std::vector<std::string>& folders) {
    ImportEntry plan;
    for (const std::string& folder : folders)
        if (!folder.empty() && !stopped_) AddContents(plan, WithTrailingBackslash(folder));
    if (!stopped_) Arrange(plan);
    return plan;
}

void FolderImport::AddContents(ImportEntry& into, const std::string& folder) {
    // A folder that leads back to one being read would be read for ever.
    const std::string identity = FolderIdentity(folder);
    if (reading_.size() >= kMaxDepth || std::find(reading_.begin(), reading_.end(), identity) != reading_.end()) return;
    WIN32_FIND_DATAW found{};
    unique_hfind search = FindIn(folder, found);
    if (!search) return;
    reading_.push_back(identity);
    // Merging a second folder into the first: sub-folders meet by name.
    std::map<std::string, size_t> folders;
    for (size_t i = 0; i < into.children.size(); ++i)
        if (into.children[i].folder) folders.emplace(FolderNameKey(into.children[i].caption), i);
    do {
        if (stopped_) break;
        if (Dots(found.cFileName) || ShellOwn(found)) continue;
        const std::string name = NarrowName(found.cFileName);
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
            AddFile(into, folder + name, name);
            continue;
        }
        // A junction may lead anywhere, back up the tree too.
        if (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) continue;
        const std::string caption = WithoutDelimiters(name);
        auto [at, added] = folders.emplace(FolderNameKey(caption), into.children.size());
        if (added) into.children.push_back(ImportEntry{caption, true, {}, {}});
        AddContents(into.children[at->second], folder + name + "\\");
        if (added && into.children.back().children.empty()) {
            into.children.pop_back();
            folders.erase(at);
        }
    } while (::FindNextFileW(search.get(), &found));
    reading_.pop_back();
}

void FolderImport::AddFile(ImportEntry& into, const std::string& path, const std::string& name) {
    Looked();
    ImportEntry entry;
    // Named as the user named the file or shortcut, not as its target.
    entry.caption = WithoutDelimiters(NameWithoutExt(name));
    if (TrimName(entry.caption).empty()) entry.caption = WithoutDelimiters(name);
    if (IsUninstaller(entry.caption, ShellTarget{})) {
        ++uninstallers_;
        return;
    }
    // A shortcut is read by the one reader; a file found here is no folder.
    const bool read = LowerCase(FileExtension(name)) == ".lnk" ? ReadShortcutTarget(path, entry.target, reader_)
                                                               : ReadShellTarget(path, entry.target);
    if (!read) {
        ++skipped_;
        LogTolerated("Import skipped the shortcut \"" + path + "\": its target cannot be found", ERROR_FILE_NOT_FOUND);
        return;
    }
    if (IsUninstaller(entry.caption, entry.target)) {
        ++uninstallers_;
        return;
    }
    into.children.push_back(std::move(entry));
    ++found_;
}

void FolderImport::Arrange(ImportEntry& level) {
    std::vector<ImportEntry>& entries = level.children;
    std::vector<std::wstring> names;
    names.reserve(entries.size());
    for (ImportEntry& entry : entries) {
        if (entry.folder) Arrange(entry);
        names.push_back(ToWide(entry.caption, CP_UTF8));
    }
    std::vector<size_t> order(entries.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        if (entries[a].folder != entries[b].folder) return entries[a].folder;
        return CompareNames(names[a], names[b]) < 0;
    });
    std::vector<ImportEntry> arranged;
    arranged.reserve(entries.size());
    size_t run = 0;  // where the items named as the last one begin
    for (size_t i = 0; i < order.size(); ++i) {
        ImportEntry& entry = entries[order[i]];
        if (!arranged.empty() && !entry.folder && CompareNames(names[order[i]], names[order[i - 1]]) == 0) {
            const bool again = std::any_of(arranged.begin() + static_cast<std::ptrdiff_t>(run), arranged.end(),
                                           [&](const ImportEntry& e) { return SameTarget(e.target, entry.target); });
            if (again) {
                --found_;
                continue;
            }
        } else {
            run = arranged.size();
        }
        arranged.push_back(std::move(entry));
    }
    entries = std::move(arranged);
}

std::string FolderImport::Summary() const {
    std::string text = "Imported " + Plural(found_, "item", "items");
    if (uninstallers_ > 0) text += ", left out " + Plural(uninstallers_, "uninstaller", "uninstallers");
    if (skipped_ > 0)
        text += ", skipped " + Plural(skipped_, "shortcut", "shortcuts") + " leading nowhere (see the error log)";
    return text;
}

}  // namespace rz
