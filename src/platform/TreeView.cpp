#include "platform/TreeView.h"

#include <windowsx.h>

#include <cstring>

#include "platform/Dpi.h"
#include "platform/ForeignMessages.h"
#include "platform/ImageList.h"

namespace rz {

namespace {
// -1 means "no image" to the model; to the tree view it means "ask me".
int ViewImage(int index) { return index < 0 ? I_IMAGENONE : index; }
}  // namespace

// ---- TTreeNode -------------------------------------------------------------

void TTreeNode::SetText(const std::string& text) {
    text_ = text;
    owner_->NodeChanged(this);
}

void TTreeNode::SetImageIndex(int index) {
    imageIndex_ = index;
    owner_->NodeChanged(this);
}

void TTreeNode::SetSelectedIndex(int index) {
    selectedIndex_ = index;
    owner_->NodeChanged(this);
}

void TTreeNode::SetCut(bool cut) {
    cut_ = cut;
    owner_->NodeStateChanged(this);
}

TTreeNode* TTreeNode::GetNext() const {
    if (firstChild_) return firstChild_;
    for (const TTreeNode* n = this; n; n = n->parent_) {
        if (n->next_) return n->next_;
    }
    return nullptr;
}

int TTreeNode::Level() const {
    int level = 0;
    for (const TTreeNode* p = parent_; p; p = p->parent_) ++level;
    return level;
}

int TTreeNode::Index() const {
    int index = 0;
    for (const TTreeNode* p = prev_; p; p = p->prev_) ++index;
    return index;
}

bool TTreeNode::IsDescendantOf(const TTreeNode* ancestor) const {
    for (const TTreeNode* p = parent_; p; p = p->parent_) {
        if (p == ancestor) return true;
    }
    return false;
}

// ---- TTreeView: model ------------------------------------------------------

TTreeView::TTreeView(std::string name)
    : TControl(std::move(name)),
      drag_(*this, *this, [this](UINT msg, WPARAM wp, LPARAM lp) { return DefaultMessage(msg, wp, lp); }) {
    drag_.showTarget = [this](const POINT* at, bool accept) { ShowDropTarget(at, accept); };
}

TTreeView::~TTreeView() {
    OnChange = nullptr;
    OnExpanded = nullptr;
    OnCollapsed = nullptr;
    static_cast<TMouseDragEvents&>(*this) = TMouseDragEvents{};
    DestroyControl();
    for (TTreeNode* n = first_; n;) {
        TTreeNode* next = n->next_;
        FreeSubtree(n);
        n = next;
    }
}

TTreeNode* TTreeView::NewNode(const std::string& text) {
    auto* node = new TTreeNode(this);
    node->text_ = text;
    return node;
}

void TTreeView::Link(TTreeNode* node, TTreeNode* parent, TTreeNode* before) {
    TTreeNode*& head = parent ? parent->firstChild_ : first_;
    TTreeNode*& tail = parent ? parent->lastChild_ : last_;
    node->parent_ = parent;
    node->next_ = before;
    node->prev_ = before ? before->prev_ : tail;
    if (node->prev_) node->prev_->next_ = node;
    else head = node;
    if (before) before->prev_ = node;
    else tail = node;
    if (parent) ++parent->childCount_;
}

void TTreeView::Unlink(TTreeNode* node) {
    TTreeNode* parent = node->parent_;
    TTreeNode*& head = parent ? parent->firstChild_ : first_;
    TTreeNode*& tail = parent ? parent->lastChild_ : last_;
    if (node->prev_) node->prev_->next_ = node->next_;
    else head = node->next_;
    if (node->next_) node->next_->prev_ = node->prev_;
    else tail = node->prev_;
    if (parent) --parent->childCount_;
    node->prev_ = node->next_ = nullptr;
    node->parent_ = nullptr;
}

void TTreeView::FreeSubtree(TTreeNode* node) {
    for (TTreeNode* c = node->firstChild_; c;) {
        TTreeNode* next = c->next_;
        FreeSubtree(c);
        c = next;
    }
    --count_;
    delete node;
}

TTreeNode* TTreeView::AddChild(TTreeNode* parent, const std::string& text) {
    TTreeNode* node = NewNode(text);
    Link(node, parent, nullptr);
    ++count_;
    ShowNode(node);
    return node;
}

TTreeNode* TTreeView::AddChildFirst(TTreeNode* parent, const std::string& text) {
    TTreeNode* node = NewNode(text);
    Link(node, parent, parent ? parent->firstChild_ : first_);
    ++count_;
    ShowNode(node);
    return node;
}

TTreeNode* TTreeView::Insert(TTreeNode* sibling, const std::string& text) {
    TTreeNode* node = NewNode(text);
    Link(node, sibling ? sibling->parent_ : nullptr, sibling);
    ++count_;
    ShowNode(node);
    return node;
}

TTreeNode* TTreeView::InsertAfter(TTreeNode* sibling, const std::string& text) {
    if (!sibling) return AddChild(nullptr, text);
    TTreeNode* node = NewNode(text);
    Link(node, sibling->parent_, sibling->next_);
    ++count_;
    ShowNode(node);
    return node;
}

void TTreeView::Delete(TTreeNode* node) {
    if (!node) return;
    Detach(node);
    FreeDetached(node);
}

namespace {
int SubtreeSize(const TTreeNode* node) {
    int size = 1;
    // Parenthesised: windowsx.h has macros of these names.
    for (const TTreeNode* c = (node->GetFirstChild)(); c; c = (c->GetNextSibling)()) size += SubtreeSize(c);
    return size;
}
}  // namespace

void TTreeView::Detach(TTreeNode* node) {
    if (!node) return;
    // Whoever holds the pressed entry must let go before it goes.
    drag_.Cancel();
    if (selected_ == node || (selected_ && selected_->IsDescendantOf(node))) selected_ = nullptr;
    HideSubtree(node);
    TTreeNode* parent = node->parent_;
    Unlink(node);
    count_ -= SubtreeSize(node);
    if (parent && !parent->HasChildren()) ShowButton(parent);
}

void TTreeView::Reattach(TTreeNode* node, TTreeNode* parent, TTreeNode* before) {
    if (!node || node->owner_ != this) return;
    Link(node, parent, before);
    count_ += SubtreeSize(node);
    ShowSubtree(node);
}

void TTreeView::FreeDetached(TTreeNode* node) {
    for (TTreeNode* c = node->firstChild_; c;) {
        TTreeNode* next = c->next_;
        FreeDetached(c);
        c = next;
    }
    delete node;
}

void TTreeView::Clear() {
    drag_.Cancel();
    selected_ = nullptr;
    if (Handle()) ::SendMessageA(Handle(), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    selected_ = nullptr;
    while (first_) {
        TTreeNode* n = first_;
        Unlink(n);
        FreeSubtree(n);
    }
    count_ = 0;
}

void TTreeView::MoveBefore(TTreeNode* node, TTreeNode* parent, TTreeNode* sibling) {
    if (!node || node == sibling || (parent && (parent == node || parent->IsDescendantOf(node)))) return;
    bool wasSelected = selected_ == node || (selected_ && selected_->IsDescendantOf(node));
    TTreeNode* keep = selected_;
    HideSubtree(node);
    TTreeNode* oldParent = node->parent_;
    Unlink(node);
    if (oldParent && !oldParent->HasChildren()) ShowButton(oldParent);
    Link(node, parent, sibling);
    ShowSubtree(node);
    if (wasSelected) Select(keep);
}

TTreeNode* TTreeView::CopySubtree(const TTreeNode* src, TTreeNode* parent, TTreeNode* before) {
    TTreeNode* node = NewNode(src->text_);
    node->imageIndex_ = src->imageIndex_;
    node->selectedIndex_ = src->selectedIndex_;
    node->stateIndex_ = src->stateIndex_;
    node->ItemId = src->ItemId;
    Link(node, parent, before);
    ++count_;
    ShowNode(node);
    for (const TTreeNode* c = src->firstChild_; c; c = c->next_) CopySubtree(c, node);
    return node;
}

void TTreeView::Assign(const TTreeView& source) {
    if (&source == this) return;
    BeginUpdate();
    Clear();
    for (const TTreeNode* n = source.first_; n; n = n->next_) CopySubtree(n, nullptr);
    EndUpdate();
}

// ---- TTreeView: window -----------------------------------------------------

void TTreeView::CreateWnd(HWND parent, DWORD extraStyle) {
    if (Handle()) return;
    CreateControl(parent, WC_TREEVIEWA, "",
                  WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS | extraStyle,
                  WS_EX_CLIENTEDGE);
    Subclass();
    ::SendMessageA(Handle(), TVM_SETINDENT, indent_, 0);
    SetImages(images_);
    for (TTreeNode* n = first_; n; n = n->next_) ShowSubtree(n);
}

bool TTreeView::InWindow(const TTreeNode* node) const {
    return !node->parent_ || (node->parent_->handle_ && node->parent_->filled_);
}

void TTreeView::ShowNode(TTreeNode* node, bool append) {
    if (!Handle()) return;
    if (updateDepth_ > 0 && !rebuilding_) {
        // Shown all at once when the update ends.
        viewStale_ = true;
        return;
    }
    const bool firstChild = node->parent_ && node->parent_->Count() == 1;
    if (!InWindow(node)) {
        // It goes in when its parent is opened; until then the parent's button says it is there.
        if (firstChild) ShowButton(node->parent_);
        return;
    }
    TVINSERTSTRUCTA ins{};
    ins.hParent = node->parent_ ? node->parent_->handle_ : TVI_ROOT;
    ins.hInsertAfter = append ? TVI_LAST : node->prev_ ? node->prev_->handle_ : TVI_FIRST;
    ins.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM | TVIF_STATE | TVIF_CHILDREN;
    ins.item.pszText = const_cast<char*>(node->text_.c_str());
    ins.item.iImage = ViewImage(node->imageIndex_);
    ins.item.iSelectedImage = ViewImage(node->selectedIndex_);
    ins.item.stateMask = TVIS_CUT;
    ins.item.state = node->cut_ ? TVIS_CUT : 0;
    ins.item.cChildren = node->HasChildren() ? 1 : 0;
    ins.item.lParam = reinterpret_cast<LPARAM>(node);
    node->filled_ = false;
    node->handle_ =
        reinterpret_cast<HTREEITEM>(::SendMessageA(Handle(), TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&ins)));
    if (firstChild) ShowButton(node->parent_);
}

void TTreeView::ShowSubtree(TTreeNode* node, bool append) {
    ShowNode(node, append);
    if (node->expanded_ && node->handle_) {
        FillChildren(node);
        ::SendMessageA(Handle(), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(node->handle_));
    }
}

void TTreeView::FillChildren(TTreeNode* node) {
    if (!Handle() || !node->handle_ || node->filled_) return;
    if (updateDepth_ > 0 && !rebuilding_) {
        // The rebuild at the end of the update shows what is needed then.
        viewStale_ = true;
        return;
    }
    node->filled_ = true;
    for (TTreeNode* c = node->firstChild_; c; c = c->next_) ShowSubtree(c, true);
}

void TTreeView::ShowPathTo(TTreeNode* node) {
    if (!node || !node->parent_ || InWindow(node)) return;
    ShowPathTo(node->parent_);
    FillChildren(node->parent_);
}

void TTreeView::ShowButton(TTreeNode* node) {
    if (!Handle() || !node->handle_) return;
    if (updateDepth_ > 0 && !rebuilding_) {
        viewStale_ = true;
        return;
    }
    TVITEMA item{};
    item.mask = TVIF_HANDLE | TVIF_CHILDREN;
    item.hItem = node->handle_;
    item.cChildren = node->HasChildren() ? 1 : 0;
    ::SendMessageA(Handle(), TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

void TTreeView::DestroyWnd() {
    DestroyControl();
    for (TTreeNode* n = first_; n; n = n->next_) ForgetHandles(n);
}

void TTreeView::ForgetHandles(TTreeNode* node) {
    node->handle_ = nullptr;
    node->filled_ = false;
    for (TTreeNode* c = node->firstChild_; c; c = c->next_) ForgetHandles(c);
}

void TTreeView::HideSubtree(TTreeNode* node) {
    if (Handle() && node->handle_) ::SendMessageA(Handle(), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(node->handle_));
    ForgetHandles(node);
}

void TTreeView::NodeChanged(TTreeNode* node) {
    if (!Handle() || !node->handle_) return;
    if (updateDepth_ > 0) {
        viewStale_ = true;
        return;
    }
    TVITEMA item{};
    item.mask = TVIF_HANDLE | TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    item.hItem = node->handle_;
    item.pszText = const_cast<char*>(node->text_.c_str());
    item.iImage = ViewImage(node->imageIndex_);
    item.iSelectedImage = ViewImage(node->selectedIndex_);
    ::SendMessageA(Handle(), TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

void TTreeView::NodeStateChanged(TTreeNode* node) {
    if (!Handle() || !node->handle_) return;
    if (updateDepth_ > 0) {
        viewStale_ = true;
        return;
    }
    TVITEMA item{};
    item.mask = TVIF_HANDLE | TVIF_STATE;
    item.hItem = node->handle_;
    item.stateMask = TVIS_CUT;
    item.state = node->cut_ ? TVIS_CUT : 0;
    ::SendMessageA(Handle(), TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

void TTreeView::BeginUpdate() {
    if (updateDepth_++ == 0 && Handle()) ::SendMessageA(Handle(), WM_SETREDRAW, FALSE, 0);
}

void TTreeView::EndUpdate() {
    if (updateDepth_ > 0 && --updateDepth_ == 0 && Handle()) {
        if (viewStale_) RebuildView();
        ::SendMessageA(Handle(), WM_SETREDRAW, TRUE, 0);
        ::InvalidateRect(Handle(), nullptr, TRUE);
    }
}

void TTreeView::RebuildView() {
    // One insert per entry the window needs, appended in order; the model's
    // selection and expansion come back without change events.
    rebuilding_ = true;
    TTreeNode* keep = selected_;
    ::SendMessageA(Handle(), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    for (TTreeNode* n = first_; n; n = n->next_) ForgetHandles(n);
    for (TTreeNode* n = first_; n; n = n->next_) ShowSubtree(n, true);
    selected_ = keep;
    ShowPathTo(keep);
    if (keep && keep->handle_)
        ::SendMessageA(Handle(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(keep->handle_));
    rebuilding_ = false;
    viewStale_ = false;
}

void TTreeView::Select(TTreeNode* node) {
    if (Handle()) ShowPathTo(node);
    if (Handle() && (!node || node->handle_)) {
        // The window reports the change back through TVN_SELCHANGED.
        ::SendMessageA(Handle(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(node ? node->handle_ : nullptr));
        if (selected_ == node) return;
    }
    selected_ = node;
    if (OnChange) OnChange(this, node);
}

void TTreeView::Expand(TTreeNode* node) {
    if (!node || !node->HasChildren()) return;
    if (Handle()) {
        ShowPathTo(node);
        FillChildren(node);
    }
    if (Handle() && node->handle_)
        ::SendMessageA(Handle(), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(node->handle_));
    if (!node->expanded_) {
        node->expanded_ = true;
        if (OnExpanded) OnExpanded(this, node);
    }
}

TTreeNode* TTreeView::GetNodeAt(int x, int y) const {
    if (!Handle()) return nullptr;
    TVHITTESTINFO hit{};
    hit.pt = POINT{x, y};
    auto h = reinterpret_cast<HTREEITEM>(::SendMessageA(Handle(), TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    if (!h || !(hit.flags & (TVHT_ONITEM | TVHT_ONITEMINDENT | TVHT_ONITEMRIGHT | TVHT_ONITEMBUTTON))) return nullptr;
    TVITEMA item{};
    item.mask = TVIF_HANDLE | TVIF_PARAM;
    item.hItem = h;
    ::SendMessageA(Handle(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return reinterpret_cast<TTreeNode*>(item.lParam);
}

bool TTreeView::WindowMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    // Pictures added since the last paint reach the scaled copy first.
    if (msg == WM_PAINT && images_) ShowImages();
    // The menu key and Shift+F10 are not turned into WM_CONTEXTMENU by every tree view.
    const bool menuKey =
        (msg == WM_KEYDOWN && wp == VK_APPS) || (msg == WM_SYSKEYDOWN && wp == VK_F10 && ::GetKeyState(VK_SHIFT) < 0);
    if ((msg == WM_CONTEXTMENU || menuKey) && OnContextPopup) {
        if (ContextMenuWanted()) ContextPopup(menuKey ? -1 : lp);
        result = 0;
        return true;
    }
    // Wine's tree view swallows the Alt keys, so Alt+F4 and Alt+Space would
    // not reach the window; they mean nothing to the tree itself.
    if (msg == WM_SYSKEYDOWN || msg == WM_SYSKEYUP || msg == WM_SYSCHAR) {
        result = ::DefWindowProcW(Handle(), msg, wp, lp);
        return true;
    }
    return drag_.WindowMessage(msg, wp, lp, result);
}

void TTreeView::ContextPopup(LPARAM at) {
    POINT screen{GET_X_LPARAM(at), GET_Y_LPARAM(at)};
    TTreeNode* node = nullptr;
    if (at == -1) {
        // Shift+F10 or the menu key: below the selected entry's caption.
        node = selected_;
        RECT r{};
        const HTREEITEM item = node ? node->handle_ : nullptr;
        std::memcpy(&r, &item, sizeof(item));  // the rectangle goes in carrying the item
        if (!item || !::SendMessageA(Handle(), TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&r))) r = RECT{};
        screen = POINT{r.left, r.bottom};
        ::ClientToScreen(Handle(), &screen);
    } else {
        POINT client = screen;
        ::ScreenToClient(Handle(), &client);
        node = GetNodeAt(client.x, client.y);
    }
    TTVContextEvent handler = OnContextPopup;
    handler(this, node, screen);
}

void TTreeView::ShowDropTarget(const POINT* at, bool accept) {
    TTreeNode* node = at && accept ? GetNodeAt(at->x, at->y) : nullptr;
    ::SendMessageA(Handle(), TVM_SELECTITEM, TVGN_DROPHILITE, reinterpret_cast<LPARAM>(node ? node->handle_ : nullptr));
}

void TTreeView::SetImages(TImageList* images) {
    images_ = images;
    shownImages_ = nullptr;
    ShowImages();
}

void TTreeView::SetImagesDpi(int dpi) {
    imagesDpi_ = dpi;
    ShowImages();
}

int TTreeView::ImagesDpi() const { return imagesDpi_ ? imagesDpi_ : Handle() ? WindowDpi(Handle()) : SystemDpi(); }

void TTreeView::ShowImages() {
    if (!Handle()) return;
    // Above 96 DPI the pictures are shown from a copy of the list at that size.
    const int dpi = ImagesDpi();
    HIMAGELIST list =
        images_ ? images_->ViewHandle(ScaleToDpi(images_->Width(), dpi), ScaleToDpi(images_->Height(), dpi)) : nullptr;
    if (list == shownImages_) return;
    shownImages_ = list;
    ::SendMessageA(Handle(), TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(list));
}

void TTreeView::SetIndent(int indent) {
    indent_ = indent;
    if (Handle()) ::SendMessageA(Handle(), TVM_SETINDENT, indent, 0);
}

bool TTreeView::CustomDraw(const NMTVCUSTOMDRAW& draw, LRESULT& result) {
    result = CDRF_DODEFAULT;
    if (draw.nmcd.dwDrawStage == CDDS_PREPAINT) {
        result = CDRF_NOTIFYITEMDRAW;
    } else if (draw.nmcd.dwDrawStage == CDDS_ITEMPREPAINT) {
        // The window draws the entry's picture right after this.
        auto* node = reinterpret_cast<TTreeNode*>(draw.nmcd.lItemlParam);
        if (!node) return true;
        if (OnGetImageIndex) OnGetImageIndex(this, node);
        if (images_) {
            images_->ViewSlot(node->imageIndex_);
            images_->ViewSlot(node->selectedIndex_);
        }
    }
    return true;
}

bool TTreeView::OnNotify(const NMHDR& nm, LRESULT& result) {
    result = 0;
    if (nm.code == NM_CUSTOMDRAW) return CustomDraw(reinterpret_cast<const NMTVCUSTOMDRAW&>(nm), result);
    const auto& tv = reinterpret_cast<const NMTREEVIEWA&>(nm);
    if (nm.code == TVN_ITEMEXPANDINGA || nm.code == TVN_ITEMEXPANDINGW) {
        // The children go in just before the window opens the node.
        auto* node = reinterpret_cast<TTreeNode*>(tv.itemNew.lParam);
        if (node && (tv.action & TVE_EXPAND)) FillChildren(node);
        return true;
    }
    if (rebuilding_) return false;
    switch (nm.code) {
        case TVN_SELCHANGEDA:
        case TVN_SELCHANGEDW: {
            auto* node = reinterpret_cast<TTreeNode*>(tv.itemNew.lParam);
            if (!tv.itemNew.hItem) node = nullptr;
            selected_ = node;
            if (OnChange) OnChange(this, node);
            return true;
        }
        case NM_RCLICK:
            // Answered here, the tree view sends no WM_CONTEXTMENU after it.
            if (!OnContextPopup) return false;
            if (ContextMenuWanted()) ContextPopup(static_cast<LPARAM>(::GetMessagePos()));
            result = 1;
            return true;
        case TVN_ITEMEXPANDEDA:
        case TVN_ITEMEXPANDEDW: {
            auto* node = reinterpret_cast<TTreeNode*>(tv.itemNew.lParam);
            if (!node) return true;
            // Wine also reports programmatic expansion: react to real changes only.
            bool expand = (tv.action & TVE_EXPAND) != 0;
            if (expand == node->expanded_) return true;
            node->expanded_ = expand;
            const TTVChangedEvent& ev = expand ? OnExpanded : OnCollapsed;
            if (ev) ev(this, node);
            return true;
        }
        default: return false;
    }
}

}  // namespace rz
