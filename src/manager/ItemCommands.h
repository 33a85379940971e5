#pragma once
// Every change the item manager makes to the item tree, as one command on
// the model - the manager tree, the path and parameter tables and the icon
// lists - that knows no window: the buttons, the keys, the context menu and
// the drops all come here, and each command is one step of the history.

#include <functional>
#include <string>
#include <vector>

#include "manager/EditHistory.h"

namespace rz {

class ItemStore;
class TTreeNode;
struct ImportEntry;
struct ShellTarget;

class ItemCommands {
public:
    explicit ItemCommands(ItemStore& store);

    EditHistory history;

    // New entries go directly after after on its level; null when refused
    // (after a system entry, or none).
    TTreeNode* AddSeparator(TTreeNode* after, const std::string& text);
    // name has passed the folder rules.
    TTreeNode* AddFolder(TTreeNode* after, const std::string& name);
    // A file or directory as an item, with its path row (and a parameter row
    // for a program) and, for a file, an icon appended to both lists.
    TTreeNode* AddLink(TTreeNode* after, const ShellTarget& target, const std::string& caption);
    // A copy of a link gets rows of its own, so that its parameters are its own.
    TTreeNode* PasteCopy(const TTreeNode* source, TTreeNode* after);
    bool Delete(TTreeNode* node);
    // node with its subtree directly after target; what names the step.
    bool MoveAfter(TTreeNode* node, TTreeNode* target, const char* what);

    // The rules of a typed name: a folder's name is checked, a separator
    // takes its form. The typing of one name merges into one step until the
    // history is sealed.
    struct Renamed {
        const char* refusal = nullptr;
        std::string name;
        int image = -1;
    };
    Renamed Rename(TTreeNode* node, const std::string& name);
    // False when the entry has no parameter row.
    bool SetParams(TTreeNode* node, const std::string& params);

    // The planned contents as one virtual folder named name (or a free
    // variant of it) after after; progress hears the items added so far, and
    // false from it takes back what was added: tree, icons and history are
    // then as before. Null when refused or stopped.
    TTreeNode* Import(TTreeNode* after, const ImportEntry& plan, const std::string& name,
                      const std::function<bool(int added)>& progress = {});
    // Removes the entries the sweep's rule finds; how many.
    int Sweep();

    // A save took the tree: it becomes the undo copy, the parameters are
    // kept, and the history ends.
    void KeepSaved();
    // Back to the undo copy: tree, the manager's icons, parameters; no history.
    void RestoreSaved();

    // The slot of path's icon: the one it has, or one appended to both lists.
    int AppendManagerIcon(const std::string& path);

private:
    TTreeNode* NewEntry(TTreeNode* after, const std::string& caption, int icon, int itemId);
    TTreeNode* NewFolder(TTreeNode* after, const std::string& name);
    TTreeNode* NewLink(TTreeNode* after, const ShellTarget& target, const std::string& caption);
    // False when progress said stop.
    bool BuildImported(TTreeNode* after, const ImportEntry& level, int& added,
                       const std::function<bool(int)>& progress);

    ItemStore& store_;
};

// How the history and the status line name an entry: its caption in quotes,
// or "separator"; and the level it is on: its folder so named, or Top.
std::string NamedEntry(const TTreeNode* node);
std::string NamedLevel(const TTreeNode* node);

// The sweep's rule: the link entries from first on (folders searched) whose
// target is plainly gone, each level from its last entry back.
std::vector<TTreeNode*> SweepTargets(TTreeNode* first, const std::function<bool(int itemId)>& missing);
// Whether a typed path (with its variables expanded) is plainly gone. One that
// names a variable this computer lacks may lead somewhere on another.
bool TargetPlainlyMissing(const std::string& typed);

}  // namespace rz
