#include "app/OutsideChanges.h"

#include <windows.h>

#include <memory>

#include "app/Forms.h"
#include "app/InitFinit.h"
#include "core/AppData.h"
#include "core/ErrorLog.h"
#include "core/Settings.h"
#include "dialogs/form_about.h"
#include "dialogs/form_config.h"
#include "items/StoreFingerprint.h"
#include "manager/form_items.h"
#include "menu/form_search.h"
#include "menu/form_shortcuts.h"
#include "platform/Application.h"
#include "platform/FolderWatch.h"
#include "platform/SystemError.h"
#include "support/FileNames.h"

namespace rz {

namespace {

// A sync service writes a store file by file: it is taken in once a second
// has passed without a change.
constexpr DWORD kSettleMs = 1000;
// How often a store that someone is still writing is looked at again, a
// second apart, before only its next change brings another look.
constexpr int kBusyLooks = 30;

enum class Area { None, Store, Settings, Launches };
constexpr char kLaunchesFileName[] = "launches.txt";

struct Watcher {
    TFolderWatch watch;
    bool settling = false;
    DWORD lastChange = 0;
    int busyLooks = 0;
    // Changes seen and not yet looked at.
    bool storeSeen = false;
    bool settingsSeen = false;
    // Differences found and not yet taken in; verified: found just now.
    bool storeDiffers = false;
    bool verified = false;
    bool settingsDiffer = false;
    // The store the manager's status line last told of.
    StoreFingerprint told;
};

std::unique_ptr<Watcher> g_watcher;

Area AreaOf(const std::string& name) {
    const size_t cut = name.find('\\');
    const std::string first = name.substr(0, cut);
    if (cut == std::string::npos && SameFileName(first, kSettingsFileName)) return Area::Settings;
    if (cut == std::string::npos && SameFileName(first, kLaunchesFileName)) return Area::Launches;
    if (!SameFileName(first, "shortcuts") && !SameFileName(first, "item_bak")) return Area::None;
    // Conflicted copies, locks and temporary files are never read.
    return IsSyncLeftover(name.substr(name.find_last_of('\\') + 1)) ? Area::None : Area::Store;
}

void Settle(Watcher& w) {
    w.settling = true;
    w.lastChange = ::GetTickCount();
}

void Heard(Watcher& w, const std::vector<std::string>& names, bool lost) {
    bool store = lost, settings = lost;
    // Merged at every write, read again at next use: nothing to settle.
    if (lost) Launches().FileChanged();
    for (const std::string& name : names) {
        const Area area = AreaOf(name);
        if (area == Area::Launches) Launches().FileChanged();
        store = store || area == Area::Store;
        settings = settings || area == Area::Settings;
    }
    if (!store && !settings) return;
    w.storeSeen = w.storeSeen || store;
    w.settingsSeen = w.settingsSeen || settings;
    w.busyLooks = 0;
    Settle(w);
}

bool ManagerHoldsEdits() {
    const TFormItems& items = FormItems();
    return items.Visible() && items.HasUnsavedEdits();
}

void LookAtChanges(Watcher& w) {
    if (w.storeSeen) {
        const StoreLook look = LookAtStore(App.dataFolder, true);
        if (look.saving) {
            // Looked at again once the writer is done: a second on, or at its next change.
            if (++w.busyLooks < kBusyLooks) Settle(w);
        } else {
            w.storeSeen = false;
            w.busyLooks = 0;
            // A store that is gone leaves the menu as it is, and nothing is
            // written back: it may be on its way back.
            w.storeDiffers = look.print.present && look.print != FormItems().store.onDisk;
            w.verified = true;
            if (w.storeDiffers && ManagerHoldsEdits() && look.print != w.told) {
                FormItems().StatusMessage(kChangedOnDisk);
                w.told = look.print;
            }
        }
    }
    if (w.settingsSeen) {
        w.settingsSeen = false;
        w.settingsDiffer = SettingsChangedOnDisk();
    }
}

void ReadItemsAgain(Watcher& w) {
    TFormItems& items = FormItems();
    try {
        if (items.Visible()) items.ReloadFromDisk();
        else ReloadItems();
    } catch (const EInOutError& e) {
        // A list file held by another program a moment too long: another look later.
        LogTolerated(std::string("Cannot read the items changed on disk: ") + e.what(), e.Code);
        w.storeSeen = true;
        if (++w.busyLooks < kBusyLooks) Settle(w);
    }
}

void TakeInStore(Watcher& w) {
    if (!w.storeDiffers) return;
    // The search window shows entries of the menu a reload would free.
    if (ManagerHoldsEdits() || FormSearch().Visible()) {
        // Closing the manager without a save, or Undo of all, lets it in.
        w.verified = false;
        return;
    }
    w.storeDiffers = false;
    if (!w.verified) {
        // A save that overwrote it meanwhile left nothing to take in.
        const StoreLook look = LookAtStore(App.dataFolder);
        if (!look.print.present || look.print == FormItems().store.onDisk) return;
        if (look.saving) {
            w.storeSeen = true;
            return Settle(w);
        }
    }
    ReadItemsAgain(w);
}

void TakeInSettings(Watcher& w) {
    if (!w.settingsDiffer) return;
    // An open window shows the settings: the preferences may be on their way into the file.
    if (FormConfig().Visible() || FormItems().Visible() || FormAbout().Visible()) return;
    w.settingsDiffer = false;
    if (!SettingsChangedOnDisk()) return;
    LoadSettings();
    ApplySettings();
    FormShortCuts().ResetLauncherKitEntries();
    FormShortCuts().ApplyMenuDrawing();
}

DWORD Idle() {
    Watcher& w = *g_watcher;
    if (w.settling) {
        const DWORD since = ::GetTickCount() - w.lastChange;
        if (since < kSettleMs) return kSettleMs - since;
        w.settling = false;
        LookAtChanges(w);
    }
    TakeInStore(w);
    TakeInSettings(w);
    return w.settling ? kSettleMs : INFINITE;
}

void NotWatched(unsigned long code) {
    LogTolerated("Changes made to \"" + App.dataFolder + "\" by other programs are not seen until the next start",
                 code);
}

}  // namespace

void StartWatchingDataFolder() {
    StopWatchingDataFolder();
    g_watcher = std::make_unique<Watcher>();
    Watcher& w = *g_watcher;
    // The watch has ended itself; what it saw before is still taken in.
    w.watch.OnFailure = &NotWatched;
    if (!w.watch.Start(App.dataFolder,
                       [&w](const std::vector<std::string>& names, bool lost) { Heard(w, names, lost); })) {
        NotWatched(::GetLastError());
        g_watcher.reset();
        return;
    }
    Application.AddIdle(g_watcher.get(), &Idle);
}

void StopWatchingDataFolder() {
    if (!g_watcher) return;
    Application.RemoveIdle(g_watcher.get());
    g_watcher->watch.Stop();
    g_watcher.reset();
}

bool OutsideChangePending() {
    const Watcher* w = g_watcher.get();
    return w && (w->settling || w->storeSeen || w->settingsSeen || w->storeDiffers || w->settingsDiffer);
}

}  // namespace rz
