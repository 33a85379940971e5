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
    };
    const Entry entries[] = {
        {"&Launch", [this] { BitBtnLaunch.Click(); }},
        {"&Rename\tF2", [this] { BeginRename(); }},
        {"-", nullptr},
        {"Cu&t\tCtrl+X", [this] { BitBtnCut.Click(); }},
        {"&Copy\tCtrl+C", [this] { BitBtnCopy.Click(); }},
        {"&Paste\tCtrl+V", [this] { BitBtnPaste.Click(); }},
        {"&Delete\tDel", [this] { BitBtnDelete.Click(); }},
        {"-", nullptr},
        {"New &Folder", [this] { NewFolderClick(this); }},
        {"New &Separator", [this] { NewSeparatorClick(this); }},
        {"-", nullptr},
        {"&Import Folder...", [this] { ImportFolderClick(this); }},
        {"Import Start &Menu", [this] { ImportStartMenuClick(this); }},
    };
    for (const Entry& e : entries) {
        auto item = std::make_unique<TMenuItem>(e.caption);
        item->Caption = e.caption;
        if (e.action) item->OnClick = [action = e.action](TObject*) { action(); };
        PMTree.Items().Add(std::move(item));
    }
}

// Each entry is on exactly when its button is; what adds needs a place
// before the system entries, as Attach does.
void TFormItems::RefreshTreeMenu() {
    TTreeNode* sel = TVItems.Selected();
    const bool adds = sel && !IsSystemEntry(sel);
    const bool enabled[] = {BitBtnLaunch.Enabled(), EditSName.Enabled(), true, BitBtnCut.Enabled(),
                            BitBtnCopy.Enabled(),   BitBtnPaste.Enabled(), BitBtnDelete.Enabled(), true,
                            adds, adds, true, adds, adds};
    TMenuItem& items = PMTree.Items();
    for (int i = 0; i < items.Count() && i < static_cast<int>(std::size(enabled)); ++i) items.Items(i)->Enabled = enabled[i];
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
