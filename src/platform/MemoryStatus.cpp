#include "platform/MemoryStatus.h"

#include <windows.h>

namespace rz {

namespace {
MemoryStatus QueryMemoryStatus() {
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof(status);
    if (!::GlobalMemoryStatusEx(&status)) return {};
    return {static_cast<unsigned>(status.dwMemoryLoad), status.ullTotalPhys};
}
}  // namespace

Seam<MemoryStatus()> ReadMemoryStatus{&QueryMemoryStatus};

}  // namespace rz
