#include "EditBench.h"

#include <cstdio>
#include <string>

#include "BenchSupport.h"
#include "items/ItemKinds.h"
#include "items/LauncherParts.h"
#include "manager/ItemCommands.h"

namespace rzbench {

namespace {

constexpr char kTyped[] = "Renamed entry";
constexpr int kRounds = 20;

}  // namespace

void RunEditBench(int n) {
    rz::TTreeView tree("TVItems");
    rz::LauncherParts parts(tree);
    parts.store.PrepareBaseTree();
    rz::TTreeNode* anchor = tree.AddChildFirst(nullptr, "");
    anchor->SetImageIndex(rz::kIconAnchor);
    // Half in one level, half in folders of a hundred.
    rz::TTreeNode* after = anchor;
    for (int i = 0; i < n / 2; ++i) after = tree.InsertAfter(after, "Entry " + std::to_string(i));
    for (int f = 0; f < n / 200; ++f) {
        rz::TTreeNode* folder = tree.InsertAfter(after, "Folder " + std::to_string(f));
        folder->SetImageIndex(rz::kIconFolder);
        rz::TTreeNode* inside = tree.AddChild(folder, "");
        for (int i = 0; i < 100; ++i) inside = tree.InsertAfter(inside, "Inner " + std::to_string(i));
        after = folder;
    }
    rz::TTreeNode* entry = anchor->GetNextSibling();
    rz::ItemCommands commands(parts.store);

    double typing = 0, undo = 0, redo = 0;
    const size_t letters = sizeof(kTyped) - 1;
    for (int round = 0; round < kRounds; ++round) {
        Stopwatch typed;
        for (size_t length = 1; length <= letters; ++length) commands.Rename(entry, std::string(kTyped, length));
        typing += typed.Ms();
        rz::TTreeNode* show = nullptr;
        Stopwatch back;
        commands.history.Undo(show);
        undo += back.Ms();
        Stopwatch again;
        commands.history.Redo(show);
        redo += again.Ms();
        commands.history.Clear();
    }
    rz::TTreeView copy("TVUndo");
    Stopwatch copying;
    copy.Assign(tree);
    const double copyMs = copying.Ms();
    std::printf(
        "edits %d items (%d in the tree): %.4f ms per typed letter, %.4f ms to take a name back, "
        "%.4f ms to do it again; a copy of the tree %.1f ms\n",
        n, tree.Count(), typing / (kRounds * letters), undo / kRounds, redo / kRounds, copyMs);
}

}  // namespace rzbench
