#include "menu/form_general.h"

#include "core/AppData.h"
#include "core/ColourTheme.h"
#include "core/ErrorLog.h"
#include "platform/Application.h"
#include "platform/ForeignMessages.h"
#include "platform/Handles.h"
#include "support/SystemEnvironment.h"

namespace rz {

namespace {
// A theme switch comes with a burst of announcements (settings, colours,
// theme): one repaint when they settle, or once a second while they go on.
constexpr unsigned kColoursSettleMs = 150;
constexpr DWORD kColoursAtMostMs = 1000;
}  // namespace

TFormGeneral::TFormGeneral() : TForm("FormGeneral") {
    CreateForm("GeneralForm", 0, 0, WS_POPUP, WS_EX_TOOLWINDOW);
    OnShow = [this](TObject* s) { FormShow(s); };
    Application.OnException = [this](TObject* s, const std::exception& e) { AEGeneralException(s, e); };
    Application.OnHint = [this](TObject* s) { AEGeneralHint(s); };
    taskbarCreated_ = ::RegisterWindowMessageA("TaskbarCreated");
    JvApplicationHotKey.OnHotKey = [this](TObject* s) { JvApplicationHotKeyHotKey(s); };
    JvApplicationHotKey.SetHotKey(0x4000 | 'L');
    JvApplicationHotKey.SetWindow(Handle());
    JvSearchHotKey.IdSuffix = "|search";
    JvSearchHotKey.OnHotKey = [this](TObject* s) { JvSearchHotKeyHotKey(s); };
    JvSearchHotKey.SetWindow(Handle());
    TimerColours.SetInterval(kColoursSettleMs);
    TimerColours.OnTimer = [this](TObject* s) { TimerColoursTimer(s); };
    AttachActivation(true);
    // Visible but disabled, without a menu, until start-up is done.
    CSystrayGen.LeftPopup = true;
    CSystrayGen.Enabled = false;
    CSystrayGen.OnPopup = [this](TCoolTrayIcon& tray) { ShowLauncherMenuAtCursor(tray.PopupMenu, MenuHost, tray); };
    // The tray keeps its own copy of the icon.
    unique_hicon icon(
        static_cast<HICON>(::LoadImageA(::GetModuleHandleA(nullptr), "MAINICON", IMAGE_ICON,
                                        ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON), 0)));
    CSystrayGen.Show(Handle(), icon.get());
    // What a later announcement takes away is known only against this.
    NoteRegistryEnvironment();
    FormCreate(this);
}

TFormGeneral::~TFormGeneral() {
    Application.OnException = nullptr;
    Application.OnHint = nullptr;
    AttachActivation(false);
}

void TFormGeneral::FormCreate(TObject*) {
    if (Handle()) ::SetWindowPos(Handle(), nullptr, -1, -1, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TFormGeneral::FormShow(TObject*) {}

void TFormGeneral::JvApplicationHotKeyHotKey(TObject*) {
    ShowLauncherMenuAtCursor(CSystrayGen.PopupMenu, MenuHost, CSystrayGen);
}

void TFormGeneral::JvSearchHotKeyHotKey(TObject*) {
    if (openSearch) openSearch();
}

void TFormGeneral::ShowLauncherFolder(TMenuItem& folder, POINT at) {
    ShowLauncherMenu(CSystrayGen.PopupMenu, MenuHost, CSystrayGen, at, &folder);
}

void ShowLauncherMenuAtCursor(TPopupMenu* menu, TMenuHost& host, TCoolTrayIcon& trayIcon) {
    POINT p;
    if (::GetCursorPos(&p)) ShowLauncherMenu(menu, host, trayIcon, p);
}

void ShowLauncherMenu(TPopupMenu* menu, TMenuHost& host, TCoolTrayIcon& trayIcon, POINT p, TMenuItem* level) {
    // One menu at a time, whichever asks: a queued hotkey, the tray, a context menu open.
    if (!menu || menu->Showing || menu->IsOpen() || TPopupMenu::Current()) return;
    struct Guard {
        TPopupMenu& m;
        explicit Guard(TPopupMenu& menu) : m(menu) { m.Showing = true; }
        ~Guard() { m.Showing = false; }
    } guard(*menu);
    Application.ProcessMessages();
    menu->PopupComponent = &trayIcon;
    host.Popup(*menu, p, level);
}

void TFormGeneral::SystemColoursMayChange() {
    const DWORD now = ::GetTickCount();
    if (!TimerColours.Enabled()) firstAnnouncement_ = now;
    if (now - firstAnnouncement_ >= kColoursAtMostMs) return;
    // Disabled and enabled: the wait starts again.
    TimerColours.SetEnabled(false);
    TimerColours.SetEnabled(true);
}

void TFormGeneral::TimerColoursTimer(TObject*) {
    TimerColours.SetEnabled(false);
    FollowColourTheme();
}

void TFormGeneral::AEGeneralException(TObject* sender, const std::exception& e) {
    const auto* component = dynamic_cast<const TComponent*>(sender);
    const bool logged =
        WriteErrorLog(component ? "Exception raised (Sender was: " + component->Name + "): " + e.what()
                                : std::string("Exception raised (Sender Couldn't be determined): ") + e.what());
    FlushLogRepeats();
    std::string text = PreparedText(kNoticeFatal);
    if (text.empty()) text = FatalExceptionText(App.dataFolder);
    // Without a log to send in, the box itself says what happened.
    ShowNotice(kNoticeGiven, logged ? text : text + "\r\n\r\n" + e.what(), 0);
    Application.Terminate();
}

void TFormGeneral::AEGeneralActivate(TObject*) {
    for (TTitledDialog* w : titledWindows) {
        if (w->Visible()) w->FormActivate(w);
        Application.ProcessMessages();
    }
}

void TFormGeneral::AEGeneralHint(TObject*) {
    if (!hintWindow || !showHint || ::GetActiveWindow() != hintWindow->Handle()) return;
    const std::string& hint = Application.Hint();
    size_t bar = hint.find('|');
    showHint(bar == std::string::npos ? hint : hint.substr(bar + 1));
}

void TFormGeneral::AttachActivation(bool attach) {
    if (attach) {
        auto handler = [this](TObject* s) { AEGeneralActivate(s); };
        Application.OnActivate = handler;
        Application.OnDeactivate = handler;
    } else {
        Application.OnActivate = nullptr;
        Application.OnDeactivate = nullptr;
    }
}

void TFormGeneral::ApplyTaskBarPresence(bool taskBar) {
    if (!taskBar) Application.ProcessMessages();
    // The whole extended style is replaced.
    ::SetWindowLongA(Application.Handle(), GWL_EXSTYLE, taskBar ? 0 : WS_EX_TOOLWINDOW);
}

LRESULT TFormGeneral::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    LRESULT result = 0;
    if (TPopupMenu* open = TPopupMenu::Current(); open && open->HandleOwnerMessage(msg, wp, lp, result)) return result;
    if (msg == WM_HOTKEY && (JvApplicationHotKey.Dispatch(wp) || JvSearchHotKey.Dispatch(wp))) return 0;
    if (msg == kMsgTrayIcon) {
        CSystrayGen.HandleCallback(lp);
        return 0;
    }
    // Launches from now on see what the user set since the start.
    if (msg == WM_SETTINGCHANGE && wp == 0 && SettingAnnounced(lp, "Environment")) RefreshEnvironment();
    // Whatever a settings announcement names, the theme is read again: the
    // reading is cheap and nothing repaints unless the palette changes.
    if (msg == WM_SETTINGCHANGE || msg == WM_SYSCOLORCHANGE || msg == WM_THEMECHANGED) SystemColoursMayChange();
    if (taskbarCreated_ && msg == taskbarCreated_) {
        CSystrayGen.Readd();
        return 0;
    }
    return TForm::HandleMessage(msg, wp, lp);
}

}  // namespace rz
