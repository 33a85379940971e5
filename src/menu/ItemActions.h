#pragma once
// What a user can do with an item of the launcher menu besides choosing
// it, from the search window's results and from the menu's entries: start
// it as administrator, open its folder, copy its path or command line,
// edit it in the manager, see its properties. The same keys in both places,
// and one action menu that shows them.

#include <windows.h>

#include <functional>
#include <optional>

#include "platform/Menu.h"

namespace rz {

class LauncherMenuParts;

enum class ItemAction { Open, RunAsAdministrator, OpenFolder, CopyPath, CopyCommandLine, EditInManager, Properties };

// The action of a key on a selected item with Ctrl and Shift as held: Enter,
// Ctrl+Shift+Enter, Ctrl+Enter, Ctrl+C, Ctrl+Shift+C; none for other keys.
std::optional<ItemAction> ActionOfKey(WORD key, bool ctrl, bool shift);
// The keys that open the action menu: the menu key and Shift+F10.
bool OpensActionMenu(WORD key, bool ctrl, bool shift);
// Ctrl and Shift as the keyboard holds them for the message being handled.
bool CtrlHeld();
bool ShiftHeld();

class ItemActions {
public:
    explicit ItemActions(LauncherMenuParts& launcher);
    ItemActions(const ItemActions&) = delete;
    ItemActions& operator=(const ItemActions&) = delete;

    // Whether entry is a user's item with a path; the actions are for those only.
    bool Applies(const TMenuItem& entry) const;
    // Carries out action on entry; owner is the window the clipboard is
    // taken for. False when it did not happen (said where it failed).
    bool Perform(ItemAction action, TMenuItem& entry, HWND owner);
    // How a menu is run at a screen point: by default from owner, which
    // passes the menu's messages on while it is open.
    using MenuRunner = std::function<void(TPopupMenu& menu, POINT at)>;
    // Runs the action menu for entry at a screen point and performs the
    // chosen action; owner is the window the clipboard is taken for. before
    // runs first when one is chosen (the search window hides).
    void ShowMenu(TMenuItem& entry, POINT at, HWND owner, const std::function<void()>& before = {},
                  const MenuRunner& run = {});

    // For the launcher menu: whether a key on an entry is one of the
    // actions' (plain Enter stays the menu's own choosing).
    bool TakesMenuKey(const TMenuItem& entry, const EntryKey& key) const;
    // The key's action once the menu is gone; the action menu opens below
    // the entry's place.
    void MenuKey(TMenuItem& entry, const EntryKey& key, const RECT& place, HWND owner, const MenuRunner& run = {});

    // Opens the item manager with the entry of an item id selected.
    std::function<void(int itemId)> editInManager;
    // The action menu, with the keys of its entries.
    TPopupMenu PMActions{"PMActions"};

private:
    bool Launch(TMenuItem& entry, bool administrator);

    LauncherMenuParts& launcher_;
};

}  // namespace rz
