// The tree's context menu: the buttons' commands on the entry under the
// pointer, new folders and separators, and the imports.

#include "items/ItemKinds.h"
#include "manager/FolderRules.h"
#include "manager/form_items.h"

namespace rz {

namespace {

constexpr char kNewFolderName[] = "New Folder";

}  // namespace

void TFormItems::BuildTreeMenu() {
    struct Entry {
        const char* caption;
        std::function<void()> action;
        // Each entry is on exactly when its button is; what adds needs a
        // place before the system entries, as Attach does.
        std::function<bool()> enabled;
    };
    auto button = [](TButton& b) { return [&b] { return b.Enabled(); }; };
    auto adds = [this] { return TVItems.Selected() && !IsSystemEntry(TVItems.Selected()); };
    const Entry entries[] = {
        {"&Launch", [this] { BitBtnLaunch.Click(); }, button(BitBtnLaunch)},
        {"&Rename\tF2", [this] { BeginRename(); }, [this] { return EditSName.Enabled(); }},
        {"-", nullptr, nullptr},
        {"Cu&t\tCtrl+X", [this] { BitBtnCut.Click(); }, button(BitBtnCut)},
        {"&Copy\tCtrl+C", [this] { BitBtnCopy.Click(); }, button(BitBtnCopy)},
        {"&Paste\tCtrl+V", [this] { BitBtnPaste.Click(); }, button(BitBtnPaste)},
        {"&Delete\tDel", [this] { BitBtnDelete.Click(); }, button(BitBtnDelete)},
        {"-", nullptr, nullptr},
        {"New &Folder", [this] { NewFolderClick(this); }, adds},
        {"New &Separator", [this] { NewSeparatorClick(this); }, adds},
        {"-", nullptr, nullptr},
        {"&Import Folder...", [this] { ImportFolderClick(this); }, adds},
        {"Import Start &Menu", [this] { ImportStartMenuClick(this); }, adds},
    };
    for (const Entry& e : entries) {
        auto item = std::make_unique<TMenuItem>(e.caption);
        item->Caption = e.caption;
        if (e.action) item->OnClick = [action = e.action](TObject*) { action(); };
        treeMenuRules_.emplace_back(PMTree.Items().Add(std::move(item)), e.enabled);
    }
}

void TFormItems::RefreshTreeMenu() {
    for (auto& [item, enabled] : treeMenuRules_) item->Enabled = !enabled || enabled();
}

void TFormItems::TVItemsContextPopup(TObject*, TTreeNode* node, POINT at) {
    if (node && node != TVItems.Selected()) TVItems.Select(node);
    if (!TVItems.Selected()) return;
    RefreshButtons();
    RefreshTreeMenu();
    PMTree.Popup(at.x, at.y, Handle());
}

TTreeNode* TFormItems::InsertFolderAfter(TTreeNode* after, const std::string& name) {
    TTreeNode* folder = InsertEntryAfter(after, name, kIconFolder, -1);
    TTreeNode* anchor = TVItems.AddChild(folder, "");
    anchor->SetImageIndex(kIconAnchor);
    anchor->SetSelectedIndex(kIconAnchor);
    anchor->SetStateIndex(-1);
    return folder;
}

void TFormItems::NewFolderClick(TObject*) {
    TTreeNode* sel = TVItems.Selected();
    if (!sel || IsSystemEntry(sel)) return;
    TVItems.Select(InsertFolderAfter(sel, UniqueFolderName(kNewFolderName, sel)));
    BeginRename();
}

void TFormItems::NewSeparatorClick(TObject*) {
    TTreeNode* sel = TVItems.Selected();
    if (!sel || IsSystemEntry(sel)) return;
    TVItems.Select(InsertEntryAfter(sel, kNorSepText, kIconNorSep, -1));
}

}  // namespace rz
