#pragma once
// Messages from other processes. A message whose lParam points into its
// sender's memory is read only when it comes from this thread: the system
// sends those on the thread of the window, another process's copy points
// nowhere (or anywhere), and none of them is ever posted.
//
// While this thread handles a message another process sent, the system
// still counts every message within it as sent from there, also the
// notifications the program's own controls send on this thread: those
// point into this thread's stack, another process's pointers do not.

#include <windows.h>

namespace rz {

// The messages whose lParam the program's window procedures read as a
// pointer, and the size they read at least; 0 for the others.
size_t PointerParameterSize(UINT msg);
// Whether the message being handled was sent by another thread.
bool SentByAnotherThread();
// Whether a window procedure may read the message's lParam as a pointer.
bool PointerParameterTrusted(UINT msg, LPARAM lp);

// Turns every posted message that carries a pointer into WM_NULL before any
// message loop of the calling thread (its own, a menu's, a message box's)
// hands it on. The guard lasts as long as the returned hook.
HHOOK GuardThreadQueue();

}  // namespace rz
