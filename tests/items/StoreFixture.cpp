#include "StoreFixture.h"

namespace rztest {

std::vector<rz::TTreeNode*> StoreTest::TopEntries() const {
    std::vector<rz::TTreeNode*> out;
    for (rz::TTreeNode* n = TVItems.GetFirstNode(); n; n = n->GetNextSibling()) {
        if (rz::IsSystemEntry(n)) break;
        if (!rz::IsAnchorEntry(n)) out.push_back(n);
    }
    return out;
}

std::string StoreTest::Dump(const rz::TTreeNode* first, int depth) {
    std::string out;
    for (const rz::TTreeNode* n = first; n; n = n->GetNextSibling()) {
        out += std::string(depth, ' ') + n->Text() + "[" + std::to_string(n->ImageIndex()) + "]#" +
               std::to_string(n->ItemId) + "\n";
        out += Dump(n->GetFirstChild(), depth + 1);
    }
    return out;
}

std::string StoreTest::DumpMenu(const rz::TMenuItem& level, int depth) {
    std::string out;
    for (int i = 0; i < level.Count(); ++i) {
        const rz::TMenuItem* m = level.Items(i);
        out += std::string(depth, ' ') + m->Caption + "[" + std::to_string(m->ImageIndex) + "]@" +
               std::to_string(m->Tag) + (m->Visible ? "" : "~") + "\n";
        out += DumpMenu(*m, depth + 1);
    }
    return out;
}

}  // namespace rztest
