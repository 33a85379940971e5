#include "app/InitFinit.h"

#include <windows.h>

#include "app/AppData.h"
#include "app/ErrorLog.h"
#include "app/InstanceGuard.h"
#include "app/Settings.h"
#include "dialogs/form_about.h"
#include "dialogs/form_config.h"
#include "items/StoreFolders.h"
#include "manager/form_items.h"
#include "menu/form_general.h"
#include "menu/form_shortcuts.h"
#include "platform/Application.h"
#include "support/UcvSysIO.h"

namespace rz {

namespace {
InstanceGuard g_guard;
std::string g_dataFolderOverride;
int g_backupAnswer = 0;

ItemStore& Store() { return *FormItems->store; }

void EnableTrayIcon(bool on) {
    TCoolTrayIcon& tray = FormGeneral->CSystrayGen;
    tray.PopupMenu = on ? &FormItems->PMItems : nullptr;
    tray.Enabled = on;
}
}  // namespace

void OverrideDataFolder(const std::string& folder) {
    g_dataFolderOverride = folder;
    if (!g_dataFolderOverride.empty() && g_dataFolderOverride.back() != '\\') g_dataFolderOverride += '\\';
}

int LastBackupAnswer() { return g_backupAnswer; }

void CreateForms() {
    FormGeneral = new TFormGeneral();
    FormShortCuts = new TFormShortCuts();
    FormItems = new TFormItems();
    FormConfig = new TFormConfig();
    FormAbout = new TFormAbout();

    ItemStore& store = Store();
    store.resolveLeftoverBackup = &ResolveLeftoverBackup;
    store.writeErrorLog = &WriteErrorLog;
    store.itemClick = [](TObject* sender) { FormShortCuts->NorItemsRTClickItem(sender); };
    FormItems->closeApplication = &ShutDown;
    FormItems->reloadItems = &ReloadItems;
}

void DestroyForms() {
    delete FormAbout;
    delete FormConfig;
    delete FormItems;
    delete FormShortCuts;
    delete FormGeneral;
    g_guard.Release();
}

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
    FormConfig->CmBoxFontName.SetItems(InstalledScreenFonts());
    FormAbout->LabelVer.SetCaption(App.aboutVersionText);
    Application.SetTitle(App.productTitle);
    LoadSettings();
    BuildPreparedTexts(App.dataFolder);

    ItemStore& store = Store();
    store.SetDataFolder(App.dataFolder);
    store.icons.MakeWorkSurfaces();
    store.drawMenuBar = Settings.DrawMenuBar;
    store.PrepareBaseTree();
    if (!store.LoadPass1()) return;
    store.LoadPass2();
    ApplySettings();
    ApplyMenuDrawing();
    EnableTrayIcon(true);
    // Only now: the load itself raises no selection changes.
    FormItems->AttachTreeChange(true);
}

bool ResolveLeftoverBackup() {
    const std::string backup = App.dataFolder + "item_bak";
    const std::string live = App.dataFolder + "shortcuts";
    // Only what a killed save or restore was throwing away: no question.
    RemoveDiscardedFolders(App.dataFolder);
    if (!DirectoryExists(backup)) return true;
    g_backupAnswer = ShowNotice(kNoticeBackup, "", 1, NoticeType::Warning,
                                kButtonYes | kButtonNo | kButtonCancel, 0);
    switch (g_backupAnswer) {
        case IDYES:
            // A failed rename leaves item_bak\ whole for the next question.
            if (DiscardFolder(live)) ::MoveFileA(backup.c_str(), live.c_str());
            return true;
        case IDNO:
            DiscardFolder(backup);
            return true;
        default:
            Application.Terminate();
            return false;
    }
}

void ReloadItems() {
    FormItems->AttachTreeChange(false);
    EnableTrayIcon(false);
    ItemStore& store = Store();
    store.tables.Clear();
    FormItems->TVItems.Tag = 0;
    FormItems->TVUndo.Tag = 0;
    FormItems->TVItems.Clear();
    FormItems->TVUndo.Clear();
    FormItems->PMItems.Items().Clear();
    FormItems->PMItems.Items().Tag = 0;
    FormItems->ILAllPublicPM.Tag = 0;
    const TBitmap* small[3] = {FormShortCuts->ImageBreak3Small.get(), FormShortCuts->ImageBreak4Small.get(),
                               FormShortCuts->ImageBreak5Small.get()};
    const TBitmap* large[3] = {FormShortCuts->ImageBreak3Large.get(), FormShortCuts->ImageBreak4Large.get(),
                               FormShortCuts->ImageBreak5Large.get()};
    store.icons.CutBack(small, large, FormItems->TVItems.Tag);
    store.drawMenuBar = Settings.DrawMenuBar;
    store.PrepareBaseTree();
    if (!store.LoadPass1()) return;
    store.LoadPass2();
    ApplyMenuDrawing();
    EnableTrayIcon(true);
    FormItems->AttachTreeChange(true);
}

void ShutDown() {
    SaveSettings();
    Store().icons.FreeWorkSurfaces();
    g_guard.Release();
    Application.ProcessMessages();
    Application.Terminate();
}

}  // namespace rz
