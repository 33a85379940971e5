#pragma once
// The manager's edits as steps that are taken back one at a time and done
// again. A step records what it changed - entries linked in, taken out or
// moved, captions and icons, parameters - never a copy of the tree. Entries
// taken out stay alive, detached, so that undoing puts the very same ones
// back and the steps before it still find the entries they name. Icon slots
// are never given back by a step: an entry that returns finds its icon where
// it left it, and one slot may serve any number of entries.

#include <functional>
#include <string>
#include <variant>
#include <vector>

#include "items/ItemTables.h"

namespace rz {

class TTreeNode;
class TTreeView;

// Successive steps with the same key merge into one until Seal(): the typing
// of one name, or the files of one drop.
struct TypingKey {
    int what = 0;  // 0: never merges
    const void* on = nullptr;
    bool operator==(const TypingKey&) const = default;
};
enum TypingWhat : int { kTypingName = 1, kTypingParams, kTypingDrop };

class EditHistory {
public:
    EditHistory(TTreeView& tree, ItemTables& tables) : tree_(tree), tables_(tables) {}
    ~EditHistory() { Clear(); }
    EditHistory(const EditHistory&) = delete;
    EditHistory& operator=(const EditHistory&) = delete;

    // Every change is made between Begin and End; nested pairs join the
    // outer step. A step that changes nothing leaves no trace (rows it added
    // to the tables go again), and the steps that could be done again are
    // dropped only by one that changes something.
    void Begin(const std::string& label, TypingKey key = {});
    void End();
    // Names the last step anew if it is the one of key.
    void RelabelLast(TypingKey key, const std::string& label);
    // The next step begins anew even with the same key.
    void Seal() { sealed_ = true; }

    // node was just linked into the tree by the caller.
    void Inserted(TTreeNode* node);
    void Remove(TTreeNode* node);
    // Moves node with its subtree in front of before (null: last of parent's).
    void Move(TTreeNode* node, TTreeNode* parent, TTreeNode* before);
    void SetCaption(TTreeNode* node, const std::string& text, int image);
    void SetParams(TTreeNode* node, int itemId, const std::string& params);

    bool CanUndo() const { return !done_.empty(); }
    bool CanRedo() const { return !undone_.empty(); }
    const std::string& UndoLabel() const;
    const std::string& RedoLabel() const;
    int Steps() const { return static_cast<int>(done_.size()); }
    // The entry to show once the step is taken back or done again: the one
    // it changed, or where that one was. False when there is no step.
    bool Undo(TTreeNode*& show);
    bool Redo(TTreeNode*& show);
    // Forgets every step; what only the history held is freed.
    void Clear();

    // Told before an entry leaves the tree, by an edit or by taking one back.
    std::function<void(TTreeNode*)> leaving;

private:
    struct Place {
        TTreeNode* parent = nullptr;
        TTreeNode* before = nullptr;
        bool attached = false;
    };
    struct Link {
        TTreeNode* node;
        Place from, to;
    };
    struct Caption {
        TTreeNode* node;
        std::string oldText, newText;
        int oldImage, newImage;
    };
    struct Params {
        TTreeNode* node;
        int itemId;
        std::string oldText, newText;
    };
    // Path and parameter rows the step appended to the tables.
    struct Rows {
        TTreeNode* node = nullptr;
        ItemTables::AddedRows rows;
    };
    using Change = std::variant<Link, Caption, Params, Rows>;
    struct Step {
        std::string label;
        TypingKey key;
        std::vector<Change> changes;
    };

    static Place PlaceOf(const TTreeNode* node);
    Step& Current();
    void Apply(const Change& change, bool forward);
    void MoveTo(TTreeNode* node, const Place& from, const Place& to);
    static TTreeNode* Shown(const Change& change, bool forward);
    // Frees the entries that only these steps keep: those they took out if
    // done, those they brought in if taken back.
    static void Free(std::vector<Step>& steps, bool done);

    TTreeView& tree_;
    ItemTables& tables_;
    std::vector<Step> done_;
    std::vector<Step> undone_;
    int depth_ = 0;
    bool open_ = false;      // the running step is done_.back()
    bool recorded_ = false;  // the outermost Begin ... End changed something
    ItemTables::RowsEnd rowsAtBegin_;
    bool sealed_ = true;
    std::string pendingLabel_;
    TypingKey pendingKey_;
};

// One step from construction to scope exit, whatever happens between.
class EditStep {
public:
    EditStep(EditHistory& history, const std::string& label, TypingKey key = {}) : history_(history) {
        history_.Begin(label, key);
    }
    ~EditStep() { history_.End(); }
    EditStep(const EditStep&) = delete;
    EditStep& operator=(const EditStep&) = delete;

private:
    EditHistory& history_;
};

}  // namespace rz
