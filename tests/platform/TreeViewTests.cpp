// The tree window holds a folder's children only once they are needed; the
// model stays whole and the window follows it.

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "platform/Form.h"
#include "platform/TreeView.h"

using rz::TTreeNode;
using rz::TTreeView;

namespace {

class LazyTreeTest : public ::testing::Test {
protected:
    void SetUp() override {
        host.CreateForm("", 240, 300);
        tree.SetBounds(0, 0, 220, 280);
        // Two folders of three levels, a link between them.
        for (const char* name : {"A", "x", "B"}) {
            TTreeNode* top = tree.AddChild(nullptr, name);
            if (*name == 'x') continue;
            for (int i = 0; i < 3; ++i) {
                TTreeNode* sub = tree.AddChild(top, std::string(name) + std::to_string(i));
                tree.AddChild(sub, std::string(name) + std::to_string(i) + "-leaf");
            }
        }
        tree.CreateWnd(host.Handle());
        ASSERT_NE(tree.Handle(), nullptr);
    }

    int WindowCount() const { return static_cast<int>(::SendMessageA(tree.Handle(), TVM_GETCOUNT, 0, 0)); }
    bool ShowsButton(const TTreeNode* node) const {
        TVITEMA item{};
        item.mask = TVIF_HANDLE | TVIF_CHILDREN;
        item.hItem = node->Handle();
        ::SendMessageA(tree.Handle(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        return item.cChildren != 0;
    }
    TTreeNode* Top(int i) const {
        TTreeNode* n = tree.GetFirstNode();
        while (i-- > 0) n = n->GetNextSibling();
        return n;
    }

    rz::TForm host{"LazyTreeHost"};
    TTreeView tree{"LazyTree"};
};

}  // namespace

TEST_F(LazyTreeTest, TheWindowHoldsWhatWasOpenedOrNeeded) {
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
