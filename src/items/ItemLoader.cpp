// Reading the store: the template entries, the extension pass and the pass
// that builds the manager tree and the launcher menu together.

#include "items/ItemStore.h"
#include "items/ListFile.h"
#include "support/UcvMenus.h"
#include "support/UcvSysExceptions.h"
#include "support/UcvSysIO.h"

namespace rz {

namespace {
constexpr char kListFileName[] = "shortcuts.txt";

// A folder line is followed only into a real sub-folder of the store.
bool FolderToFollow(const std::string& folder, const std::string& caption) {
    return IsSafeFolderName(caption) && DirectoryExists(folder + caption);
}
}  // namespace

void ItemStore::PrepareBaseTree() {
    icons.ResetSlots();
    views.tree.BeginUpdate();
    for (const TTreeNode* n = views.basicTree.GetFirstNode(); n; n = n->GetNextSibling())
        views.tree.CopySubtree(n, nullptr);
    views.tree.EndUpdate();
    CopyMenuTree(views.basicMenu.Items(), views.menu.Items());
    views.menu.Items().Tag = views.basicMenu.Items().Tag;
}

bool ItemStore::LoadPass1() {
    if (resolveLeftoverBackup && !resolveLeftoverBackup()) return false;
    std::string store = dataFolder_ + "shortcuts";
    if (!DirectoryExists(store) && !::CreateDirectoryA(store.c_str(), nullptr))
        RaiseInOutError("Cannot create", store);
    if (FileExists(StoreFolder() + kListFileName)) {
        CollectExtensions(StoreFolder());
        icons.BuildTypeIcons(tables);
    }
    return true;
}

void ItemStore::CollectExtensions(const std::string& folder) {
    for (const std::string& text : ReadListLines(folder + kListFileName)) {
        auto line = SplitListLine(text);
        if (!line) continue;
        if (line->token == KindToken(ItemKind::Folder)) {
            const std::string& caption = line->rest;
            if (FolderToFollow(folder, caption) && FileExists(folder + caption + "\\" + kListFileName))
                CollectExtensions(folder + caption + "\\");
        } else if (line->token == KindToken(ItemKind::UnkLnk)) {
            TakeField(line->rest);
            std::string ext = TakeField(line->rest);
            if (IndexOfString(tables.extensions, tables.extensions.High(), ext) < 0)
                AppendString(tables.extensions, ext);
        }
    }
}

void ItemStore::LoadPass2() {
    TTreeView& tree = views.tree;
    tree.BeginUpdate();
    loadMarker_ = tree.AddChildFirst(nullptr, "hiding");
    loadMarker_->SetSelectedIndex(-1);
    TTreeNode* anchor = tree.Insert(loadMarker_, "");
    anchor->SetImageIndex(kIconAnchor);
    anchor->SetSelectedIndex(kIconAnchor);
    tables.nextItemId = 0;
    icons.SetBreak5Aside(true);
    try {
        if (FileExists(StoreFolder() + kListFileName))
            ReadItemListFile(StoreFolder(), views.menu.Items(), nullptr);
    } catch (...) {
        icons.SetBreak5Aside(false);
        tree.Delete(loadMarker_);
        loadMarker_ = nullptr;
        tree.EndUpdate();
        throw;
    }
    icons.SetBreak5Aside(false);
    tree.Delete(loadMarker_);
    loadMarker_ = nullptr;
    tree.EndUpdate();
    views.undo.Assign(tree);
    views.undo.Tag = tree.Tag;
}

void ItemStore::ReadItemListFile(const std::string& folder, TMenuItem& parentMenu,
                                 TTreeNode* parentNode) {
    for (const std::string& text : ReadListLines(folder + kListFileName))
        ReadLine(folder, text, parentMenu, parentNode);
}

void ItemStore::ReadLine(const std::string& folder, const std::string& text, TMenuItem& parentMenu,
                         TTreeNode* parentNode) {
    auto line = SplitListLine(text);
    if (!line) return;
    auto kind = KindFromToken(line->token);
    if (!kind) return;
    std::string& rest = line->rest;
    switch (*kind) {
        case ItemKind::NorSep:
            AddLaunchItem(ItemKind::NorSep, "", "", parentNode, parentMenu, -1, "-");
            break;
        case ItemKind::SpeSep:
            AddLaunchItem(ItemKind::SpeSep, "", "", parentNode, parentMenu, -1, rest);
            break;
        case ItemKind::Folder: {
            if (!FolderToFollow(folder, rest)) break;
            AddLaunchItem(ItemKind::Folder, "", "", parentNode, parentMenu, -1, rest);
            std::string sub = folder + rest + "\\";
            if (FileExists(sub + kListFileName)) {
                TMenuItem* menu = currentFolderMenu;
                ReadItemListFile(sub, *menu, currentFolderNode);
            }
            break;
        }
        case ItemKind::ExeLnk: {
            std::string path = TakeField(rest);
            std::string parameters = TakeField(rest);
            std::string iconField = TakeField(rest);
            int icon = ExeIconIndex(folder, path, iconField);
            AddLaunchItem(ItemKind::ExeLnk, path, parameters, parentNode, parentMenu, icon, rest);
            break;
        }
        case ItemKind::UnkLnk: {
            std::string path = TakeField(rest);
            std::string ext = TakeField(rest);
            int icon = -1;
            if (ext.empty() && DirectoryExists(path)) {
                icon = kIconDirectory;
            } else {
                int pos = IndexOfString(tables.extensions, tables.extensions.High(), ext);
                if (pos >= 0) icon = ItemIcons::TypeIconSlot(pos);
            }
            AddLaunchItem(ItemKind::UnkLnk, path, "", parentNode, parentMenu, icon, rest);
            break;
        }
    }
}

int ItemStore::ExeIconIndex(const std::string& folder, const std::string& path,
                            const std::string& iconField) {
    int pos = IndexOfString(tables.extensions, tables.extensions.High(), iconField);
    if (pos >= 0) return ItemIcons::TypeIconSlot(pos);
    // The picture file lives beside the list file; a field that names
    // anything elsewhere is not followed.
    if (iconField.empty() || iconField.find_first_of("\\/:") != std::string::npos) return -1;
    if (!FileExists(folder + iconField)) return -1;
    return icons.InsertItemIcon(folder + iconField, path);
}

}  // namespace rz
