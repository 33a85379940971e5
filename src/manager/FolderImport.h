#pragma once
// The planning of an import: folders of the file system read as the entries
// it adds - sub-folders as virtual folders, shortcuts as their targets, other
// files as themselves - merged into one list per level, folders first, each
// part by name; what is the shell's own or uninstalls a program stays out.

#include <functional>
#include <string>
#include <vector>

#include "manager/ShellTarget.h"
#include "support/ShellCom.h"

namespace rz {

struct ImportEntry {
    std::string caption;
    bool folder = false;  // a virtual folder holding children
    ShellTarget target;   // what an item opens
    std::vector<ImportEntry> children;
};

// A shortcut or file whose name or target says it uninstalls something.
bool IsUninstaller(const std::string& caption, const ShellTarget& target);

class FolderImport {
public:
    // progress hears the count of entries found so far, now and then.
    explicit FolderImport(std::function<void(int found)> progress = {}) : progress_(std::move(progress)) {}

    // The contents of all the folders as one, arranged.
    ImportEntry Plan(const std::vector<std::string>& folders);

    // Adds the contents of folder to into's children. A sub-folder whose
    // name into already holds is merged into it; one that ends up empty is
    // left out, and so is one that leads back to a folder being read.
    // Shortcuts that lead nowhere are skipped with a log line.
    void AddContents(ImportEntry& into, const std::string& folder);
    // Each level: folders, then items, each part by name as people sort
    // names; of items with the same name and the same target the first stays.
    void Arrange(ImportEntry& level);

    int Found() const { return found_; }
    int Skipped() const { return skipped_; }
    int Uninstallers() const { return uninstallers_; }
    // The status line after an import: what came, what stayed out.
    std::string Summary() const;

private:
    void AddFile(ImportEntry& into, const std::string& path, const std::string& name);
    void Counted();

    // One apartment for all the shortcuts: set up and torn down per link it
    // cost more than reading the link.
    ComApartment com_;
    std::function<void(int)> progress_;
    // The folders being read, outermost first, as the file system knows them.
    std::vector<std::string> reading_;
    int found_ = 0;
    int skipped_ = 0;
    int uninstallers_ = 0;
};

}  // namespace rz
