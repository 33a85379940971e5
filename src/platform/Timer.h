#pragma once
// A timer that ticks on the UI thread through a message-only window of its own.

#include "platform/Window.h"

namespace rz {

class TTimer : public TWindow {
public:
    explicit TTimer(std::string name = {}) : TWindow(std::move(name)) {}
    ~TTimer() override;

    void SetInterval(unsigned ms);
    unsigned Interval() const { return interval_; }
    void SetEnabled(bool on);
    bool Enabled() const { return enabled_; }

    TNotifyEvent OnTimer;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void Update();
    unsigned interval_ = 1000;
    bool enabled_ = false;
};

}  // namespace rz
