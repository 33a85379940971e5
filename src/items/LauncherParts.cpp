#include "items/LauncherParts.h"

#include <memory>

#include "items/FixedImages.h"
#include "support/UcvGraphics.h"

namespace rz {

namespace {
std::unique_ptr<TMenuItem> MenuEntry(const char* name, const char* caption, int tag, int image) {
    auto item = std::make_unique<TMenuItem>(name);
    item->Caption = caption;
    item->Tag = tag;
    item->ImageIndex = image;
    return item;
}

TMenuItem* FindEntry(TMenuItem& level, const std::string& name) {
    for (int i = 0; i < level.Count(); ++i) {
        TMenuItem* entry = level.Items(i);
        if (entry->Name == name) return entry;
        if (TMenuItem* inner = FindEntry(*entry, name)) return inner;
    }
    return nullptr;
}
}  // namespace

LauncherParts::LauncherParts(TTreeView& managerTree)
    : store(ItemViews{managerTree, TVUndo, TVBasic, PMItems, PMBasic, ILAllPublicPM, ILAllPublicTV}) {
    RecreateImageList(&ILAllPublicPM);
    RecreateImageList(&ILAllPublicTV);
    LoadFixedImages(ILAllPublicPM, ILAllPublicTV);
    PMItems.Images = &ILAllPublicPM;
    PMBasic.Images = &ILAllPublicPM;
    TVUndo.SetImages(&ILAllPublicTV);
    TVBasic.SetImages(&ILAllPublicTV);
    TVBasic.SetEnabled(false);
    // An icon still to be taken is taken when its entry is first painted.
    managerTree.OnGetImageIndex = [this](TObject*, TTreeNode* node) { store.ShowEntryIcon(*node); };
    BuildBasicTree();
    BuildBasicMenu();
}

TMenuItem* LauncherParts::FixedEntry(const std::string& name) { return FindEntry(PMBasic.Items(), name); }

LaunchHistory& LauncherParts::Launches() {
    launches_.SetFile(store.DataFolder().empty() ? std::string() : store.DataFolder() + "launches.txt");
    return launches_;
}

void LauncherParts::BuildBasicTree() {
    auto add = [this](TTreeNode* parent, const char* text, int image) {
        TTreeNode* n = TVBasic.AddChild(parent, text);
        n->SetImageIndex(image);
        n->SetSelectedIndex(image);
        n->SetStateIndex(image);
        n->ItemId = -1;
        return n;
    };
    add(nullptr, "--Sysmenu--", 4);
    TTreeNode* kit = add(nullptr, "Razaveza Kit", 0);
    add(kit, "Help File", 8);
    add(kit, "---------------", 3);
    add(kit, "Manage Items...", 9);
    add(kit, "Properties...", 10);
    add(kit, "---------------", 3);
    add(kit, "Visit Website", 2);
    add(kit, "---------------", 2);
    add(kit, "About", 2);
    add(nullptr, "Close", 2);
}

// The fixed entries' clicks belong to the item manager, which attaches them.
void LauncherParts::BuildBasicMenu() {
    TMenuItem& root = PMBasic.Items();
    root.Add(MenuEntry("miOwnSysMenu", "Sysmenu", kTagSpeSep, -1));
    TMenuItem* kit = root.Add(MenuEntry("miLauncherKit", "Razaveza Kit", 10, 0));
    auto bar = MenuEntry("miOwnBarMaker", "Razaveza  Kit", kTagBarMaker, -1);
    bar->Visible = false;
    kit->Add(std::move(bar));
    auto hidden = MenuEntry("miOwnHidden", "hidden", kTagHidden, -1);
    hidden->Visible = false;
    kit->Add(std::move(hidden));
    kit->Add(MenuEntry("miHelpFile", "Help File", 0, 8));
    kit->Add(MenuEntry("miN1", "-", kTagNorSep, -1));
    kit->Add(MenuEntry("miManageItems", "Manage Items...", 0, 9));
    kit->Add(MenuEntry("miPreferences", "Preferences...", 0, 10));
    kit->Add(MenuEntry("miN3", "-", kTagNorSep, -1));
    kit->Add(MenuEntry("miVisitWebsite", "Visit Website", 0, -1));
    kit->Add(MenuEntry("miN2", "-", kTagNorSep, -1));
    kit->Add(MenuEntry("miAbout", "About...", 0, -1));
    root.Add(MenuEntry("miCloseApp", "Close", 0, -1));
    root.Tag = 0;
}

}  // namespace rz
