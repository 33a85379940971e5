#pragma once
// A group box whose caption is engraved while it is disabled.

#include "platform/StdControls.h"

namespace rz {

class TcvWinGroupBox : public TGroupBox {
public:
    explicit TcvWinGroupBox(std::string name = {}) : TGroupBox(std::move(name)) {}
    void CreateWnd(HWND parent);

protected:
    bool WindowMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    void Paint();
};

}  // namespace rz
