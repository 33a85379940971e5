#include "app/Forms.h"

#include <memory>
#include <stdexcept>

#include "app/InitFinit.h"
#include "app/OutsideChanges.h"
#include "core/AppData.h"
#include "core/ColourTheme.h"
#include "core/ErrorLog.h"
#include "core/Launching.h"
#include "core/Settings.h"
#include "controls/CcvWinTreeView.h"
#include "dialogs/form_about.h"
#include "dialogs/form_config.h"
#include "items/LauncherParts.h"
#include "manager/form_items.h"
#include "menu/ItemActions.h"
#include "menu/form_general.h"
#include "menu/form_search.h"
#include "menu/form_shortcuts.h"
#include "platform/Application.h"

namespace rz {

namespace {

// The tree and the launcher parts come first and go last: the forms hold
// references into them.
struct Forms {
    std::unique_ptr<TcvWinTreeView> managerTree;
    std::unique_ptr<LauncherParts> parts;
    std::unique_ptr<TFormGeneral> general;
    std::unique_ptr<TFormShortCuts> shortCuts;
    std::unique_ptr<ItemActions> actions;
    std::unique_ptr<TFormSearch> search;
    std::unique_ptr<TFormItems> items;
    std::unique_ptr<TFormConfig> config;
    std::unique_ptr<TFormAbout> about;
};

Forms g_forms;

// How long the icons left for quiet moments may keep the message loop at a time.
constexpr double kLateIconBatchMs = 10;

template <class T>
T& Existing(const std::unique_ptr<T>& form) {
    if (!form) throw std::logic_error("a form was used before it was created");
    return *form;
}

void LinkServices(Forms& f) {
    LinkSoundPlayer(&f.general->MPAudioGen);
    SettingsLinks links;
    links.hotKey = &f.general->JvApplicationHotKey;
    links.searchHotKey = &f.general->JvSearchHotKey;
    links.windows = {f.config.get(), f.items.get(), f.about.get()};
    links.helpText = &f.config->RichEditHelp;
    links.link = &f.about->LabelUrl;
    TFormGeneral* general = f.general.get();
    links.applyTaskBarPresence = [general](bool on) { general->ApplyTaskBarPresence(on); };
    links.attachActivation = [general](bool attach) { general->AttachActivation(attach); };
    TFormItems* items = f.items.get();
    links.showStatus = [items](const std::string& text) {
        if (!items->Visible()) return false;
        items->StatusMessage(text);
        return true;
    };
    LinkSettings(std::move(links));
    LinkColouredWindows({f.config.get(), f.items.get(), f.about.get(), f.search.get()});
}

void WireForms(Forms& f) {
    TFormItems& items = *f.items;
    TFormShortCuts& shortCuts = *f.shortCuts;
    ItemStore& store = f.parts->store;
    store.resolveLeftoverBackup = &ResolveLeftoverBackup;
    // The manager reports a failed save in its status line; a box on top only blocks.
    store.writeErrorLog = [](const std::string& m) { LogTolerated(m, ::GetLastError()); };
    store.itemClick = [&shortCuts](TObject* sender) { shortCuts.NorItemsRTClickItem(sender); };
    items.closeApplication = &ShutDown;
    items.reloadItems = &ReloadItems;
    TFormConfig* config = f.config.get();
    TFormAbout* about = f.about.get();
    items.showPreferences = [config] { config->Show(); };
    items.showAbout = [about] { about->Show(); };
    config->applyMenuDrawing = [&shortCuts] {
        shortCuts.ResetLauncherKitEntries();
        shortCuts.ApplyMenuDrawing();
    };

    TFormGeneral& general = *f.general;
    general.titledWindows = {&items, config, about};
    general.hintWindow = &items;
    general.showHint = [&items](const std::string& text) { items.ShowHintText(text); };
    TFormSearch& search = *f.search;
    general.openSearch = [&search] { search.OpenAtCursor(); };
    search.OnOpenFolder = [&general](TMenuItem& folder, POINT at) { general.ShowLauncherFolder(folder, at); };
    ItemActions& actions = *f.actions;
    search.actions = &actions;
    actions.editInManager = [&items](int itemId) { items.ShowItemEntry(itemId); };
    TPopupMenu& launcherMenu = f.parts->LauncherMenu();
    launcherMenu.TakesEntryKey = [&actions](const TMenuItem& entry, const EntryKey& key) {
        return actions.TakesMenuKey(entry, key);
    };
    LauncherParts& parts = *f.parts;
    launcherMenu.OnEntryKey = [&actions, &general, &parts](TMenuItem& entry, const EntryKey& key, const RECT& place) {
        // The action menu waits until the launcher menu's own loop is over:
        // one menu loop at a time. A load in between takes its entry away.
        const unsigned loads = parts.MenuLoads();
        Application.AddIdle(&actions, [&actions, &general, &parts, &entry, key, place, loads] {
            Application.RemoveIdle(&actions);
            // Shown from the host, as the launcher menu was, so that it hears the keyboard.
            if (parts.MenuLoads() == loads)
                actions.MenuKey(entry, key, place, general.Handle(),
                                [&general](TPopupMenu& menu, POINT at) { general.MenuHost.Popup(menu, at); });
            return INFINITE;
        });
    };
    // Icons that nobody has looked at yet are taken while the program waits.
    Application.AddIdle(&store,
                        [&store] { return store.TakeLateIcons(kLateIconBatchMs) ? DWORD{0} : DWORD{INFINITE}; });
}

}  // namespace

void CreateForms() {
    g_forms.managerTree = std::make_unique<TcvWinTreeView>("TVItems");
    g_forms.parts = std::make_unique<LauncherParts>(*g_forms.managerTree);
    g_forms.general = std::make_unique<TFormGeneral>();
    g_forms.shortCuts = std::make_unique<TFormShortCuts>(*g_forms.parts);
    g_forms.actions = std::make_unique<ItemActions>(*g_forms.parts);
    g_forms.search = std::make_unique<TFormSearch>(*g_forms.parts);
    g_forms.items = std::make_unique<TFormItems>(*g_forms.parts, *g_forms.managerTree);
    g_forms.config = std::make_unique<TFormConfig>();
    g_forms.about = std::make_unique<TFormAbout>();
    WireForms(g_forms);
    LinkServices(g_forms);
}

void DestroyForms() {
    StopWatchingDataFolder();
    if (g_forms.parts) Application.RemoveIdle(&g_forms.parts->store);
    if (g_forms.actions) Application.RemoveIdle(g_forms.actions.get());
    LinkSettings({});
    LinkColouredWindows({});
    LinkSoundPlayer(nullptr);
    g_forms.about.reset();
    g_forms.config.reset();
    g_forms.items.reset();
    g_forms.search.reset();
    g_forms.actions.reset();
    g_forms.shortCuts.reset();
    g_forms.general.reset();
    g_forms.parts.reset();
    g_forms.managerTree.reset();
    ReleaseInstanceGuard();
}

TFormGeneral& FormGeneral() { return Existing(g_forms.general); }
TFormShortCuts& FormShortCuts() { return Existing(g_forms.shortCuts); }
TFormSearch& FormSearch() { return Existing(g_forms.search); }
TFormItems& FormItems() { return Existing(g_forms.items); }
TFormConfig& FormConfig() { return Existing(g_forms.config); }
TFormAbout& FormAbout() { return Existing(g_forms.about); }
LaunchHistory& Launches() { return Existing(g_forms.parts).Launches(); }

}  // namespace rz
