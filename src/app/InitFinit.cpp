#include "app/InitFinit.h"

#include <windows.h>

#include "app/Forms.h"
#include "app/InstanceGuard.h"
#include "app/OutsideChanges.h"
#include "core/AppData.h"
#include "core/ErrorLog.h"
#include "core/Settings.h"
#include "dialogs/form_about.h"
#include "dialogs/form_config.h"
#include "items/StoreFolders.h"
#include "manager/form_items.h"
#include "menu/form_general.h"
#include "menu/form_shortcuts.h"
#include "platform/Application.h"
#include "platform/FileIO.h"
#include "platform/ShortCut.h"
#include "support/UcvSysIO.h"
#include "support/UcvSysStr.h"

namespace rz {

namespace {
InstanceGuard g_guard;
std::string g_dataFolderOverride;

ItemStore& Store() { return FormItems().store; }

// A key another program holds never reaches the launcher; the log says which.
void LogHotKeyHeldElsewhere() {
    for (const TJvApplicationHotKey* key : {&FormGeneral().JvApplicationHotKey, &FormGeneral().JvSearchHotKey}) {
        if ((key->HotKey() & 0xFF) && !key->Registered())
            LogTolerated("The hotkey \"" + ShortCutToText(key->HotKey()) + "\" is held by another program",
                         key->RegisterError());
    }
}

void EnableTrayIcon(bool on) {
    TCoolTrayIcon& tray = FormGeneral().CSystrayGen;
    tray.PopupMenu = on ? &FormItems().PMItems : nullptr;
    tray.Enabled = on;
}
}  // namespace

void OverrideDataFolder(const std::string& folder) { g_dataFolderOverride = WithTrailingBackslash(folder); }

void ReleaseInstanceGuard() { g_guard.Release(); }

bool GuardAndStart() {
    bool startFlag = true;
    if (!g_guard.Acquire(Application.Handle())) {
        // A second instance ends silently as soon as its message loop runs.
        startFlag = false;
        Application.Terminate();
    }
    if (startFlag) StartUp();
    return startFlag;
}

void StartUp() {
    Application.HelpFile = "help.html";
    PrepareTitles(App);
    if (g_dataFolderOverride.empty()) {
        SetDataFolderFromModule(App);
    } else {
        App.dataFolder = g_dataFolderOverride;
        App.programFileName = "razaveza.exe";
    }
    FormConfig().CmBoxFontName.SetItems(InstalledScreenFonts());
    FormAbout().LabelVer.SetCaption(App.aboutVersionText);
    Application.SetTitle(App.productTitle);
    LoadSettings();
    BuildPreparedTexts(App.dataFolder);
    LogHotKeyHeldElsewhere();

    ItemStore& store = Store();
    store.SetDataFolder(App.dataFolder);
    // Before the first look at the store: what changes from then on is seen.
    StartWatchingDataFolder();
    store.icons.MakeWorkSurfaces();
    store.drawMenuBar = Settings.DrawMenuBar;
    store.PrepareBaseTree();
    if (!store.LoadPass1()) return;
    store.LoadPass2();
    ApplySettings();
    FormShortCuts().ApplyMenuDrawing();
    EnableTrayIcon(true);
    // Only now: the load itself raises no selection changes.
    FormItems().AttachTreeChange(true);
    FlushLogRepeats();
}

bool ResolveLeftoverBackup() {
    const std::string backup = App.dataFolder + "item_bak";
    const std::string live = App.dataFolder + "shortcuts";
    // Only what a killed save or restore was throwing away: no question.
    const std::vector<std::string> left = RemoveDiscardedFolders(App.dataFolder);
    if (!left.empty())
        LogTolerated("Cannot delete \"" + left.front() + "\" (" + std::to_string(left.size()) +
                         " folder(s) set aside by a save); trying again at the next start",
                     ::GetLastError());
    ClearDiscardMark(live);
    ClearDiscardMark(backup);
    // Files a killed run was about to rename into place: the old ones are whole.
    RemoveReplaceLeftovers(App.dataFolder);
    if (!DirectoryExists(backup)) return true;
    // The save that left it finished: the items in shortcuts\ are whole.
    if (BackupWasSaved(backup)) {
        if (!DiscardFolder(backup))
            LogTolerated("Cannot remove \"" + backup + "\" of an earlier save; trying again later", ::GetLastError());
        return true;
    }
    const int answer = ShowNotice(kNoticeBackup, "", 1, NoticeType::Warning, kButtonYes | kButtonNo | kButtonCancel, 0);
    switch (answer) {
        case IDYES:
            // A failed rename leaves item_bak\ whole for the next question.
            if (DiscardFolder(live)) RenameFolder(backup, live);
            return true;
        case IDNO: DiscardFolder(backup); return true;
        default: Application.Terminate(); return false;
    }
}

void ReloadItems() {
    TFormItems& items = FormItems();
    TFormShortCuts& shortCuts = FormShortCuts();
    items.AttachTreeChange(false);
    EnableTrayIcon(false);
    // A list file that cannot be read ends the reload: the tray icon and the
    // tree's handler come back all the same, with what was read.
    struct Restore {
        TFormItems& items;
        ~Restore() {
            if (Application.Terminated()) return;
            EnableTrayIcon(true);
            items.AttachTreeChange(true);
        }
    } restore{items};
    ItemStore& store = items.store;
    store.tables.Clear();
    items.TVItems.Tag = 0;
    items.TVUndo.Tag = 0;
    items.TVItems.Clear();
    items.TVUndo.Clear();
    items.PMItems.Items().Clear();
    items.PMItems.Items().Tag = 0;
    items.ILAllPublicPM.Tag = 0;
    const TBitmap* small[3] = {shortCuts.ImageBreak3Small.get(), shortCuts.ImageBreak4Small.get(),
                               shortCuts.ImageBreak5Small.get()};
    const TBitmap* large[3] = {shortCuts.ImageBreak3Large.get(), shortCuts.ImageBreak4Large.get(),
                               shortCuts.ImageBreak5Large.get()};
    store.icons.CutBack(small, large, items.TVItems.Tag);
    store.drawMenuBar = Settings.DrawMenuBar;
    store.PrepareBaseTree();
    if (!store.LoadPass1()) return;
    store.LoadPass2();
    shortCuts.ApplyMenuDrawing();
    FlushLogRepeats();
}

void ShutDown() {
    StopWatchingDataFolder();
    SaveSettings();
    FlushLogRepeats();
    Store().icons.FreeWorkSurfaces();
    g_guard.Release();
    Application.ProcessMessages();
    Application.Terminate();
}

}  // namespace rz
