#include "platform/ProgressBar.h"

#include <commctrl.h>

#include <algorithm>

namespace rz {

void TProgressBar::CreateWnd(HWND parent) {
    CreateControl(parent, PROGRESS_CLASSA, "", 0);
    ::SendMessageA(Handle(), PBM_SETRANGE32, min_, max_);
    ::SendMessageA(Handle(), PBM_SETPOS, position_, 0);
}

void TProgressBar::SetRange(int min, int max) {
    min_ = min;
    max_ = std::max(min, max);
    if (Handle()) ::SendMessageA(Handle(), PBM_SETRANGE32, min_, max_);
    SetPosition(position_);
}

void TProgressBar::SetPosition(int position) {
    position_ = std::clamp(position, min_, max_);
    if (Handle()) ::SendMessageA(Handle(), PBM_SETPOS, position_, 0);
}

}  // namespace rz
