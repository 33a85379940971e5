#include "manager/form_items.h"

#include "app/AppData.h"
#include "dialogs/form_about.h"
#include "dialogs/form_config.h"
#include "items/FixedImages.h"
#include "menu/Launching.h"
#include "support/UcvGraphics.h"

namespace rz {

TFormItems* FormItems = nullptr;

namespace {
constexpr int kClientWidth = 521;
constexpr int kClientHeight = 534;

std::unique_ptr<TMenuItem> MenuEntry(const char* name, const char* caption, int tag, int image) {
    auto item = std::make_unique<TMenuItem>(name);
    item->Caption = caption;
    item->Tag = tag;
    item->ImageIndex = image;
    return item;
}
}  // namespace

TFormItems::TFormItems() : TForm("FormItems") {
    RecreateImageList(&ILAllPublicPM);
    RecreateImageList(&ILAllPublicTV);
    LoadFixedImages(ILAllPublicPM, ILAllPublicTV);
    BuildBasicTree();
    BuildBasicMenu();
    PMItems.Images = &ILAllPublicPM;
    PMBasic.Images = &ILAllPublicPM;

    CreateForm("", kClientWidth, kClientHeight);
    CenterOnScreen();
    TVItems.SetBounds(0, 0, 346, 514);
    TVItems.SetIndent(19);
    TVItems.SetImages(&ILAllPublicTV);
    TVItems.CreateWnd(Handle());
    TVUndo.SetImages(&ILAllPublicTV);
    TVBasic.SetImages(&ILAllPublicTV);
    TVBasic.SetEnabled(false);

    store = std::make_unique<ItemStore>(ItemViews{TVItems, TVUndo, TVBasic, PMItems, PMBasic,
                                                  ILAllPublicPM, ILAllPublicTV});
}

TFormItems::~TFormItems() {
    if (FormItems == this) FormItems = nullptr;
}

void TFormItems::BuildBasicTree() {
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

void TFormItems::BuildBasicMenu() {
    TMenuItem& root = PMBasic.Items();
    root.Add(MenuEntry("miOwnSysMenu", "Sysmenu", kTagSpeSep, -1));
    TMenuItem* kit = root.Add(MenuEntry("miLauncherKit", "Razaveza Kit", 10, 0));
    auto bar = MenuEntry("miOwnBarMaker", "Razaveza  Kit", kTagBarMaker, -1);
    bar->Visible = false;
    kit->Add(std::move(bar));
    auto hidden = MenuEntry("miOwnHidden", "hidden", kTagHidden, -1);
    hidden->Visible = false;
    kit->Add(std::move(hidden));
    auto handled = [this](std::unique_ptr<TMenuItem> item, void (TFormItems::*handler)(TObject*)) {
        item->OnClick = [this, handler](TObject* sender) { (this->*handler)(sender); };
        return item;
    };
    kit->Add(handled(MenuEntry("miHelpFile", "Help File", 0, 8), &TFormItems::miHelpFileClick));
    kit->Add(MenuEntry("miN1", "-", kTagNorSep, -1));
    kit->Add(handled(MenuEntry("miManageItems", "Manage Items...", 0, 9), &TFormItems::miManageItemsClick));
    kit->Add(handled(MenuEntry("miPreferences", "Preferences...", 0, 10), &TFormItems::SetupClick));
    kit->Add(MenuEntry("miN3", "-", kTagNorSep, -1));
    kit->Add(handled(MenuEntry("miVisitWebsite", "Visit Website", 0, -1), &TFormItems::miVisitWebsiteClick));
    kit->Add(MenuEntry("miN2", "-", kTagNorSep, -1));
    kit->Add(handled(MenuEntry("miAbout", "About...", 0, -1), &TFormItems::miAboutClick));
    root.Add(handled(MenuEntry("miCloseApp", "Close", 0, -1), &TFormItems::miCloseAppClick));
    root.Tag = 0;
}

void TFormItems::miManageItemsClick(TObject*) { Show(); }

void TFormItems::SetupClick(TObject*) {
    if (FormConfig) FormConfig->Show();
}

void TFormItems::miHelpFileClick(TObject*) { OpenWithShell(App.dataFolder + "help.html"); }

void TFormItems::miVisitWebsiteClick(TObject*) { OpenWithShell(kMakerWebsite); }

void TFormItems::miAboutClick(TObject*) {
    if (FormAbout) FormAbout->Show();
}

void TFormItems::miCloseAppClick(TObject*) {
    if (closeApplication) closeApplication();
}

}  // namespace rz
