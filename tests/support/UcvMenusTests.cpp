#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "support/UcvMenus.h"

using namespace rz;

namespace {

TMenuItem* AddEntry(TMenuItem& parent, const std::string& caption, int tag) {
    TMenuItem* e = parent.Add(std::make_unique<TMenuItem>());
    e->Caption = caption;
    e->Tag = tag;
    return e;
}

// root(Tag 7) -> A, B(B1, B2(B2a)), "-"
void BuildSource(TMenuItem& root, std::vector<std::string>& clicks) {
    root.Caption = "root";
    root.Tag = 7;
    TMenuItem* a = AddEntry(root, "A", 1);
    a->ImageIndex = 3;
    a->Hint = "hint A";
    a->ShortCut = 0x4C;
    a->Visible = false;
    a->Enabled = false;
    a->OnClick = [&clicks](TObject*) { clicks.push_back("A"); };
    a->OnMeasureItem = [](TObject*, HDC, int&, int&) {};
    a->OnDrawItem = [](TObject*, HDC, const RECT&, bool) {};
    TMenuItem* b = AddEntry(root, "B", 2);
    AddEntry(*b, "B1", 21);
    AddEntry(*AddEntry(*b, "B2", 22), "B2a", 221);
    AddEntry(root, "-", 3);
}

}  // namespace

TEST(CopyMenuTree, CopiesPropertiesOrderAndTagsRecursively) {
    std::vector<std::string> clicks;
    TMenuItem source;
    BuildSource(source, clicks);
    TMenuItem target;
    AddEntry(target, "existing", 99);

    CopyMenuTree(source, target);

    EXPECT_EQ(target.Caption, "root");
    EXPECT_EQ(target.Tag, 7);
    ASSERT_EQ(target.Count(), 4);
    EXPECT_EQ(target.Items(0)->Caption, "existing") << "copies are appended";
    const TMenuItem* a = target.Items(1);
    EXPECT_EQ(a->Caption, "A");
    EXPECT_EQ(a->Tag, 1);
    EXPECT_EQ(a->ImageIndex, 3);
    EXPECT_EQ(a->Hint, "hint A");
    EXPECT_EQ(a->ShortCut, 0x4C);
    EXPECT_FALSE(a->Visible);
    EXPECT_FALSE(a->Enabled);
    EXPECT_EQ(a->Parent(), &target);
    ASSERT_TRUE(a->OnClick);
    a->OnClick(nullptr);
    EXPECT_EQ(clicks, std::vector<std::string>{"A"});
    EXPECT_FALSE(a->OnMeasureItem);
    EXPECT_FALSE(a->OnDrawItem);

    const TMenuItem* b = target.Items(2);
    EXPECT_EQ(b->Caption, "B");
    EXPECT_TRUE(b->Visible);
    ASSERT_EQ(b->Count(), 2);
    EXPECT_EQ(b->Items(0)->Caption, "B1");
    EXPECT_EQ(b->Items(0)->Tag, 21);
    EXPECT_EQ(b->Items(1)->Tag, 22);
    ASSERT_EQ(b->Items(1)->Count(), 1);
    EXPECT_EQ(b->Items(1)->Items(0)->Caption, "B2a");
    EXPECT_EQ(b->Items(1)->Items(0)->Tag, 221);
    EXPECT_EQ(target.Items(3)->Caption, "-");

    // The copy is independent of the source.
    EXPECT_NE(b->Items(0), source.Items(1)->Items(0));
    EXPECT_EQ(source.Count(), 3);
}

TEST(CopyMenuTree, RoutineReplacesThePropertyCopyInPreOrder) {
    std::vector<std::string> clicks;
    TMenuItem source;
    BuildSource(source, clicks);
    TMenuItem target;
    std::vector<std::string> visited;
    CopyMenuTree(source, target, [&](const TMenuItem& s, TMenuItem& t) {
        visited.push_back(s.Caption);
        t.Caption = "copy of " + s.Caption;
    });
    EXPECT_EQ(visited, (std::vector<std::string>{"root", "A", "B", "B1", "B2", "B2a", "-"}));
    ASSERT_EQ(target.Count(), 3);
    EXPECT_EQ(target.Items(1)->Items(1)->Items(0)->Caption, "copy of B2a");
    EXPECT_EQ(target.Items(0)->Tag, 0);
    EXPECT_FALSE(target.Items(0)->OnClick);
}
