#pragma once
// Wave playback through the MCI wave-audio device; the device of the last
// sound stays open until the next one is opened.

#include <windows.h>

#include <string>

#include "platform/Component.h"

namespace rz {

class TMediaPlayer : public TComponent {
public:
    explicit TMediaPlayer(std::string name = {}) : TComponent(std::move(name)) {}
    ~TMediaPlayer() override;

    std::string FileName;
    // Raise std::runtime_error with the MCI error text on failure.
    void Open();
    void Play();
    void Close();

private:
    UINT device_ = 0;
};

}  // namespace rz
