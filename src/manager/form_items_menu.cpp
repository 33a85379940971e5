// The tree's context menu: the buttons' commands on the entry under the
// pointer, new folders and separators, and the imports.

#include "items/ItemKinds.h"
#include "manager/FolderRules.h"
#include "manager/form_items.h"

namespace rz {

namespace {

constexpr char kNewFolderName[] = "New Folder";

// "Undo Delete "Report"": an "&" of the step's name is no mnemonic.
std::string Named(const char* command, const std::string& step, const char* key) {
    std::string text = command;
    if (!step.empty()) text += " ";
    for (char c : step) text += c == '&' ? std::string("&&") : std::string(1, c);
    return text + "\t" + key;
}

}  // namespace

void TFormItems::BuildTreeMenu() {
    struct Entry {
        const char* caption;
        std::function<void()> action;
        // Each entry is on exactly when its button is; what adds needs a
        // place before the system entries, as Attach does.
        std::function<bool()> enabled;
        // For entries that say what they act on.
        std::function<std::string()> named = {};
    };
    const EditHistory& history = commands.history;
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
        {"-", nullptr, nullptr},
        {"&Undo\tCtrl+Z", [this] { UndoStep(); }, [&history] { return history.CanUndo(); },
         [&history] { return Named("&Undo", history.UndoLabel(), "Ctrl+Z"); }},
        {"R&edo\tCtrl+Y", [this] { RedoStep(); }, [&history] { return history.CanRedo(); },
         [&history] { return Named("R&edo", history.RedoLabel(), "Ctrl+Y"); }},
    };
    for (const Entry& e : entries) {
        auto item = std::make_unique<TMenuItem>(e.caption);
        item->Caption = e.caption;
        if (e.action) item->OnClick = [action = e.action](TObject*) { action(); };
        treeMenuRules_.push_back(TreeMenuRule{PMTree.Items().Add(std::move(item)), e.enabled, e.named});
    }
}

void TFormItems::RefreshTreeMenu() {
    for (TreeMenuRule& rule : treeMenuRules_) {
        rule.item->Enabled = !rule.enabled || rule.enabled();
        if (rule.caption) rule.item->Caption = rule.caption();
    }
}

void TFormItems::TVItemsContextPopup(TObject*, TTreeNode* node, POINT at) {
    if (node && node != TVItems.Selected()) TVItems.Select(node);
    if (!TVItems.Selected()) return;
    RefreshButtons();
    RefreshTreeMenu();
    PMTree.Popup(at.x, at.y, Handle());
}

void TFormItems::NewFolderClick(TObject*) {
    TTreeNode* sel = TVItems.Selected();
    if (!sel || IsSystemEntry(sel)) return;
    TVItems.Select(commands.AddFolder(sel, UniqueFolderName(kNewFolderName, sel)));
    BeginRename();
}

void TFormItems::NewSeparatorClick(TObject*) {
    TTreeNode* sel = TVItems.Selected();
    if (!sel || IsSystemEntry(sel)) return;
    TVItems.Select(commands.AddSeparator(sel, ""));
}

}  // namespace rz
