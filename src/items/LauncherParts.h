#pragma once
// What the launcher menu, the item manager and the store share: the menu and
// its template, both icon lists, the hidden tree views and the item store
// built on them. The application makes the one instance before the forms;
// a test or the benchmark makes one without any window.

#include <string>

#include "items/ItemStore.h"
#include "items/LaunchHistory.h"
#include "platform/ImageList.h"
#include "platform/Menu.h"
#include "platform/TreeView.h"

namespace rz {

class LauncherMenuParts {
public:
    virtual ~LauncherMenuParts() = default;
    virtual TPopupMenu& LauncherMenu() = 0;
    virtual const TPopupMenu& MenuTemplate() const = 0;
    virtual const TImageList& MenuImages() const = 0;
    // Target and parameters of a link by its item id; empty when it has none.
    virtual std::string PathOfItem(int itemId) const = 0;
    virtual std::string ParamsOfItem(int itemId) const = 0;
    // Changes whenever the launcher menu is loaded again.
    virtual unsigned MenuLoads() const = 0;
    // What was launched, for the search's ranking.
    virtual LaunchHistory& Launches() = 0;
    // The picture at slot becomes the item's own if a stand-in still shows.
    virtual void TakeLateIcon(int slot) = 0;
    // The picture at slot from the shell at size x size pixels, kept for later
    // paints; null where the slot has no file or type behind it.
    virtual HICON IconAtSize(int slot, int size) = 0;
};

class LauncherParts final : public LauncherMenuParts {
public:
    // managerTree is the tree the item manager shows; the store fills it.
    explicit LauncherParts(TTreeView& managerTree);
    LauncherParts(const LauncherParts&) = delete;
    LauncherParts& operator=(const LauncherParts&) = delete;

    TPopupMenu PMItems{"PMItems"};
    TPopupMenu PMBasic{"PMBasic"};
    TImageList ILAllPublicPM{"ILAllPublicPM", 16, 16};
    TImageList ILAllPublicTV{"ILAllPublicTV", 16, 18};
    TTreeView TVUndo{"TVUndo"};
    TTreeView TVBasic{"TVBasic"};
    ItemStore store;

    // The template's fixed entry of that name (miHelpFile, miCloseApp...), or null.
    TMenuItem* FixedEntry(const std::string& name);

    TPopupMenu& LauncherMenu() override { return PMItems; }
    const TPopupMenu& MenuTemplate() const override { return PMBasic; }
    const TImageList& MenuImages() const override { return ILAllPublicPM; }
    std::string PathOfItem(int itemId) const override { return store.tables.PathOf(itemId); }
    std::string ParamsOfItem(int itemId) const override { return store.ParamsOfItem(itemId); }
    unsigned MenuLoads() const override { return store.Loads(); }
    // Kept in the data folder once the store knows it.
    LaunchHistory& Launches() override;
    void TakeLateIcon(int slot) override { store.icons.sources.TakeLate(slot); }
    HICON IconAtSize(int slot, int size) override { return store.icons.sources.AtSize(slot, size); }

private:
    LaunchHistory launches_;
    void BuildBasicTree();
    void BuildBasicMenu();
};

}  // namespace rz
