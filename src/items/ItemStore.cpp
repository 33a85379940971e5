#include "items/ItemStore.h"

#include <memory>
#include <vector>

#include "platform/Dpi.h"
#include "support/UcvSysStr.h"

namespace rz {

ItemStore::ItemStore(const ItemViews& v) : views(v), icons(v.menuImages, v.treeImages) {}

void ItemStore::SetDataFolder(const std::string& folder) { dataFolder_ = WithTrailingBackslash(folder); }

void ItemStore::Log(const std::string& message) {
    if (writeErrorLog) writeErrorLog(message);
}

TTreeNode* ItemStore::NewTreeEntry(TTreeNode* parentNode, const std::string& text, int image, int selected,
                                   int itemId) {
    TTreeView& tree = views.tree;
    TTreeNode* node = parentNode    ? tree.AddChild(parentNode, text)
                      : loadMarker_ ? tree.Insert(loadMarker_, text)
                                    : tree.AddChild(nullptr, text);
    node->SetImageIndex(image);
    node->SetSelectedIndex(selected);
    node->SetStateIndex(-1);
    node->ItemId = itemId;
    return node;
}

void ItemStore::AddLaunchItem(ItemKind kind, const std::string& path, const std::string& parameters,
                              TTreeNode* parentNode, TMenuItem& parentMenu, int iconIndex, const std::string& caption) {
    auto entry = std::make_unique<TMenuItem>();
    TMenuItem* m = entry.get();
    parentMenu.Insert(parentMenu.Tag, std::move(entry));
    switch (kind) {
        case ItemKind::Folder: {
            m->Caption = caption;
            m->ImageIndex = kIconFolder;
            if (drawMenuBar) {
                auto bar = std::make_unique<TMenuItem>();
                bar->Caption = caption;
                bar->Tag = kTagBarMaker;
                bar->Visible = false;
                m->Add(std::move(bar));
                ++m->Tag;
            }
            auto hidden = std::make_unique<TMenuItem>();
            hidden->Caption = "Hiding";
            hidden->Tag = kTagHidden;
            hidden->Visible = false;
            m->Add(std::move(hidden));
            ++m->Tag;
            TTreeNode* node = NewTreeEntry(parentNode, caption, kIconFolder, kIconFolder, -1);
            TTreeNode* anchor = views.tree.AddChild(node, "");
            anchor->SetImageIndex(kIconAnchor);
            anchor->SetSelectedIndex(kIconAnchor);
            currentFolderNode = node;
            currentFolderMenu = m;
            break;
        }
        case ItemKind::NorSep:
            m->Caption = "-";
            m->Tag = kTagNorSep;
            NewTreeEntry(parentNode, kNorSepText, kIconNorSep, kIconNorSep, -1);
            break;
        case ItemKind::SpeSep:
            m->Caption = caption;
            m->Tag = kTagSpeSep;
            NewTreeEntry(parentNode, "--" + caption + "--", kIconSpeSep, kIconSpeSep, -1);
            break;
        case ItemKind::ExeLnk:
        case ItemKind::UnkLnk: {
            int id = tables.AddLink(path, kind == ItemKind::ExeLnk ? &parameters : nullptr);
            m->Caption = caption;
            m->ImageIndex = iconIndex;
            m->OnClick = itemClick;
            m->Tag = id;
            NewTreeEntry(parentNode, caption, iconIndex, iconIndex, id);
            break;
        }
    }
    ++parentMenu.Tag;
}

void ItemStore::ShowEntryIcon(const TTreeNode& node) {
    IconSources& sources = icons.sources;
    sources.TakeLate(node.ImageIndex());
    const int dpi = views.tree.ImagesDpi();
    if (dpi != kBaseDpi) sources.AtSize(node.ImageIndex(), ScaleToDpi(views.treeImages.Width(), dpi));
}

bool ItemStore::TakeLateIcons(double budgetMs) {
    IconSources& sources = icons.sources;
    if (!sources.HasLate()) return false;
    if (lateOrderedLoad_ != loads_) {
        // What the menu and the manager show first: the top level.
        lateOrderedLoad_ = loads_;
        const TMenuItem& root = views.menu.Items();
        std::vector<int> top;
        for (int i = 0; i < root.Count() && i < root.Tag; ++i) top.push_back(root.Items(i)->ImageIndex);
        sources.PutFirst(top);
    }
    if (sources.TakeLateFor(budgetMs) > 0) {
        const HWND tree = views.tree.Handle();
        if (tree && ::IsWindowVisible(tree)) ::InvalidateRect(tree, nullptr, FALSE);
    }
    return sources.HasLate();
}

}  // namespace rz
