#pragma once
// A lowered line across the top of its bounds, dividing a form's parts.

#include "platform/Control.h"

namespace rz {

class TBevel : public TControl {
public:
    explicit TBevel(std::string name = {}) : TControl(std::move(name)) {}
    void CreateWnd(HWND parent);

protected:
    bool WindowMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
};

}  // namespace rz
