#pragma once
// A group box whose caption is engraved while it is disabled.

#include "platform/StdControls.h"

namespace rz {

class TcvWinGroupBox : public TGroupBox {
public:
    explicit TcvWinGroupBox(std::string name = {}) : TGroupBox(std::move(name)) {}
    void CreateWnd(HWND parent);
    // The DPI its form lays it out for; the caption's inset follows it.
    void SetDpi(int dpi);

protected:
    bool WindowMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    void Paint();
    int dpi_ = 0;  // 0: the window's own
};

}  // namespace rz
