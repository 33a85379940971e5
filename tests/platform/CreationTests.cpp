#include <gtest/gtest.h>

#include <windows.h>

#include "platform/StdControls.h"
#include "platform/SystemError.h"
#include "platform/TreeView.h"

using namespace rz;

// A child window without a parent is refused by the system; the wrappers
// report that instead of going on with no window.
TEST(ControlCreation, ARefusedWindowRaisesTheSystemError) {
    TButton button("Orphan");
    TTreeView tree("OrphanTree");
    for (auto create :
         {+[](TButton&b, TTreeView&) { b.CreateWnd(nullptr); }, +[](TButton&, TTreeView&t) { t.CreateWnd(nullptr); }}) {
        try {
            create(button, tree);
            FAIL() << "no exception";
        } catch (const EOSError& e) {
            EXPECT_NE(e.Code, 0u);
        }
    }
    EXPECT_EQ(button.Handle(), nullptr);
    EXPECT_EQ(tree.Handle(), nullptr);
}
