#pragma once
// Hardening the program does first thing at entry.

namespace rz {

// DLLs loaded by name come from the system folder only - never from the
// current folder or the program's folder, where anyone may plant one - and
// data is never executed. Uses what the system offers and skips the rest.
void HardenProcess();

}  // namespace rz
