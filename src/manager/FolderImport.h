#pragma once
// A folder of the file system read as the entries an import adds: its
// sub-folders as virtual folders, its shortcuts as their targets, its other
// files as themselves, all in the order the folder lists them.

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

class FolderImport {
public:
    // progress hears the count of entries found so far, now and then.
    explicit FolderImport(std::function<void(int found)> progress = {}) : progress_(std::move(progress)) {}

    // Adds the contents of folder to into's children. A sub-folder whose
    // name into already holds is merged into it; one that ends up empty is
    // left out. Shortcuts that lead nowhere are skipped with a log line.
    void AddContents(ImportEntry& into, const std::string& folder);

    int Found() const { return found_; }
    int Skipped() const { return skipped_; }

private:
    void AddFile(ImportEntry& into, const std::string& path, const std::string& name);
    void Counted();

    // One apartment for all the shortcuts: set up and torn down per link it
    // cost more than reading the link.
    ComApartment com_;
    std::function<void(int)> progress_;
    int found_ = 0;
    int skipped_ = 0;
    int depth_ = 0;
};

}  // namespace rz
