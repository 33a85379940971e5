#include "manager/ItemCommands.h"

#include "items/ItemKinds.h"
#include "items/ItemStore.h"
#include "manager/FolderImport.h"
#include "manager/FolderRules.h"
#include "manager/TypedText.h"
#include "support/EnvironmentText.h"
#include "support/UcvSysIO.h"
#include "support/UcvSysStr.h"

namespace rz {

namespace {

bool Addable(const TTreeNode* after) { return after && !IsSystemEntry(after); }
bool Editable(const TTreeNode* node) { return node && !IsAnchorEntry(node) && !IsSystemEntry(node); }

std::string Named(const TTreeNode* node) { return NamedEntry(node); }

class UpdateScope {
public:
    explicit UpdateScope(TTreeView& tree) : tree_(tree) { tree_.BeginUpdate(); }
    ~UpdateScope() { tree_.EndUpdate(); }
    UpdateScope(const UpdateScope&) = delete;
    UpdateScope& operator=(const UpdateScope&) = delete;

private:
    TTreeView& tree_;
};

constexpr int kProgressStep = 100;

// The tree and its count of the manager's icons.
void CopyTree(TTreeView& to, const TTreeView& from) {
    UpdateScope update(to);
    to.Assign(from);
    to.Tag = from.Tag;
}

void CollectMissing(TTreeNode* first, const std::function<bool(int)>& missing, std::vector<TTreeNode*>& out) {
    if (!first) return;
    TTreeNode* entry = first;
    while (TTreeNode* next = entry->GetNextSibling()) entry = next;
    // From the last entry back; only folders recurse, as levels may hold
    // tens of thousands.
    for (;;) {
        TTreeNode* before = entry == first ? nullptr : entry->GetPrevSibling();
        if (IsFolderEntry(entry)) CollectMissing(entry->GetFirstChild(), missing, out);
        else if (entry->ItemId >= 0 && missing(entry->ItemId)) out.push_back(entry);
        if (!before) break;
        entry = before;
    }
}

// The files an import plan names (directories have a fixed picture).
void CollectFiles(const ImportEntry& level, std::vector<std::string>& files) {
    for (const ImportEntry& entry : level.children) {
        if (entry.folder) CollectFiles(entry, files);
        else if (!entry.target.directory) files.push_back(entry.target.path);
    }
}

}  // namespace

std::string NamedEntry(const TTreeNode* node) {
    if (IsPlainSeparatorEntry(node)) return "separator";
    return "\"" + node->Text() + "\"";
}

std::string NamedLevel(const TTreeNode* node) {
    const TTreeNode* folder = node ? node->Parent() : nullptr;
    return folder ? NamedEntry(folder) : "Top";
}

std::vector<TTreeNode*> SweepTargets(TTreeNode* first, const std::function<bool(int itemId)>& missing) {
    std::vector<TTreeNode*> found;
    CollectMissing(first, missing, found);
    return found;
}

bool TargetPlainlyMissing(const std::string& typed) {
    const ExpandedText path = ExpandVariables(typed);
    return !path.tooLong && path.undefined.empty() && PlainlyMissing(path.text);
}

ItemCommands::ItemCommands(ItemStore& store) : history(store.views.tree, store.tables), store_(store) {}

TTreeNode* ItemCommands::NewEntry(TTreeNode* after, const std::string& caption, int icon, int itemId) {
    TTreeNode* entry = store_.views.tree.InsertAfter(after, caption);
    entry->SetImageIndex(icon);
    entry->SetSelectedIndex(icon);
    entry->SetStateIndex(-1);
    entry->ItemId = itemId;
    return entry;
}

TTreeNode* ItemCommands::NewFolder(TTreeNode* after, const std::string& name) {
    TTreeNode* folder = NewEntry(after, name, kIconFolder, -1);
    TTreeNode* anchor = store_.views.tree.AddChild(folder, "");
    anchor->SetImageIndex(kIconAnchor);
    anchor->SetSelectedIndex(kIconAnchor);
    anchor->SetStateIndex(-1);
    return folder;
}

int ItemCommands::AppendManagerIcon(const std::string& path) {
    // A file already shown has its slot: shared, it costs no picture.
    bool appended = false;
    const int slot = store_.icons.ManagerIconSlot(Expanded(path), appended);
    if (!appended) return slot;
    ++store_.views.tree.Tag;
    return store_.icons.slots.break5 + store_.views.tree.Tag;
}

TTreeNode* ItemCommands::NewLink(TTreeNode* after, const ShellTarget& target, const std::string& caption) {
    const bool program = !target.directory && IsProgramFile(target.extension);
    // A directory keeps its trailing "\": it loads again as one, and
    // "Backup.2023" is no file of type "2023".
    const int id = store_.tables.AddLink(target.directory ? WithTrailingBackslash(target.path) : target.path,
                                         program ? &target.parameters : nullptr);
    const int icon = target.directory ? int(kIconDirectory) : AppendManagerIcon(target.path);
    return NewEntry(after, caption, icon, id);
}

TTreeNode* ItemCommands::AddSeparator(TTreeNode* after, const std::string& text) {
    if (!Addable(after)) return nullptr;
    EditStep step(history, "Add separator");
    const bool plain = text.find_first_not_of('-') == std::string::npos;
    TTreeNode* entry =
        plain ? NewEntry(after, kNorSepText, kIconNorSep, -1) : NewEntry(after, "--" + text + "--", kIconSpeSep, -1);
    history.Inserted(entry);
    return entry;
}

TTreeNode* ItemCommands::AddFolder(TTreeNode* after, const std::string& name) {
    if (!Addable(after)) return nullptr;
    EditStep step(history, "Add folder \"" + name + "\"");
    TTreeNode* folder = NewFolder(after, name);
    history.Inserted(folder);
    return folder;
}

TTreeNode* ItemCommands::AddLink(TTreeNode* after, const ShellTarget& target, const std::string& caption) {
    if (!Addable(after)) return nullptr;
    EditStep step(history, "Add \"" + caption + "\"");
    TTreeNode* entry = NewLink(after, target, caption);
    history.Inserted(entry);
    return entry;
}

TTreeNode* ItemCommands::PasteCopy(const TTreeNode* source, TTreeNode* after) {
    if (!Editable(source) || IsFolderEntry(source) || !Addable(after)) return nullptr;
    // The copy's rows belong to the step: taken back and made again with it.
    EditStep step(history, "Paste " + Named(source));
    int id = -1;
    if (source->ItemId >= 0) {
        ItemTables& tables = store_.tables;
        const std::string path = tables.PathOf(source->ItemId);
        const std::string params = tables.ParamsOfItem(source->ItemId);
        id = tables.AddLink(path, tables.HasParamRow(source->ItemId) ? &params : nullptr);
    }
    TTreeNode* copy = NewEntry(after, source->Text(), source->ImageIndex(), id);
    copy->SetSelectedIndex(source->SelectedIndex());
    history.Inserted(copy);
    return copy;
}

bool ItemCommands::Delete(TTreeNode* node) {
    if (!Editable(node)) return false;
    EditStep step(history, "Delete " + Named(node));
    history.Remove(node);
    return true;
}

bool ItemCommands::MoveAfter(TTreeNode* node, TTreeNode* target, const char* what) {
    if (!Editable(node) || !Addable(target) || node == target || target->IsDescendantOf(node)) return false;
    if (!FolderDropAllowed(node, target, nullptr)) return false;
    EditStep step(history, std::string(what) + " " + Named(node));
    history.Move(node, target->Parent(), target->GetNextSibling());
    return true;
}

ItemCommands::Renamed ItemCommands::Rename(TTreeNode* node, const std::string& name) {
    if (!node || !IsUserEntry(node)) return Renamed{"", {}, -1};
    Renamed result{nullptr, name, node->ImageIndex()};
    if (IsFolderEntry(node)) {
        result.refusal = FolderNameRefusal(name, node, false);
        if (result.refusal) return result;
    } else if (IsSeparatorEntry(node)) {
        const std::string bare = WithoutCharacters(name, "-");
        result.name = bare.empty() ? std::string(kNorSepText) : "--" + bare + "--";
        result.image = bare.empty() ? kIconNorSep : kIconSpeSep;
    }
    EditStep step(history, "Rename " + Named(node), TypingKey{kTypingName, node});
    history.SetCaption(node, result.name, result.image);
    return result;
}

bool ItemCommands::SetParams(TTreeNode* node, const std::string& params) {
    if (!node || !IsLinkEntry(node) || IsSystemEntry(node) || !store_.tables.HasParamRow(node->ItemId)) return false;
    EditStep step(history, "Parameters of " + Named(node), TypingKey{kTypingParams, node});
    history.SetParams(node, node->ItemId, params);
    return true;
}

TTreeNode* ItemCommands::Import(TTreeNode* after, const ImportEntry& plan, const std::string& name,
                                const std::function<bool(int)>& progress) {
    if (!Addable(after)) return nullptr;
    EditStep step(history, "Import \"" + name + "\"");
    TTreeView& tree = store_.views.tree;
    const int iconsBefore = tree.Tag;
    // The files' slots all at once, before the entries that show them.
    std::vector<std::string> files;
    CollectFiles(plan, files);
    tree.Tag += store_.icons.sources.AddLateFiles(files);
    UpdateScope update(tree);
    TTreeNode* folder = NewFolder(after, UniqueFolderName(name, after));
    int added = 0;
    if (!BuildImported(folder->GetFirstChild(), plan, added, progress)) {
        // Nothing of it stays: the step is recorded only once the import is whole.
        tree.Delete(folder);
        store_.icons.CutManagerIcons(iconsBefore);
        tree.Tag = iconsBefore;
        return nullptr;
    }
    history.Inserted(folder);
    return folder;
}

bool ItemCommands::BuildImported(TTreeNode* after, const ImportEntry& level, int& added,
                                 const std::function<bool(int)>& progress) {
    for (const ImportEntry& entry : level.children) {
        if (entry.folder) {
            TTreeNode* folder = NewFolder(after, UniqueFolderName(entry.caption, after));
            if (!BuildImported(folder->GetFirstChild(), entry, added, progress)) return false;
            after = folder;
            continue;
        }
        after = NewLink(after, entry.target, entry.caption);
        if (++added % kProgressStep == 0 && progress && !progress(added)) return false;
    }
    return true;
}

int ItemCommands::Sweep() {
    TTreeNode* root = store_.views.tree.GetFirstNode();
    if (!root) return 0;
    const ItemTables& tables = store_.tables;
    // Only the system's "not there": a save would make any other loss final.
    const std::vector<TTreeNode*> gone = SweepTargets(root->GetNextSibling(), [&tables](int id) {
        return TargetPlainlyMissing(tables.PathOf(id));
    });
    if (gone.empty()) return 0;
    EditStep step(history, "Sweep");
    UpdateScope update(store_.views.tree);
    for (TTreeNode* entry : gone) history.Remove(entry);
    return static_cast<int>(gone.size());
}

void ItemCommands::KeepSaved() {
    history.Clear();
    CopyTree(store_.views.undo, store_.views.tree);
    store_.tables.KeepParams();
}

void ItemCommands::RestoreSaved() {
    history.Clear();
    CopyTree(store_.views.tree, store_.views.undo);
    store_.icons.CutManagerIcons(store_.views.tree.Tag);
    store_.tables.RestoreParams();
}

}  // namespace rz
