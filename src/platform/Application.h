#pragma once
// The application object: the hidden application window (owner of the
// program's windows, taskbar presence), the message loop, termination, the
// application title and hint, and the one route for escaped exceptions.

#include <exception>
#include <functional>
#include <string>
#include <vector>

#include "platform/Handles.h"
#include "platform/Timer.h"
#include "platform/Window.h"

namespace rz {

using TExceptionEvent = std::function<void(TObject* sender, const std::exception& e)>;

class TApplication : public TWindow {
public:
    // Unnamed: an exception reported with the application object as sender
    // logs an empty sender name.
    TApplication() = default;

    // Creates the hidden application window; safe to call more than once.
    void Initialize();

    const std::string& Title() const { return title_; }
    void SetTitle(const std::string& title);

    std::string HelpFile;
    bool ShowMainForm = false;

    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& hint);
    // Makes the hint that of the control under the pointer.
    void TrackHint(HWND under);

    // Pumps every pending message; returns early when WM_QUIT arrives.
    void ProcessMessages();
    // Runs the message loop until Terminate.
    void Run();
    // One turn of that loop: a message, or else the idle call and a wait of
    // at most maxWaitMs for a message or a handle. Tests turn it themselves.
    void RunOnce(DWORD maxWaitMs = INFINITE);

    // Work the loop does between messages, never inside another loop (a
    // menu's, a box's, a dialog's): that work waits until such a loop ends.
    // The loop waits on the handle beside the messages and calls signalled
    // when it is set; a handle that stays set is called again each turn.
    void AddWait(HANDLE handle, std::function<void()> signalled);
    void RemoveWait(HANDLE handle);
    // Work called when no message is waiting; each answers how many ms the
    // loop may wait before calling it again (0: at once), INFINITE when only
    // a message or a handle should wake it. Several parts of the program
    // keep work of their own, each under its owner.
    using IdleWork = std::function<DWORD()>;
    void AddIdle(const void* owner, IdleWork work);
    void RemoveIdle(const void* owner);
    void Terminate();
    bool Terminated() const { return terminated_; }
    // For tests that share one process: forget an earlier Terminate or fault.
    void ResetTerminated();

    // Call inside a catch block only: reports the exception being handled.
    void HandleException(TObject* sender) noexcept;
    // A hardware exception nothing handled takes the same route; the process
    // ends when this returns EXCEPTION_EXECUTE_HANDLER.
    LONG ReportFault(const EXCEPTION_POINTERS* info) noexcept;
    // After a hardware exception no handler of the program runs again: the
    // boxes that report it would otherwise hand a timer the same fault.
    bool Faulted() const { return faulted_; }

    bool Active() const { return active_; }

    // The application window carries the program's taskbar button: it is
    // shown (at no size) while one of the program's windows is visible.
    void SyncTaskbarButton();

    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TNotifyEvent OnHint;
    TExceptionEvent OnException;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void ReportError(TObject* sender, const std::string& what) noexcept;
    bool DispatchOne(const MSG& msg);
    // A message of the loop: hints, dialog navigation, then the window.
    void LoopMessage(MSG& msg);
    bool SwitchesPage(HWND top, const MSG& msg);
    void WaitForWork(DWORD timeoutMs);
    std::string title_;
    std::string hint_;
    bool terminated_ = false;
    bool active_ = false;
    bool reporting_ = false;
    bool faulted_ = false;
    // Posted messages with pointers never reach a window of this thread.
    unique_hhook queueGuard_;
    // Disabled controls get no mouse messages: while a window of ours is
    // open, the pointer is also looked at on a timer.
    TTimer hintPoll_{"HintPoll"};
    struct Wait {
        HANDLE handle;
        std::function<void()> signalled;
    };
    std::vector<Wait> waits_;
    std::vector<std::pair<const void*, IdleWork>> idle_;
};

extern TApplication Application;

// Routes every hardware exception in the program's own code, and every one
// that nothing handles, to Application.ReportFault; the process then ends.
void InstallFaultFilter();
// The exception's code, address and module, e.g.
// "Access violation (C0000005) at 0x0040A1B2 in razaveza.exe".
std::string DescribeFault(const EXCEPTION_RECORD& record);

// Runs an event handler, routing anything it throws to the application.
template <class F>
void SafeInvoke(TObject* sender, F&& handler) noexcept {
    try {
        handler();
    } catch (...) {
        Application.HandleException(sender);
    }
}

}  // namespace rz
