// The tree window holds a folder's children only once needed; the model stays whole.

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "platform/Bitmap.h"
#include "platform/Form.h"
#include "platform/ImageList.h"
#include "platform/TreeView.h"

using rz::TTreeNode;
using rz::TTreeView;

namespace {

std::unique_ptr<rz::TBitmap> Solid(int w, int h, uint32_t argb) {
    auto b = std::make_unique<rz::TBitmap>(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) b->SetPixel(x, y, argb);
    return b;
}

// The middle pixel of a view picture, 0xRRGGBB.
uint32_t ViewColour(HIMAGELIST view, int slot) {
    int w = 0, h = 0;
    ::ImageList_GetIconSize(view, &w, &h);
    rz::TBitmap canvas(w, h);
    ::ImageList_Draw(view, slot, canvas.Canvas(), 0, 0, ILD_NORMAL);
    return canvas.Pixel(w / 2, h / 2) & 0xFFFFFF;
}

}  // namespace

TEST(LazyTree, TheWindowHoldsWhatWasOpenedOrNeeded) {
    rz::TForm host{"LazyTreeHost"};
    host.CreateForm("", 240, 300);
    TTreeView tree{"LazyTree"};
    tree.SetBounds(0, 0, 220, 280);
    // Two folders of three levels, a link between them.
    for (const char* name : {"A", "x", "B"}) {
        TTreeNode* top = tree.AddChild(nullptr, name);
        for (int i = 0; i < 3 && *name != 'x'; ++i)
            tree.AddChild(tree.AddChild(top, name + std::to_string(i)), name + std::to_string(i) + "-leaf");
    }
    tree.CreateWnd(host.Handle());
    ASSERT_NE(tree.Handle(), nullptr);
    auto WindowCount = [&] { return static_cast<int>(::SendMessageA(tree.Handle(), TVM_GETCOUNT, 0, 0)); };
    auto ShowsButton = [&](const TTreeNode* node) {
        TVITEMA item{};
        item.mask = TVIF_HANDLE | TVIF_CHILDREN;
        item.hItem = node->Handle();
        ::SendMessageA(tree.Handle(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        return item.cChildren != 0;
    };
    auto Top = [&](int i) {
        TTreeNode* n = tree.GetFirstNode();
        while (i-- > 0) n = n->GetNextSibling();
        return n;
    };
    TTreeNode* a = Top(0);
    TTreeNode* b = Top(2);
    EXPECT_EQ(tree.Count(), 15);
    EXPECT_EQ(WindowCount(), 3);
    EXPECT_TRUE(ShowsButton(a));
    EXPECT_FALSE(ShowsButton(Top(1)));
    EXPECT_EQ(a->GetFirstChild()->Handle(), nullptr);

    // Opened by the user: the window asks first, the children go in then.
    tree.Select(a);
    ::SendMessageA(tree.Handle(), WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_TRUE(a->Expanded());
    EXPECT_EQ(WindowCount(), 6);
    EXPECT_TRUE(ShowsButton(a->GetFirstChild()));

    // Needed: selecting a leaf of an unopened folder brings in its path only.
    TTreeNode* leaf = b->GetFirstChild()->GetNextSibling()->GetFirstChild();
    tree.Select(leaf);
    ASSERT_NE(leaf->Handle(), nullptr);
    EXPECT_EQ(reinterpret_cast<HTREEITEM>(::SendMessageA(tree.Handle(), TVM_GETNEXTITEM, TVGN_CARET, 0)),
              leaf->Handle());
    EXPECT_EQ(WindowCount(), 10);

    // A node whose children are not in the window still gains and loses its button.
    TTreeNode* a0 = a->GetFirstChild();
    tree.MoveBefore(a0->GetFirstChild(), Top(1), nullptr);
    EXPECT_FALSE(ShowsButton(a0));
    EXPECT_TRUE(ShowsButton(Top(1)));
    tree.Delete(Top(1)->GetFirstChild());
    EXPECT_FALSE(ShowsButton(Top(1)));

    // A rebuild keeps the selection's path and leaves the rest out again.
    tree.BeginUpdate();
    tree.AddChild(b->GetFirstChild(), "late");
    tree.EndUpdate();
    EXPECT_EQ(tree.Selected(), leaf);
    ASSERT_NE(leaf->Handle(), nullptr);
    EXPECT_EQ(b->GetFirstChild()->GetFirstChild()->Handle(), nullptr);
}

// Above 96 DPI the tree shows its list's pictures at that size, each made when
// an entry showing it is painted (ViewPicture's, else scaled) and again after a change.
TEST(TreeViewImages, AViewPictureIsMadeWhenItsEntryIsPaintedAndAgainAfterItChanges) {
    rz::TForm host{"ViewHost"};
    host.CreateForm("", 240, 300);
    rz::TImageList list("Pictures", 16, 18);
    for (uint32_t colour : {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu})
        ASSERT_GE(list.Add(rz::TBitmap::Unselected(*Solid(16, 18, colour)).get(), nullptr), 0);
    std::vector<int> asked;
    list.ViewPicture = [&asked](int slot, int w, int h) -> std::unique_ptr<rz::TBitmap> {
        asked.push_back(slot);
        return slot == 1 ? Solid(w, h, 0xFFFFFFFFu) : nullptr;
    };
    TTreeView tree("Tree");
    tree.SetBounds(0, 0, 220, 280);
    tree.SetImages(&list);
    tree.SetImagesDpi(144);
    TTreeNode* folder = nullptr;
    for (int slot : {0, 1, 2}) {
        TTreeNode* node = tree.AddChild(slot == 2 ? folder : nullptr, std::to_string(slot));
        node->SetImageIndex(slot);
        node->SetSelectedIndex(slot);
        if (slot == 1) folder = node;
    }
    tree.CreateWnd(host.Handle());
    host.Show();
    ::UpdateWindow(tree.Handle());
    const auto view = reinterpret_cast<HIMAGELIST>(::SendMessageA(tree.Handle(), TVM_GETIMAGELIST, TVSIL_NORMAL, 0));
    ASSERT_NE(view, nullptr);
    int w = 0, h = 0;
    ::ImageList_GetIconSize(view, &w, &h);
    EXPECT_EQ(w, 24);
    EXPECT_EQ(h, 27);
    EXPECT_EQ(::ImageList_GetImageCount(view), 3);
    EXPECT_EQ(std::count(asked.begin(), asked.end(), 2), 0) << "the closed folder's entry was not painted";
    EXPECT_EQ(ViewColour(view, 0), 0xFF0000u) << "the list's picture, scaled";
    EXPECT_EQ(ViewColour(view, 1), 0xFFFFFFu) << "the better picture";

    auto green = Solid(16, 18, 0xFF00FF00u);
    ASSERT_TRUE(list.Replace(0, rz::TBitmap::Unselected(*green).get(), nullptr));
    ::InvalidateRect(tree.Handle(), nullptr, FALSE);
    ::UpdateWindow(tree.Handle());
    EXPECT_EQ(ViewColour(view, 0), 0x00FF00u);
    tree.Expand(folder);
    ::UpdateWindow(tree.Handle());
    EXPECT_EQ(std::count(asked.begin(), asked.end(), 2), 1);
    EXPECT_EQ(ViewColour(view, 2), 0x0000FFu);
    host.Hide();
}
