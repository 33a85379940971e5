#pragma once
// A tree model and, once its window exists, the comctl32 tree view that
// shows it. The model is the truth: every change goes through here and is
// mirrored to the window. A tree view without a window (an undo copy, a
// template) is a plain model. The window holds the top level and the
// children of the nodes that were opened or needed (selected, expanded):
// tens of thousands of entries nobody looks at cost no window work.

#include <functional>
#include <string>

#include "platform/Control.h"
#include "platform/DragManager.h"
#include "platform/TreeNode.h"

namespace rz {

class TImageList;

using TTVChangedEvent = std::function<void(TObject* sender, TTreeNode* node)>;
// A context menu asked for: the entry under the pointer, or the selection
// when asked from the keyboard (null on empty space), and where the menu
// opens, in screen coordinates.
using TTVContextEvent = std::function<void(TObject* sender, TTreeNode* node, POINT screen)>;

class TTreeView : public TControl, public TMouseDragEvents {
public:
    explicit TTreeView(std::string name = {});
    ~TTreeView() override;

    // Creates the window and shows the current model in it.
    void CreateWnd(HWND parent, DWORD extraStyle = 0);
    // Destroys the window and keeps the model, for a tree that outlives its form.
    void DestroyWnd();

    TTreeNode* GetFirstNode() const { return first_; }
    TTreeNode* GetLastNode() const { return last_; }
    int Count() const { return count_; }

    // parent null means the top level.
    TTreeNode* AddChild(TTreeNode* parent, const std::string& text);
    TTreeNode* AddChildFirst(TTreeNode* parent, const std::string& text);
    // Inserts before sibling (sibling null: last on the top level).
    TTreeNode* Insert(TTreeNode* sibling, const std::string& text);
    TTreeNode* InsertAfter(TTreeNode* sibling, const std::string& text);
    void Delete(TTreeNode* node);
    // Takes node with its subtree out of the tree without freeing it, so that
    // an edit taken back can put the very same entries back with Reattach;
    // FreeDetached frees what never comes back. Only attached entries count.
    void Detach(TTreeNode* node);
    void Reattach(TTreeNode* node, TTreeNode* parent, TTreeNode* before);
    static void FreeDetached(TTreeNode* node);
    void Clear();
    // Moves node with its subtree in front of sibling, or to the end of
    // parent's children when sibling is null.
    void MoveBefore(TTreeNode* node, TTreeNode* parent, TTreeNode* sibling);
    // Makes this tree an exact copy of source's entries (all collapsed).
    void Assign(const TTreeView& source);
    // Copies node (with its subtree) from any tree as a new last child of parent.
    TTreeNode* CopySubtree(const TTreeNode* node, TTreeNode* parent, TTreeNode* before = nullptr);

    // Between these the window is neither redrawn nor told of new entries:
    // it is rebuilt from the model once at the end.
    void BeginUpdate();
    void EndUpdate();

    TTreeNode* Selected() const { return selected_; }
    void Select(TTreeNode* node);
    void Expand(TTreeNode* node);
    // The entry on the row at a client point (its button and indent too), or null.
    TTreeNode* GetNodeAt(int x, int y) const;

    // A drag from the current press of the left button; it starts once the
    // pointer is threshold pixels from the press. False without a press.
    // Removing entries ends any press or drag first.
    bool BeginDrag(int threshold) { return drag_.BeginDrag(threshold); }
    void CancelDrag() { drag_.Cancel(); }
    bool Dragging() const { return drag_.Dragging(); }
    bool DragAccepted() const { return drag_.Accepted(); }

    void SetImages(TImageList* images);
    TImageList* Images() const { return images_; }
    // Hands the window the image list at its DPI, brought up to date; the
    // DPI is the window's unless its form says otherwise.
    void ShowImages();
    void SetImagesDpi(int dpi);
    // The DPI the pictures are shown at.
    int ImagesDpi() const;
    void SetIndent(int indent);

    TTVChangedEvent OnChange;
    // Raised before an entry is painted: what its pictures show may still be
    // brought up to date.
    TTVChangedEvent OnGetImageIndex;
    TTVChangedEvent OnExpanded;
    TTVChangedEvent OnCollapsed;
    TTVContextEvent OnContextPopup;

    bool OnNotify(const NMHDR& nm, LRESULT& result) override;

    // Called by TTreeNode setters.
    void NodeChanged(TTreeNode* node);
    void NodeStateChanged(TTreeNode* node);

protected:
    bool WindowMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    TTreeNode* NewNode(const std::string& text);
    void Link(TTreeNode* node, TTreeNode* parent, TTreeNode* before);
    void Unlink(TTreeNode* node);
    void FreeSubtree(TTreeNode* node);
    bool InWindow(const TTreeNode* node) const;
    void ShowNode(TTreeNode* node, bool append = false);
    void ShowSubtree(TTreeNode* node, bool append = false);
    void FillChildren(TTreeNode* node);
    void ShowPathTo(TTreeNode* node);
    void ShowButton(TTreeNode* node);
    void RebuildView();
    void HideSubtree(TTreeNode* node);
    void ForgetHandles(TTreeNode* node);
    void ShowDropTarget(const POINT* at, bool accept);
    void ContextPopup(LPARAM at);
    bool CustomDraw(const NMTVCUSTOMDRAW& draw, LRESULT& result);

    TTreeNode* first_ = nullptr;
    TTreeNode* last_ = nullptr;
    TTreeNode* selected_ = nullptr;
    int count_ = 0;
    int updateDepth_ = 0;
    bool viewStale_ = false;
    bool rebuilding_ = false;
    int indent_ = 19;
    TImageList* images_ = nullptr;
    HIMAGELIST shownImages_ = nullptr;
    int imagesDpi_ = 0;
    TDragManager drag_;
};

}  // namespace rz
