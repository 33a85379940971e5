#pragma once
// Changes in a folder and in every folder below it, as the system reports
// them, taken by the message loop between messages (Application.AddWait):
// no thread, no timer, nothing at all while nothing changes. The watch holds
// the folder itself open, never a folder below it, so those stay free to be
// renamed and deleted.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/Handles.h"

namespace rz {

class TFolderWatch {
public:
    // names: what changed, relative to the folder ("sub\file.txt"); lost:
    // the system lost count, anything may have changed.
    using ChangeEvent = std::function<void(const std::vector<std::string>& names, bool lost)>;

    TFolderWatch() = default;
    ~TFolderWatch() { Stop(); }
    TFolderWatch(const TFolderWatch&) = delete;
    TFolderWatch& operator=(const TFolderWatch&) = delete;

    // folder with or without its trailing "\". False with the system's
    // reason in GetLastError; nothing is watched then.
    bool Start(const std::string& folder, ChangeEvent onChange);
    void Stop();
    bool Watching() const { return folder_ != nullptr; }

    // The system stopped reporting (the code says why); the watch has ended.
    std::function<void(unsigned long code)> OnFailure;

private:
    bool Arm();
    void Take();
    void Fail(unsigned long code);

    unique_handle_kernel folder_;
    unique_handle_kernel event_;
    OVERLAPPED overlapped_{};
    // DWORD-aligned, as the records require; within the 64 KB a watch over
    // the network takes.
    std::vector<DWORD> buffer_ = std::vector<DWORD>(8192);
    bool reading_ = false;
    ChangeEvent onChange_;
};

}  // namespace rz
