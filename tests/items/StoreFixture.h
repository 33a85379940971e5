#pragma once
// The launcher parts (image lists, trees, menus) without any form, their
// store pointed at a temporary data folder.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "TestSupport.h"
#include "items/LauncherParts.h"

namespace rztest {

class StoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        parts = std::make_unique<rz::LauncherParts>(TVItems);
        store = &parts->store;
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
    rz::TTreeView TVItems{"TVItems"};
    std::unique_ptr<rz::LauncherParts> parts;
    rz::ItemStore* store = nullptr;
};

}  // namespace rztest
