#include "platform/MediaPlayer.h"

#include <mmsystem.h>

#include <stdexcept>

namespace rz {

namespace {
[[noreturn]] void Raise(MCIERROR error) {
    char text[256] = {};
    if (!::mciGetErrorStringA(error, text, sizeof(text))) lstrcpynA(text, "MCI error", sizeof(text));
    throw std::runtime_error(text);
}
}  // namespace

TMediaPlayer::~TMediaPlayer() { Close(); }

void TMediaPlayer::Open() {
    Close();
    MCI_OPEN_PARMSA open{};
    open.lpstrDeviceType = "waveaudio";
    open.lpstrElementName = FileName.c_str();
    MCIERROR error =
        ::mciSendCommandA(0, MCI_OPEN, MCI_OPEN_TYPE | MCI_OPEN_ELEMENT | MCI_WAIT, reinterpret_cast<DWORD_PTR>(&open));
    if (error) Raise(error);
    device_ = open.wDeviceID;
}

void TMediaPlayer::Play() {
    if (!device_) throw std::runtime_error("The device is not open.");
    MCI_PLAY_PARMS play{};
    MCIERROR error = ::mciSendCommandA(device_, MCI_PLAY, 0, reinterpret_cast<DWORD_PTR>(&play));
    if (error) Raise(error);
}

void TMediaPlayer::Close() {
    if (!device_) return;
    ::mciSendCommandA(device_, MCI_CLOSE, MCI_WAIT, 0);
    device_ = 0;
}

}  // namespace rz
