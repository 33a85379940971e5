#include "menu/ItemActions.h"

#include <memory>

#include "core/ItemPlaces.h"
#include "core/Launching.h"
#include "items/ItemKinds.h"
#include "items/LauncherParts.h"
#include "support/EnvironmentText.h"

namespace rz {

namespace {

struct ActionEntry {
    ItemAction action;
    const char* caption;
};
// The keys after a tab: the platform shows them in a column of their own.
constexpr ActionEntry kMenu[] = {
    {ItemAction::Open, "&Open\tEnter"},
    {ItemAction::RunAsAdministrator, "Run as &administrator\tCtrl+Shift+Enter"},
    {ItemAction::OpenFolder, "Open containing &folder\tCtrl+Enter"},
    {ItemAction::CopyPath, "&Copy path\tCtrl+C"},
    {ItemAction::CopyCommandLine, "Copy command &line\tCtrl+Shift+C"},
    {ItemAction::EditInManager, "&Edit in the manager"},
    {ItemAction::Properties, "P&roperties"},
};

}  // namespace

std::optional<ItemAction> ActionOfKey(WORD key, bool ctrl, bool shift) {
    if (key == VK_RETURN) {
        if (ctrl && shift) return ItemAction::RunAsAdministrator;
        if (ctrl) return ItemAction::OpenFolder;
        if (!shift) return ItemAction::Open;
    }
    if (key == 'C' && ctrl) return shift ? ItemAction::CopyCommandLine : ItemAction::CopyPath;
    return std::nullopt;
}

bool OpensActionMenu(WORD key, bool ctrl, bool shift) {
    return (key == VK_APPS && !ctrl) || (key == VK_F10 && shift && !ctrl);
}

bool CtrlHeld() { return ::GetKeyState(VK_CONTROL) < 0; }
bool ShiftHeld() { return ::GetKeyState(VK_SHIFT) < 0; }

ItemActions::ItemActions(LauncherMenuParts& launcher) : launcher_(launcher) {
    for (const ActionEntry& a : kMenu) {
        if (a.action == ItemAction::EditInManager) {
            auto line = std::make_unique<TMenuItem>();
            line->Caption = "-";
            PMActions.Items().Add(std::move(line));
        }
        auto entry = std::make_unique<TMenuItem>();
        entry->Caption = a.caption;
        entry->Tag = static_cast<int>(a.action);
        PMActions.Items().Add(std::move(entry));
    }
}

bool ItemActions::Applies(const TMenuItem& entry) const {
    // The program's own entries have names; folders have entries of their own.
    return entry.Name.empty() && entry.Count() == 0 && entry.Tag >= 0 && !launcher_.PathOfItem(entry.Tag).empty();
}

bool ItemActions::Launch(TMenuItem& entry, bool administrator) {
    const std::string path = launcher_.PathOfItem(entry.Tag), params = launcher_.ParamsOfItem(entry.Tag);
    // Documents and folders have no administrator of their own: they open.
    const bool elevate = administrator && IsProgramFile(Expanded(path));
    if (!LaunchFile(path, params, "", elevate ? LaunchAs::Administrator : LaunchAs::Normal)) return false;
    launcher_.Launches().Record(path, params, entry.Caption);
    return true;
}

bool ItemActions::Perform(ItemAction action, TMenuItem& entry, HWND owner) {
    if (!Applies(entry)) return false;
    const std::string path = launcher_.PathOfItem(entry.Tag);
    switch (action) {
        case ItemAction::Open: return Launch(entry, false);
        case ItemAction::RunAsAdministrator: return Launch(entry, true);
        case ItemAction::OpenFolder: return OpenContainingFolder(path);
        case ItemAction::CopyPath: return CopyItemText(owner, Expanded(path));
        case ItemAction::CopyCommandLine:
            return CopyItemText(owner, CommandLineOf(path, launcher_.ParamsOfItem(entry.Tag)));
        case ItemAction::EditInManager:
            if (editInManager) editInManager(entry.Tag);
            return editInManager != nullptr;
        case ItemAction::Properties: return ShowItemProperties(path);
    }
    return false;
}

void ItemActions::ShowMenu(TMenuItem& entry, POINT at, HWND owner, const std::function<void()>& before,
                           const MenuRunner& run) {
    if (!Applies(entry) || PMActions.IsOpen() || TPopupMenu::Current()) return;
    std::optional<ItemAction> chosen;
    for (int i = 0; i < PMActions.Items().Count(); ++i) {
        TMenuItem* e = PMActions.Items().Items(i);
        if (!e->IsLine()) e->OnClick = [&chosen, e](TObject*) { chosen = static_cast<ItemAction>(e->Tag); };
    }
    if (run) {
        run(PMActions, at);
    } else {
        ::SetForegroundWindow(owner);
        PMActions.Popup(at.x, at.y, owner);
        // Lets the menu close cleanly when the user clicks elsewhere.
        ::PostMessageA(owner, WM_NULL, 0, 0);
    }
    if (!chosen) return;
    if (before) before();
    Perform(*chosen, entry, owner);
}

bool ItemActions::TakesMenuKey(const TMenuItem& entry, const EntryKey& key) const {
    if (!Applies(entry)) return false;
    const std::optional<ItemAction> action = ActionOfKey(key.key, key.ctrl, key.shift);
    return OpensActionMenu(key.key, key.ctrl, key.shift) || (action && *action != ItemAction::Open);
}

void ItemActions::MenuKey(TMenuItem& entry, const EntryKey& key, const RECT& place, HWND owner,
                          const MenuRunner& run) {
    if (OpensActionMenu(key.key, key.ctrl, key.shift)) {
        ShowMenu(entry, POINT{place.left, place.bottom}, owner, {}, run);
        return;
    }
    if (const std::optional<ItemAction> action = ActionOfKey(key.key, key.ctrl, key.shift))
        Perform(*action, entry, owner);
}

}  // namespace rz
