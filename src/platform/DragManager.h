#pragma once
// A drag inside one control, without OLE: the control keeps the mouse from a
// press of the left button to its release; a drag begun during the press
// starts once the pointer is a threshold distance from the press; on every
// move the handlers say whether a drop would be taken there, and the cursor
// shows it. A release anywhere, a lost capture or Esc ends press and drag.

#include <windows.h>

#include <functional>

#include "platform/Component.h"

namespace rz {

class TControl;

enum TMouseButton { mbLeft, mbRight, mbMiddle };
// The MK_ flags the mouse message carried.
using TShiftState = unsigned;
enum TDragState { dsDragEnter, dsDragLeave, dsDragMove };

using TMouseEvent = std::function<void(TObject* sender, TMouseButton button, TShiftState shift, int x, int y)>;
// accept comes in true; a handler that leaves it so takes a drop there.
using TDragOverEvent =
    std::function<void(TObject* sender, TObject* source, int x, int y, TDragState state, bool& accept)>;
using TDragDropEvent = std::function<void(TObject* sender, TObject* source, int x, int y)>;
// target is the control when it took the drop, else null.
using TEndDragEvent = std::function<void(TObject* sender, TObject* target, int x, int y)>;

struct TMouseDragEvents {
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TDragOverEvent OnDragOver;
    TDragDropEvent OnDragDrop;
    // Raised when a drag begun with BeginDrag ends, dropped or not, and when
    // a press ends without a release (capture lost, Esc, CancelDrag).
    TEndDragEvent OnEndDrag;
};

class TDragManager {
public:
    using Original = std::function<LRESULT(UINT msg, WPARAM wp, LPARAM lp)>;
    // original runs the control's own handling of a message.
    TDragManager(TControl& control, TMouseDragEvents& events, Original original);
    TDragManager(const TDragManager&) = delete;
    TDragManager& operator=(const TDragManager&) = delete;

    // Only while the left button is held; false otherwise.
    bool BeginDrag(int threshold);
    // Ends a press or a drag without a drop.
    void Cancel();
    bool Pressed() const { return state_ != State::Idle; }
    bool Dragging() const { return state_ == State::Dragging; }
    // The answer of the last drag-over.
    bool Accepted() const { return accept_; }

    // Lets the control mark the place under the pointer; at is null when
    // the pointer is outside or the drag is over.
    std::function<void(const POINT* at, bool accept)> showTarget;

    // The control's messages; true when handled and result set.
    bool WindowMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

private:
    enum class State { Idle, Pressed, Pending, Dragging };

    void Press(TMouseButton button, WPARAM wp, POINT at);
    void Release(POINT at);
    void Move(WPARAM wp, POINT at);
    void DragTo(POINT at);
    void Finish(bool released, bool dropped, POINT at);
    bool Inside(POINT at) const;
    void FireMouse(const TMouseEvent& event, TMouseButton button, WPARAM wp, POINT at);

    TControl& control_;
    TMouseDragEvents& events_;
    Original original_;
    State state_ = State::Idle;
    POINT pressAt_{};
    POINT lastAt_{};
    int threshold_ = 0;
    bool accept_ = false;
    bool inside_ = false;
};

}  // namespace rz
