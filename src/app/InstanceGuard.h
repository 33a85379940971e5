#pragma once
// Only one instance runs: the first one holds a named 4-byte mapping with its
// application window handle in it until shutdown.

#include <windows.h>

#include "platform/Handles.h"

namespace rz {

inline constexpr char kInstanceMappingName[] = "{0C462EFB-02B9-4314-80A4-DA95904F9B9F}";

class InstanceGuard {
public:
    // True for the first instance. Raises EOSError when the mapping cannot be made.
    bool Acquire(HWND appWindow, const char* name = kInstanceMappingName);
    void Release();
    bool Held() const { return static_cast<bool>(mapping_); }

private:
    unique_handle_kernel mapping_;
    unique_view view_;
};

}  // namespace rz
