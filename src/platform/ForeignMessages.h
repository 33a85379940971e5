#pragma once
// Messages from other processes. A message whose lParam points into its
// sender's memory is read only when it comes from this thread: the system
// sends those on the thread of the window, another process's copy points
// nowhere (or anywhere), and none of them is ever posted.

#include <windows.h>

namespace rz {

// The messages whose lParam the program's window procedures read as a pointer.
bool ReadsPointerParameter(UINT msg);
// Whether the message being handled was sent by another thread.
bool SentByAnotherThread();
// Whether a window procedure may read the message's lParam as a pointer.
inline bool PointerParameterTrusted(UINT msg) { return !ReadsPointerParameter(msg) || !SentByAnotherThread(); }

// Turns every posted message that carries a pointer into WM_NULL before any
// message loop of the calling thread (its own, a menu's, a message box's)
// hands it on. The guard lasts as long as the returned hook.
HHOOK GuardThreadQueue();

}  // namespace rz
