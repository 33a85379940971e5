#include "platform/Timer.h"

#include "platform/SystemError.h"

namespace rz {

namespace {
constexpr char kTimerClass[] = "TTimer.Razaveza";
constexpr UINT_PTR kTimerId = 1;
}  // namespace

TTimer::~TTimer() {
    if (Handle()) ::KillTimer(Handle(), kTimerId);
}

void TTimer::SetInterval(unsigned ms) {
    if (ms == interval_) return;
    interval_ = ms;
    Update();
}

void TTimer::SetEnabled(bool on) {
    if (on == enabled_) return;
    enabled_ = on;
    Update();
}

void TTimer::Update() {
    if (!Handle()) {
        RegisterClassOnce(kTimerClass, nullptr);
        CreateHandle(0, kTimerClass, Name, 0, 0, 0, 0, 0, HWND_MESSAGE);
    }
    ::KillTimer(Handle(), kTimerId);
    if (enabled_ && interval_ > 0 && !::SetTimer(Handle(), kTimerId, interval_, nullptr)) RaiseLastOSError();
}

LRESULT TTimer::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_TIMER && wp == kTimerId) {
        if (OnTimer) OnTimer(this);
        return 0;
    }
    return DefaultHandler(msg, wp, lp);
}

}  // namespace rz
