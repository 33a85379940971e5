#pragma once
// The machine's memory use, as the about box shows it.

#include "platform/Seam.h"

namespace rz {

struct MemoryStatus {
    unsigned load = 0;                 // percent in use, 0 to 100
    unsigned long long totalPhys = 0;  // bytes of physical memory
};

// The 64-bit query: the old one caps the total at 2 or 4 GB in a 32-bit
// process. Zeros when the system does not answer.
extern Seam<MemoryStatus()> ReadMemoryStatus;

}  // namespace rz
