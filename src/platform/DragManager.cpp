#include "platform/DragManager.h"

#include <windowsx.h>

#include <cstdlib>

#include "platform/Control.h"

namespace rz {

namespace {

POINT PointOf(LPARAM lp) { return POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}; }

void ShowCursorFor(bool accept) {
    ::SetCursor(::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(accept ? IDC_ARROW : IDC_NO)));
}

}  // namespace

TDragManager::TDragManager(TControl& control, TMouseDragEvents& events, Original original)
    : control_(control), events_(events), original_(std::move(original)) {}

bool TDragManager::WindowMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    switch (msg) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            // The control's own handling (focus, selection) comes first.
            result = original_(msg, wp, lp);
            Press(mbLeft, wp, PointOf(lp));
            return true;
        case WM_RBUTTONDOWN:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDOWN:
        case WM_MBUTTONDBLCLK:
            Cancel();
            result = original_(msg, wp, lp);
            FireMouse(events_.OnMouseDown, msg == WM_MBUTTONDOWN || msg == WM_MBUTTONDBLCLK ? mbMiddle : mbRight, wp,
                      PointOf(lp));
            return true;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP: {
            const TMouseButton button = msg == WM_LBUTTONUP ? mbLeft : msg == WM_RBUTTONUP ? mbRight : mbMiddle;
            if (button == mbLeft) Release(PointOf(lp));
            result = original_(msg, wp, lp);
            FireMouse(events_.OnMouseUp, button, wp, PointOf(lp));
            return true;
        }
        case WM_MOUSEMOVE: Move(wp, PointOf(lp)); return false;
        case WM_CAPTURECHANGED:
            if (reinterpret_cast<HWND>(lp) != control_.Handle()) Cancel();
            return false;
        case WM_CANCELMODE: Cancel(); return false;
        case WM_GETDLGCODE:
            if (!Pressed()) return false;
            // Esc must reach us, not close the window as its cancel key.
            result = original_(msg, wp, lp) | DLGC_WANTMESSAGE;
            return true;
        case WM_KEYDOWN:
            if (wp != VK_ESCAPE || !Pressed()) return false;
            Cancel();
            result = 0;
            return true;
        default: return false;
    }
}

void TDragManager::Press(TMouseButton button, WPARAM wp, POINT at) {
    Cancel();
    state_ = State::Pressed;
    pressAt_ = lastAt_ = at;
    // A release outside the control still has to reach it.
    ::SetCapture(control_.Handle());
    FireMouse(events_.OnMouseDown, button, wp, at);
}

void TDragManager::Release(POINT at) {
    if (state_ == State::Idle) return;
    lastAt_ = at;
    bool dropped = false;
    if (state_ == State::Dragging) {
        // The place of the release decides, whatever the last move reported.
        DragTo(at);
        if (state_ != State::Dragging) return;
        if (inside_ && accept_ && events_.OnDragDrop) {
            dropped = true;
            events_.OnDragDrop(&control_, &control_, at.x, at.y);
            // The handler may have ended the drag itself.
            if (state_ != State::Dragging) return;
        }
    }
    Finish(true, dropped, at);
}

void TDragManager::Move(WPARAM wp, POINT at) {
    if (state_ == State::Idle) return;
    lastAt_ = at;
    if (!(wp & MK_LBUTTON)) {
        // The release went somewhere we never heard of.
        Cancel();
        return;
    }
    if (state_ == State::Pending &&
        (std::abs(at.x - pressAt_.x) >= threshold_ || std::abs(at.y - pressAt_.y) >= threshold_)) {
        state_ = State::Dragging;
        inside_ = false;
    }
    if (state_ == State::Dragging) DragTo(at);
}

void TDragManager::DragTo(POINT at) {
    if (!Inside(at)) {
        if (inside_ && events_.OnDragOver) {
            bool ignored = false;
            events_.OnDragOver(&control_, &control_, at.x, at.y, dsDragLeave, ignored);
        }
        inside_ = false;
        accept_ = false;
    } else {
        const TDragState state = inside_ ? dsDragMove : dsDragEnter;
        inside_ = true;
        bool accept = true;
        if (events_.OnDragOver) events_.OnDragOver(&control_, &control_, at.x, at.y, state, accept);
        accept_ = accept;
    }
    if (state_ != State::Dragging) return;
    ShowCursorFor(accept_);
    if (showTarget) showTarget(inside_ ? &at : nullptr, accept_);
}

bool TDragManager::BeginDrag(int threshold) {
    if (state_ == State::Idle) return false;
    if (state_ == State::Pressed) {
        state_ = State::Pending;
        threshold_ = threshold;
    }
    return true;
}

void TDragManager::Cancel() {
    if (state_ != State::Idle) Finish(false, false, lastAt_);
}

void TDragManager::Finish(bool released, bool dropped, POINT at) {
    if (state_ == State::Idle) return;
    const bool wasDragging = state_ == State::Dragging;
    // A plain press released normally is the mouse-up's business alone.
    const bool report = !(released && state_ == State::Pressed);
    state_ = State::Idle;
    accept_ = inside_ = false;
    // Idle first: the capture-changed message this sends must find nothing to end.
    if (::GetCapture() == control_.Handle()) ::ReleaseCapture();
    if (wasDragging) {
        ShowCursorFor(true);
        if (showTarget) showTarget(nullptr, false);
    }
    if (report && events_.OnEndDrag) events_.OnEndDrag(&control_, dropped ? &control_ : nullptr, at.x, at.y);
}

bool TDragManager::Inside(POINT at) const {
    RECT client{};
    return ::GetClientRect(control_.Handle(), &client) && ::PtInRect(&client, at);
}

void TDragManager::FireMouse(const TMouseEvent& event, TMouseButton button, WPARAM wp, POINT at) {
    if (event) event(&control_, button, static_cast<TShiftState>(wp), at.x, at.y);
}

}  // namespace rz
