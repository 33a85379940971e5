#pragma once
// The item tree in its two presentations - the manager tree and the
// launcher menu, built together entry for entry - with the tables, the
// icons, the loader and the list-file writer.

#include <functional>
#include <string>
#include <unordered_set>

#include "items/ItemIcons.h"
#include "items/ItemKinds.h"
#include "items/ItemTables.h"
#include "items/StoreFingerprint.h"
#include "platform/Menu.h"
#include "platform/TreeView.h"

namespace rz {

class FolderFiles;
class ListFileWriter;
class PictureNames;

// Menu Tags that tell the layout what an entry is.
enum MenuTag : int {
    kTagBarMaker = -9999,
    kTagHidden = -400,
    kTagNorSep = -200,
    kTagSpeSep = -100,
};

struct ItemViews {
    TTreeView& tree;
    TTreeView& undo;
    const TTreeView& basicTree;
    TPopupMenu& menu;
    const TPopupMenu& basicMenu;
    TImageList& menuImages;
    TImageList& treeImages;
};

class ItemStore {
public:
    explicit ItemStore(const ItemViews& views);

    ItemViews views;
    ItemTables tables;
    ItemIcons icons;

    void SetDataFolder(const std::string& folder);
    const std::string& DataFolder() const { return dataFolder_; }
    std::string StoreFolder() const { return dataFolder_ + "shortcuts\\"; }

    bool drawMenuBar = false;
    // The store on disk as the last load found it or the last save left it.
    StoreFingerprint onDisk;
    TNotifyEvent itemClick;
    // Asked before loading when item_bak\ exists; false ends the load.
    std::function<bool()> resolveLeftoverBackup;
    std::function<void(const std::string&)> writeErrorLog;

    // Set by AddLaunchItem for a folder: where its content goes.
    TTreeNode* currentFolderNode = nullptr;
    TMenuItem* currentFolderMenu = nullptr;

    void AddLaunchItem(ItemKind kind, const std::string& path, const std::string& parameters, TTreeNode* parentNode,
                       TMenuItem& parentMenu, int iconIndex, const std::string& caption);
    std::string ParamsOfItem(int itemId) const { return tables.ParamsOfItem(itemId); }
    void SetItemParams(int itemId, const std::string& p) { tables.SetItemParams(itemId, p); }

    // Loading: always PrepareBaseTree, LoadPass1, LoadPass2.
    void PrepareBaseTree();
    // Raised by every load, so that what is derived from the menu knows it is stale.
    unsigned Loads() const { return loads_; }
    // False when the user chose to end the program at the backup question.
    bool LoadPass1();
    void LoadPass2();
    void CollectExtensions(const std::string& folder);
    void ReadItemListFile(const std::string& folder, TMenuItem& parentMenu, TTreeNode* parentNode);

    // Writing: folder paths without trailing "\".
    void WriteItemListFile(TTreeNode* anchor, const std::string& folder);
    void WriteItemLine(TTreeNode* entry, const std::string& folder, ListFileWriter& out, PictureNames& pictures);
    std::string IconFieldFor(const std::string& path, PictureNames& pictures) const;

    // Before the manager tree paints an entry: its icon taken if it is late,
    // and at the tree's size above 96 DPI.
    void ShowEntryIcon(const TTreeNode& node);
    // Late icons taken for about budgetMs, those of the top level first after
    // a load; true while more wait.
    bool TakeLateIcons(double budgetMs);

    // The top-level anchor entry (first entry of the tree).
    TTreeNode* TopAnchor() const { return views.tree.GetFirstNode(); }

private:
    void ReadLine(const std::string& folder, const std::string& line, TMenuItem& parentMenu, TTreeNode* parentNode,
                  std::unordered_set<std::string>& takenFolders, FolderFiles& files);
    void ReadFolderLine(const std::string& folder, const std::string& caption, TMenuItem& parentMenu,
                        TTreeNode* parentNode, std::unordered_set<std::string>& takenFolders);
    void LogSkipped(const std::string& message, unsigned long code);
    int ExeIconIndex(const std::string& folder, const std::string& path, const std::string& iconField,
                     FolderFiles& files);
    TTreeNode* NewTreeEntry(TTreeNode* parentNode, const std::string& text, int image, int selected, int itemId);
    void Log(const std::string& message);

    std::string dataFolder_;
    TTreeNode* loadMarker_ = nullptr;
    unsigned loads_ = 0;
    unsigned lateOrderedLoad_ = 0;
};

}  // namespace rz
