#include "manager/EditHistory.h"

#include <stdexcept>
#include <utility>

#include "items/ItemTables.h"
#include "platform/TreeView.h"

namespace rz {

void EditHistory::Begin(const std::string& label, TypingKey key) {
    if (depth_++ > 0) return;
    pendingLabel_ = label;
    pendingKey_ = key;
    open_ = false;
    recorded_ = false;
    rowsAtBegin_ = tables_.End();
}

void EditHistory::End() {
    if (depth_ == 0 || --depth_ > 0) return;
    open_ = false;
    if (tables_.End() == rowsAtBegin_) return;
    ItemTables::AddedRows rows = tables_.RowsSince(rowsAtBegin_);
    // Rows of a step are undone with it; those of a step that left no trace
    // (an import stopped half-way) belong to nothing.
    if (recorded_ && !done_.empty()) done_.back().changes.push_back(Rows{nullptr, std::move(rows)});
    else tables_.TakeBack(rows);
}

void EditHistory::RelabelLast(TypingKey key, const std::string& label) {
    if (!done_.empty() && done_.back().key == key) done_.back().label = label;
}

EditHistory::Step& EditHistory::Current() {
    if (depth_ == 0) throw std::logic_error("an edit outside a step");
    if (open_) return done_.back();
    const bool merge =
        pendingKey_.what != 0 && !sealed_ && !done_.empty() && undone_.empty() && done_.back().key == pendingKey_;
    if (!merge) {
        // A new edit ends what could be done again.
        Free(undone_, false);
        undone_.clear();
        done_.push_back(Step{pendingLabel_, pendingKey_, {}});
        sealed_ = false;
    }
    open_ = true;
    recorded_ = true;
    return done_.back();
}

EditHistory::Place EditHistory::PlaceOf(const TTreeNode* node) {
    return Place{node->Parent(), node->GetNextSibling(), true};
}

void EditHistory::Inserted(TTreeNode* node) { Current().changes.push_back(Link{node, Place{}, PlaceOf(node)}); }

void EditHistory::Remove(TTreeNode* node) {
    // Recorded first: a record that cannot be made leaves the tree alone.
    Current().changes.push_back(Link{node, PlaceOf(node), Place{}});
    MoveTo(node, PlaceOf(node), Place{});
}

void EditHistory::Move(TTreeNode* node, TTreeNode* parent, TTreeNode* before) {
    const Place from = PlaceOf(node);
    if (node == before || (from.parent == parent && from.before == before)) return;
    if (parent && (parent == node || parent->IsDescendantOf(node))) return;
    const Place to{parent, before, true};
    Current().changes.push_back(Link{node, from, to});
    MoveTo(node, from, to);
}

void EditHistory::SetCaption(TTreeNode* node, const std::string& text, int image) {
    if (node->Text() == text && node->ImageIndex() == image) return;
    Step& step = Current();
    auto* last = step.changes.empty() ? nullptr : std::get_if<Caption>(&step.changes.back());
    if (last && last->node == node) {
        last->newText = text;
        last->newImage = image;
    } else {
        step.changes.push_back(Caption{node, node->Text(), text, node->ImageIndex(), image});
    }
    Apply(step.changes.back(), true);
}

void EditHistory::SetParams(TTreeNode* node, int itemId, const std::string& params) {
    if (!tables_.HasParamRow(itemId)) return;
    const std::string old = tables_.ParamsOfItem(itemId);
    if (old == params) return;
    Step& step = Current();
    auto* last = step.changes.empty() ? nullptr : std::get_if<Params>(&step.changes.back());
    if (last && last->itemId == itemId) last->newText = params;
    else step.changes.push_back(Params{node, itemId, old, params});
    tables_.SetItemParams(itemId, params);
}

void EditHistory::MoveTo(TTreeNode* node, const Place& from, const Place& to) {
    if (!to.attached) {
        if (leaving) leaving(node);
        tree_.Detach(node);
    } else if (!from.attached) {
        tree_.Reattach(node, to.parent, to.before);
    } else {
        tree_.MoveBefore(node, to.parent, to.before);
    }
}

void EditHistory::Apply(const Change& change, bool forward) {
    if (const auto* link = std::get_if<Link>(&change)) {
        MoveTo(link->node, forward ? link->from : link->to, forward ? link->to : link->from);
    } else if (const auto* caption = std::get_if<Caption>(&change)) {
        caption->node->SetText(forward ? caption->newText : caption->oldText);
        const int image = forward ? caption->newImage : caption->oldImage;
        // A folder keeps its open picture while only its name changes.
        if (image != caption->node->ImageIndex()) {
            caption->node->SetImageIndex(image);
            caption->node->SetSelectedIndex(image);
        }
    } else if (const auto* params = std::get_if<Params>(&change)) {
        tables_.SetItemParams(params->itemId, forward ? params->newText : params->oldText);
    } else if (const auto* rows = std::get_if<Rows>(&change)) {
        if (forward) tables_.PutBack(rows->rows);
        else tables_.TakeBack(rows->rows);
    }
}

TTreeNode* EditHistory::Shown(const Change& change, bool forward) {
    const auto* link = std::get_if<Link>(&change);
    if (!link) return std::visit([](const auto& c) { return c.node; }, change);
    const Place& now = forward ? link->to : link->from;
    if (now.attached) return link->node;
    // Gone again: the entry that stood before it, else its folder.
    const Place& was = forward ? link->from : link->to;
    TTreeNode* before = was.before ? was.before->GetPrevSibling() : was.parent ? was.parent->GetLastChild() : nullptr;
    return before ? before : was.parent;
}

bool EditHistory::Undo(TTreeNode*& show) {
    Seal();
    if (depth_ > 0 || done_.empty()) return false;
    Step step = std::move(done_.back());
    done_.pop_back();
    for (auto it = step.changes.rbegin(); it != step.changes.rend(); ++it) Apply(*it, false);
    show = step.changes.empty() ? nullptr : Shown(step.changes.front(), false);
    undone_.push_back(std::move(step));
    return true;
}

bool EditHistory::Redo(TTreeNode*& show) {
    Seal();
    if (depth_ > 0 || undone_.empty()) return false;
    Step step = std::move(undone_.back());
    undone_.pop_back();
    for (const Change& change : step.changes) Apply(change, true);
    show = step.changes.empty() ? nullptr : Shown(step.changes.front(), true);
    done_.push_back(std::move(step));
    return true;
}

const std::string& EditHistory::UndoLabel() const {
    static const std::string kNone;
    return done_.empty() ? kNone : done_.back().label;
}

const std::string& EditHistory::RedoLabel() const {
    static const std::string kNone;
    return undone_.empty() ? kNone : undone_.back().label;
}

void EditHistory::Free(std::vector<Step>& steps, bool done) {
    for (Step& step : steps) {
        for (const Change& change : step.changes) {
            const auto* link = std::get_if<Link>(&change);
            if (link && !(done ? link->to : link->from).attached) TTreeView::FreeDetached(link->node);
        }
    }
}

void EditHistory::Clear() {
    Free(done_, true);
    Free(undone_, false);
    done_.clear();
    undone_.clear();
    open_ = false;
    sealed_ = true;
}

}  // namespace rz
