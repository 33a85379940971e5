#pragma once
// The hidden main form: it never shows, and carries what the user reaches
// the program through - the tray icon and the hotkey - plus the sound
// player and the application-wide exception handler.

#include <exception>
#include <functional>
#include <string>
#include <vector>

#include "core/TitledDialog.h"
#include "platform/Form.h"
#include "platform/HotKey.h"
#include "platform/MediaPlayer.h"
#include "platform/MenuHost.h"
#include "platform/Menu.h"
#include "platform/Timer.h"
#include "platform/TrayIcon.h"

namespace rz {

class TFormGeneral : public TForm {
public:
    TFormGeneral();
    ~TFormGeneral() override;
    TFormGeneral(const TFormGeneral&) = delete;
    TFormGeneral& operator=(const TFormGeneral&) = delete;

    TCoolTrayIcon CSystrayGen{"CSystrayGen"};
    TJvApplicationHotKey JvApplicationHotKey{"JvApplicationHotKey"};
    // Opens the search window; no key until the settings give one.
    TJvApplicationHotKey JvSearchHotKey{"JvSearchHotKey"};
    TMediaPlayer MPAudioGen{"MPAudioGen"};
    // What the launcher menu is shown from, so that it hears the keyboard.
    TMenuHost MenuHost{"MenuHost"};
    // Follows the system's colours once its announcements settle.
    TTimer TimerColours{"TimerColours"};

    void FormCreate(TObject* sender);
    void FormShow(TObject* sender);
    void JvApplicationHotKeyHotKey(TObject* sender);
    void JvSearchHotKeyHotKey(TObject* sender);
    // A folder of the launcher menu opened at a point, as the search window's choice of it does.
    void ShowLauncherFolder(TMenuItem& folder, POINT at);
    void AEGeneralException(TObject* sender, const std::exception& e);
    // Repaints the painted titles of the visible windows on (de)activation.
    void AEGeneralActivate(TObject* sender);
    // Shows the long part of a hint in the item manager's status bar.
    void AEGeneralHint(TObject* sender);

    // The system announced a change of settings or colours: the palette
    // follows once they stop coming, or at least once a second while they do.
    void SystemColoursMayChange();
    void TimerColoursTimer(TObject* sender);

    // Whether the program shows a taskbar button while one of its windows is open.
    void ApplyTaskBarPresence(bool taskBar);
    // Attaches or detaches AEGeneralActivate from the application's (de)activation.
    void AttachActivation(bool attach);

    // The windows whose painted titles AEGeneralActivate renews, in order.
    std::vector<TTitledDialog*> titledWindows;
    // The window whose status line shows hints while it is active.
    TForm* hintWindow = nullptr;
    std::function<void(const std::string& text)> showHint;
    std::function<void()> openSearch;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    UINT taskbarCreated_ = 0;
    DWORD firstAnnouncement_ = 0;
};

// Shows menu at the mouse position from host, which takes the keyboard for it.
void ShowLauncherMenuAtCursor(TPopupMenu* menu, TMenuHost& host, TCoolTrayIcon& trayIcon);
// Shows menu at a screen point, or only one of its levels there, as if the
// user had walked to it; from host too.
void ShowLauncherMenu(TPopupMenu* menu, TMenuHost& host, TCoolTrayIcon& trayIcon, POINT at, TMenuItem* level = nullptr);

}  // namespace rz
