#pragma once
// What the platform alone costs for the same store: the list files read with
// plain C stdio, the entries put straight into a raw comctl32 tree view and a
// plain HMENU, the shell's icon of each file type and the icon pictures put
// into two image lists, the files written back with stdio.

#include <string>
#include <unordered_set>

#include "BenchSupport.h"
#include "StoreGenerator.h"

namespace rzbench {

class PlatformBaseline {
public:
    PlatformBaseline();
    ~PlatformBaseline();
    PlatformBaseline(const PlatformBaseline&) = delete;
    PlatformBaseline& operator=(const PlatformBaseline&) = delete;

    // A fresh, empty tree view window and menu (not part of the timed load).
    void Reset();
    // Reads the store below dataFolder + "shortcuts\" into the tree view and
    // the menu; returns the number of entries read. With wholeTree false
    // only the top level goes into the tree and the menu, the rest is read
    // and its icons made: what no start-up can avoid.
    int Load(const std::string& dataFolder, bool wholeTree = true);
    // Gives the (hidden) host window its title, for a watcher of the process.
    void SetTitle(const std::string& title) { ::SetWindowTextA(host_.get(), title.c_str()); }
    // Writes the generated list files and one 16 x 16 BMP per executable
    // into outFolder (which exists and is empty).
    static void Write(const GeneratedStore& store, const std::string& outFolder);

private:
    int LoadLevel(const std::string& folder, HTREEITEM parent, HMENU menu);
    HTREEITEM InsertTreeItem(HTREEITEM parent, const std::string& text, int image);
    // The shell's small icon of a file type, the first time the type is seen.
    void TypeIcon(const std::string& path);
    void PictureIcon(const std::string& file);

    unique_hwnd host_;
    unique_hwnd tree_;
    rz::unique_hmenu menu_;
    rz::unique_himagelist small_, tall_;
    std::unordered_set<std::string> types_;
    std::string dataFolder_;
    unsigned nextId_ = 1;
    bool wholeTree_ = true;
};

}  // namespace rzbench
