#pragma once
// One entry of a tree model. Nodes are linked both ways so that sibling
// walks and inserts stay O(1) on levels with tens of thousands of entries.
// Setters tell the owning tree view, which mirrors the change on screen.

#include <windows.h>
#include <commctrl.h>

#include <string>

namespace rz {

class TTreeView;

class TTreeNode {
public:
    const std::string& Text() const { return text_; }
    int ImageIndex() const { return imageIndex_; }
    int SelectedIndex() const { return selectedIndex_; }
    int StateIndex() const { return stateIndex_; }
    bool Cut() const { return cut_; }
    bool Expanded() const { return expanded_; }

    void SetText(const std::string& text);
    void SetImageIndex(int index);
    void SetSelectedIndex(int index);
    void SetStateIndex(int index) { stateIndex_ = index; }
    void SetCut(bool cut);

    // The item id of a link, -1 for anything else.
    int ItemId = -1;

    TTreeNode* Parent() const { return parent_; }
    TTreeNode* GetFirstChild() const { return firstChild_; }
    TTreeNode* GetLastChild() const { return lastChild_; }
    TTreeNode* GetNextSibling() const { return next_; }
    TTreeNode* GetPrevSibling() const { return prev_; }
    // Depth-first successor across the whole tree (pre-order).
    TTreeNode* GetNext() const;
    int Count() const { return childCount_; }
    bool HasChildren() const { return firstChild_ != nullptr; }
    int Level() const;
    int Index() const;
    bool IsDescendantOf(const TTreeNode* ancestor) const;
    TTreeView* Owner() const { return owner_; }
    // Null while the node is not in the window: the window holds a folder's
    // children only once the folder has been opened or one of them is needed.
    HTREEITEM Handle() const { return handle_; }

private:
    friend class TTreeView;
    explicit TTreeNode(TTreeView* owner) : owner_(owner) {}

    TTreeView* owner_;
    std::string text_;
    int imageIndex_ = -1;
    int selectedIndex_ = -1;
    int stateIndex_ = -1;
    bool cut_ = false;
    bool expanded_ = false;
    // The children are in the window too (the node was opened or needed).
    bool filled_ = false;
    TTreeNode* parent_ = nullptr;
    TTreeNode* firstChild_ = nullptr;
    TTreeNode* lastChild_ = nullptr;
    TTreeNode* prev_ = nullptr;
    TTreeNode* next_ = nullptr;
    int childCount_ = 0;
    HTREEITEM handle_ = nullptr;
};

}  // namespace rz
