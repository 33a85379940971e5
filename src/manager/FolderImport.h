#pragma once
// The planning of an import: folders of the file system read as the entries
// it adds - sub-folders as virtual folders, shortcuts as their targets, other
// files as themselves - merged into one list per level, folders first, each
// part by name; what is the shell's own or uninstalls a program stays out.

#include <functional>
#include <string>
#include <vector>

#include "manager/ShellTarget.h"
#include "support/JCLShortCuts.h"

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
    // progress hears, now and then, how many files have been looked at and
    // how many entries found; false from it stops the reading.
    using Progress = std::function<bool(int looked, int found)>;
    explicit FolderImport(Progress progress = {}) : progress_(std::move(progress)) {}

    // The files a Plan of these folders looks at, about: for a progress bar.
    static int CountFiles(const std::vector<std::string>& folders);

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
    // Progress said stop: the plan is incomplete.
    bool Stopped() const { return stopped_; }
    int Skipped() const { return skipped_; }
    int Uninstallers() const { return uninstallers_; }
    // The status line after an import: what came, what stayed out.
    std::string Summary() const;

private:
    void AddFile(ImportEntry& into, const std::string& path, const std::string& name);
    void Looked();

    // One apartment and one link object for all the shortcuts: made anew
    // per shortcut they cost more than reading it.
    ShortcutReader reader_;
    Progress progress_;
    // The folders being read, outermost first, as the file system knows them.
    std::vector<std::string> reading_;
    int looked_ = 0;
    int found_ = 0;
    bool stopped_ = false;
    int skipped_ = 0;
    int uninstallers_ = 0;
};

}  // namespace rz
