#include "manager/FolderImport.h"

#include <windows.h>

#include <exception>
#include <map>
#include <memory>

#include "core/ErrorLog.h"
#include "manager/FolderRules.h"
#include "manager/TypedText.h"
#include "platform/Handles.h"
#include "support/UcvSysStr.h"

namespace rz {

namespace {

constexpr int kProgressStep = 100;
// Deeper than any folder a person keeps; a cycle the system did not mark ends here.
constexpr int kMaxDepth = 64;

// desktop.ini and its kind are the shell's, not the user's.
bool Hidden(const WIN32_FIND_DATAA& found) {
    return (found.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0;
}

bool Dots(const char* name) { return name[0] == '.' && (!name[1] || (name[1] == '.' && !name[2])); }

struct FindClose {
    void operator()(HANDLE h) const { ::FindClose(h); }
};

}  // namespace

void FolderImport::Counted() {
    if (++found_ % kProgressStep == 0 && progress_) progress_(found_);
}

void FolderImport::AddContents(ImportEntry& into, const std::string& folder) {
    WIN32_FIND_DATAA found{};
    std::unique_ptr<void, FindClose> search(::FindFirstFileA((folder + "*").c_str(), &found));
    if (search.get() == INVALID_HANDLE_VALUE) {
        static_cast<void>(search.release());
        return;
    }
    // Merging a second folder into the first: sub-folders meet by name.
    std::map<std::string, size_t> folders;
    for (size_t i = 0; i < into.children.size(); ++i)
        if (into.children[i].folder) folders.emplace(FolderNameKey(into.children[i].caption), i);
    do {
        if (Dots(found.cFileName) || Hidden(found)) continue;
        const std::string name = found.cFileName;
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
            AddFile(into, folder + name, name);
            continue;
        }
        // A junction may lead back up the tree.
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) || depth_ >= kMaxDepth) continue;
        const std::string caption = WithoutDelimiters(name);
        auto [at, added] = folders.emplace(FolderNameKey(caption), into.children.size());
        if (added) into.children.push_back(ImportEntry{caption, true, {}, {}});
        ++depth_;
        AddContents(into.children[at->second], folder + name + "\\");
        --depth_;
        if (added && into.children.back().children.empty()) {
            into.children.pop_back();
            folders.erase(at);
        }
    } while (::FindNextFileA(search.get(), &found));
}

void FolderImport::AddFile(ImportEntry& into, const std::string& path, const std::string& name) {
    ImportEntry entry;
    if (!ReadShellTarget(path, entry.target)) {
        ++skipped_;
        LogTolerated("Import skipped the shortcut \"" + path + "\": its target cannot be found", ERROR_FILE_NOT_FOUND);
        return;
    }
    // Named as the user named the file or shortcut, not as its target.
    entry.caption = WithoutDelimiters(NameWithoutExt(name));
    if (TrimName(entry.caption).empty()) entry.caption = WithoutDelimiters(name);
    into.children.push_back(std::move(entry));
    Counted();
}

}  // namespace rz
