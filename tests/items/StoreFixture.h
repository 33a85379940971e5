#pragma once
// A real item manager form (image lists, trees, menus) with its store
// pointed at a temporary data folder.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "TestSupport.h"
#include "manager/form_items.h"

namespace rztest {

class StoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = std::make_unique<rz::TFormItems>();
        store = &form->store;
        store->SetDataFolder(dir.Path());
        store->icons.MakeWorkSurfaces();
    }

    void Load() {
        store->PrepareBaseTree();
        ASSERT_TRUE(store->LoadPass1());
        store->LoadPass2();
    }

    void WriteList(const std::string& rel, const std::string& content) {
        MakeDir(dir / "shortcuts");
        WriteFile(dir / ("shortcuts\\" + rel), content);
    }

    // The top-level user entries of the tree, between anchor and system entries.
    std::vector<rz::TTreeNode*> TopEntries() const;
    // "text[image]#id" of every entry of a level, children indented by blanks.
    static std::string Dump(const rz::TTreeNode* first, int depth = 0);
    static std::string DumpMenu(const rz::TMenuItem& level, int depth = 0);

    TempDir dir;
    std::unique_ptr<rz::TFormItems> form;
    rz::ItemStore* store = nullptr;
};

}  // namespace rztest
