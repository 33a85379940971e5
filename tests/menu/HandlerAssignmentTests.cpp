// Switching the launcher menu's handlers between own and platform drawing,
// and renewing the Razaveza Kit entries.

#include <map>

#include "MenuDrawFixture.h"

using namespace rztest;
using rz::TMenuItem;

namespace {

enum class Drawn { None, Item, Separator, Broken };

// Tells the handlers apart by what they paint: a titled separator etches a
// line across the row, an entry fills it.
Drawn DrawnAs(TMenuItem& entry) {
    if (!entry.OnDrawItem && !entry.OnMeasureItem) return Drawn::None;
    if (!entry.OnDrawItem || !entry.OnMeasureItem) return Drawn::Broken;
    Surface s(220, 19);
    int w = 0, h = 0;
    entry.OnMeasureItem(&entry, s.Canvas(), w, h);
    entry.OnDrawItem(&entry, s.Canvas(), RECT{0, 0, 200, 19}, false);
    if (h != 19) return Drawn::Broken;
    if (s.At(195, 9) == Sys(COLOR_BTNSHADOW)) return Drawn::Separator;
    if (s.At(195, 9) == Sys(COLOR_MENU)) return Drawn::Item;
    return Drawn::Broken;
}

Drawn Expected(int tag, bool windowsDraw) {
    if (tag == rz::kTagNorSep || tag == rz::kTagHidden) return Drawn::None;
    if (tag == rz::kTagSpeSep) return Drawn::Separator;
    return windowsDraw ? Drawn::None : Drawn::Item;
}

// Checks every entry at every depth; returns how many of each Tag were seen.
std::map<int, int> ExpectDrawing(TMenuItem& level, bool windowsDraw, const std::string& path = "") {
    std::map<int, int> seen;
    for (int i = 0; i < level.Count(); ++i) {
        TMenuItem& e = *level.Items(i);
        const std::string where = path + "/" + e.Caption;
        EXPECT_EQ(int(DrawnAs(e)), int(Expected(e.Tag, windowsDraw))) << where << " @" << e.Tag;
        ++seen[e.Tag < 0 ? e.Tag : 0];
        for (auto [tag, n] : ExpectDrawing(e, windowsDraw, where)) seen[tag] += n;
    }
    return seen;
}

int HandlersAnywhere(const TMenuItem& level) {
    int n = 0;
    for (int i = 0; i < level.Count(); ++i) {
        const TMenuItem& e = *level.Items(i);
        n += (e.OnDrawItem ? 1 : 0) + (e.OnMeasureItem ? 1 : 0) + HandlersAnywhere(e);
    }
    return n;
}

TMenuItem& KitOf(rz::TPopupMenu& menu) {
    TMenuItem& root = menu.Items();
    return *root.Items(root.Count() - 2);
}

}  // namespace

class LauncherMenuTest : public MenuDrawTest {
protected:
    // A user folder with a sub-folder, titled and plain separators, loaded
    // with side bars on, in front of the fixed tail.
    void LoadStore() {
        MakeDir(dir / "shortcuts");
        MakeDir(dir / "shortcuts\\Tools");
        MakeDir(dir / "shortcuts\\Tools\\Deep");
        WriteFile(dir / "shortcuts\\shortcuts.txt",
                  "^Folder|Tools\r\n^SpeSep|Top\r\n^NorSep|\r\n^UnkLnk|C:\\x.txt|txt|Doc\r\n");
        WriteFile(dir / "shortcuts\\Tools\\shortcuts.txt",
                  "^UnkLnk|C:\\y.txt|txt|Inner\r\n^SpeSep|Mid\r\n^NorSep|\r\n^Folder|Deep\r\n");
        rz::ItemStore& store = Items().store;
        store.SetDataFolder(dir.Path());
        store.icons.MakeWorkSurfaces();
        store.drawMenuBar = true;
        store.PrepareBaseTree();
        ASSERT_TRUE(store.LoadPass1());
        store.LoadPass2();
        ASSERT_EQ(Items().PMItems.Items().Count(), 4 + 3);
        ASSERT_EQ(Items().PMItems.Items().Items(0)->Items(0)->Tag, rz::kTagBarMaker);
    }
    TempDir dir;
};

TEST_F(LauncherMenuTest, ApplyMenuDrawingGivesEachKindItsHandlersInBothModes) {
    LoadStore();
    TMenuItem& root = Items().PMItems.Items();
    ASSERT_EQ(HandlersAnywhere(root), 0);

    rz::Settings.WindowsDraw = false;
    ShortCuts().ApplyMenuDrawing();
    std::map<int, int> seen = ExpectDrawing(root, false);
    // Two user folders and the Kit carry bar-makers; Sysmenu and two user titles.
    EXPECT_EQ(seen[rz::kTagBarMaker], 3);
    EXPECT_EQ(seen[rz::kTagHidden], 3);
    EXPECT_EQ(seen[rz::kTagSpeSep], 3);
    EXPECT_EQ(seen[rz::kTagNorSep], 2 + 3);

    rz::Settings.WindowsDraw = true;
    ShortCuts().ApplyMenuDrawing();
    ExpectDrawing(root, true);

    rz::Settings.WindowsDraw = false;
    ShortCuts().ApplyMenuDrawing();
    ExpectDrawing(root, false);
}

TEST_F(LauncherMenuTest, ResetRenewsTheKitFromItsTemplateAndClearsAllHandlers) {
    LoadStore();
    ShortCuts().ApplyMenuDrawing();
    TMenuItem& kit = KitOf(Items().PMItems);
    const TMenuItem& source = KitOf(Items().PMBasic);
    ASSERT_EQ(kit.Count(), source.Count());
    ASSERT_EQ(kit.Items(2)->Caption, "Help File");
    ASSERT_EQ(kit.Items(4)->Caption, "Manage Items...");
    kit.Items(2)->Caption = "Changed";
    kit.Items(2)->Tag = 77;
    kit.Items(2)->ImageIndex = 3;
    kit.Items(4)->OnClick = nullptr;
    kit.Items(kit.Count() - 1)->Visible = false;
    kit.Items(1)->Visible = true;

    ShortCuts().ResetLauncherKitEntries();
    ASSERT_EQ(kit.Count(), source.Count());
    for (int i = 0; i < kit.Count(); ++i) {
        const TMenuItem& fresh = *kit.Items(i);
        const TMenuItem& model = *source.Items(i);
        SCOPED_TRACE(model.Caption);
        EXPECT_EQ(fresh.Caption, model.Caption);
        EXPECT_EQ(fresh.Tag, model.Tag);
        EXPECT_EQ(fresh.ImageIndex, model.ImageIndex);
        EXPECT_EQ(fresh.Visible, model.Visible);
        EXPECT_EQ(bool(fresh.OnClick), bool(model.OnClick));
        EXPECT_EQ(fresh.Parent(), &kit);
    }
    EXPECT_EQ(HandlersAnywhere(Items().PMItems.Items()), 0);

    // The renewed "Manage Items..." opens the manager again (left open: hiding
    // or destroying a shown window costs Wine two seconds either way).
    ASSERT_TRUE(kit.Items(4)->OnClick);
    ASSERT_FALSE(Items().Visible());
    kit.Items(4)->OnClick(kit.Items(4));
    EXPECT_TRUE(Items().Visible());

    // The drawing that follows reaches the renewed entries.
    ShortCuts().ApplyMenuDrawing();
    ExpectDrawing(Items().PMItems.Items(), false);
}
