// Reading the store: the template entries, the extension pass and the pass
// that builds the manager tree and the launcher menu together.

#include <unordered_set>

#include "items/FolderFiles.h"
#include "items/ItemStore.h"
#include "items/ListFile.h"
#include "platform/FileIO.h"
#include "support/EnvironmentText.h"
#include "support/FileNames.h"
#include "support/UcvMenus.h"
#include "support/UcvSysExceptions.h"
#include "support/UcvSysIO.h"

namespace rz {

namespace {
constexpr char kListFileName[] = "shortcuts.txt";

enum class FolderLine { Follow, Missing, NoFolderOfItsOwn, Repeated };

// A folder line is followed only into a real sub-folder of the store that no
// earlier line of the level has taken, names compared as the file system
// compares them. A line whose directory is missing just yields nothing.
FolderLine CheckFolderLine(const std::string& folder, const std::string& caption,
                           std::unordered_set<std::string>& taken) {
    if (!IsSafeFolderName(caption)) return FolderLine::NoFolderOfItsOwn;
    if (!DirectoryExists(folder + FolderDirectoryName(caption))) return FolderLine::Missing;
    if (!taken.insert(FileNameKey(caption)).second) return FolderLine::Repeated;
    return FolderLine::Follow;
}

// Text from a list file as it may stand in a log line: one line, not too long.
std::string ForLog(const std::string& text) {
    constexpr size_t kMax = 80;
    std::string out = text.size() > kMax ? text.substr(0, kMax) + "..." : text;
    for (char& c : out) {
        if (static_cast<unsigned char>(c) < 32) c = '?';
    }
    return out;
}
}  // namespace

void ItemStore::PrepareBaseTree() {
    ++loads_;
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
    if (!DirectoryExists(store) && !CreateFolder(store)) RaiseInOutError("Cannot create", store);
    onDisk = LookAtStore(dataFolder_).print;
    if (FileExists(StoreFolder() + kListFileName)) {
        CollectExtensions(StoreFolder());
        icons.BuildTypeIcons(tables);
    }
    return true;
}

void ItemStore::CollectExtensions(const std::string& folder) {
    std::unordered_set<std::string> taken;
    for (const std::string& text : ReadListLines(folder + kListFileName)) {
        auto line = SplitListLine(text);
        if (!line) continue;
        if (line->token == KindToken(ItemKind::Folder)) {
            const std::string& caption = line->rest;
            std::string sub = folder + FolderDirectoryName(caption) + "\\";
            bool follow = CheckFolderLine(folder, caption, taken) == FolderLine::Follow;
            if (follow && FileExists(sub + kListFileName)) CollectExtensions(sub);
        } else if (line->token == KindToken(ItemKind::UnkLnk)) {
            TakeField(line->rest);
            std::string ext = TakeField(line->rest);
            // Anything else would name a file elsewhere, or none, as the type's temporary file.
            if (IsPlainExtension(ext) && IndexOfString(tables.extensions, tables.extensions.High(), ext) < 0)
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
        if (FileExists(StoreFolder() + kListFileName)) ReadItemListFile(StoreFolder(), views.menu.Items(), nullptr);
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
    tables.KeepParams();
}

void ItemStore::ReadItemListFile(const std::string& folder, TMenuItem& parentMenu, TTreeNode* parentNode) {
    std::unordered_set<std::string> taken;
    FolderFiles files(folder);
    for (const std::string& text : ReadListLines(folder + kListFileName))
        ReadLine(folder, text, parentMenu, parentNode, taken, files);
}

void ItemStore::ReadLine(const std::string& folder, const std::string& text, TMenuItem& parentMenu,
                         TTreeNode* parentNode, std::unordered_set<std::string>& takenFolders, FolderFiles& files) {
    auto line = SplitListLine(text);
    if (!line) return;
    auto kind = KindFromToken(line->token);
    if (!kind) return;
    std::string& rest = line->rest;
    switch (*kind) {
        case ItemKind::NorSep: AddLaunchItem(ItemKind::NorSep, "", "", parentNode, parentMenu, -1, "-"); break;
        case ItemKind::SpeSep: AddLaunchItem(ItemKind::SpeSep, "", "", parentNode, parentMenu, -1, rest); break;
        case ItemKind::Folder: ReadFolderLine(folder, rest, parentMenu, parentNode, takenFolders); break;
        case ItemKind::ExeLnk: {
            std::string path = TakeField(rest);
            std::string parameters = TakeField(rest);
            std::string iconField = TakeField(rest);
            int icon = ExeIconIndex(folder, path, iconField, files);
            AddLaunchItem(ItemKind::ExeLnk, path, parameters, parentNode, parentMenu, icon, rest);
            break;
        }
        case ItemKind::UnkLnk: {
            std::string path = TakeField(rest);
            std::string ext = TakeField(rest);
            int icon = -1;
            if (!IsPlainExtension(ext)) {
                // The line is kept: the writer gives it its path's extension.
                LogSkipped("Item \"" + ForLog(rest) + "\" in \"" + folder + kListFileName + "\" gets no type icon: \"" +
                               ForLog(ext) + "\" is no file extension",
                           ERROR_INVALID_NAME);
            } else if (ext.empty() && DirectoryExists(Expanded(path))) {
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

void ItemStore::ReadFolderLine(const std::string& folder, const std::string& caption, TMenuItem& parentMenu,
                               TTreeNode* parentNode, std::unordered_set<std::string>& takenFolders) {
    FolderLine check = CheckFolderLine(folder, caption, takenFolders);
    if (check == FolderLine::NoFolderOfItsOwn || check == FolderLine::Repeated) {
        // What the line named is on disk under the kept line, or nowhere.
        LogSkipped("Folder \"" + ForLog(caption) + "\" in \"" + folder + kListFileName + "\" skipped: " +
                       (check == FolderLine::Repeated ? "an earlier line names the same folder"
                                                      : "the name gives no folder of its own"),
                   check == FolderLine::Repeated ? ERROR_ALREADY_EXISTS : ERROR_INVALID_NAME);
    }
    if (check != FolderLine::Follow) return;
    AddLaunchItem(ItemKind::Folder, "", "", parentNode, parentMenu, -1, caption);
    std::string sub = folder + FolderDirectoryName(caption) + "\\";
    if (FileExists(sub + kListFileName)) {
        TMenuItem* menu = currentFolderMenu;
        ReadItemListFile(sub, *menu, currentFolderNode);
    }
}

void ItemStore::LogSkipped(const std::string& message, unsigned long code) {
    // The log's "last error" is the reason the line was refused, not whatever call came last.
    ::SetLastError(code);
    // A log that cannot be written must not keep the store from loading.
    try {
        Log(message);
    } catch (...) {}
}

int ItemStore::ExeIconIndex(const std::string& folder, const std::string& path, const std::string& iconField,
                            FolderFiles& files) {
    // A program that is there shows its own icon, whatever picture its line
    // names: the picture is only its stand-in while the program is missing.
    // All items that name one program share its slot.
    if (IsExecutableFile(path)) {
        const int slot = icons.ProgramIconSlot(Expanded(path));
        if (slot >= 0) return slot;
    }
    int pos = IndexOfString(tables.extensions, tables.extensions.High(), iconField);
    if (pos >= 0) return ItemIcons::TypeIconSlot(pos);
    // The picture file lives beside the list file; a field that names
    // anything elsewhere is not followed.
    if (!IsPlainFileName(iconField)) return -1;
    if (!files.Has(iconField)) return -1;
    return icons.InsertItemIcon(folder + iconField, path);
}

}  // namespace rz
