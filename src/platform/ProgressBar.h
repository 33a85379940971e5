#pragma once
// The common controls' progress bar.

#include "platform/Control.h"

namespace rz {

class TProgressBar : public TControl {
public:
    explicit TProgressBar(std::string name = {}) : TControl(std::move(name)) {}
    void CreateWnd(HWND parent);

    void SetRange(int min, int max);
    int Min() const { return min_; }
    int Max() const { return max_; }
    // Kept within the range.
    void SetPosition(int position);
    int Position() const { return position_; }

private:
    int min_ = 0;
    int max_ = 100;
    int position_ = 0;
};

}  // namespace rz
