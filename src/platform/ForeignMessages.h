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

// Whether a WM_SETTINGCHANGE names this area ("Environment"). Its string
// may come from another process: it is compared only as far as readable
// memory goes.
bool SettingAnnounced(LPARAM lp, const char* area);

// For a window that exists already: a creation message, or a destruction
// message another thread sent. Either would have the window's handler
// start afresh or tear down on someone else's word.
bool ForeignLifeMessage(UINT msg);

// Keeps a window of a system class (an edit, a button, a tree view) from
// another process's creation, destruction and context menu messages, which
// its own procedure would follow. Lasts as long as the window.
bool GuardWindow(HWND hwnd);

// Turns every posted message that carries a pointer, a callback or a
// request only the system makes into WM_NULL before any message loop of the
// calling thread (its own, a menu's, a message box's) hands it on. The
// guard lasts as long as the returned hook.
HHOOK GuardThreadQueue();

// A timer with a callback. The dispatch calls whatever address a WM_TIMER
// names, and anyone may post one: the guard drops every WM_TIMER that names
// an address, and these timers name none - the guard itself calls their
// callback, in whichever loop of the thread takes the tick.
UINT_PTR SetCallbackTimer(HWND hwnd, UINT_PTR id, UINT ms, TIMERPROC callback);
void KillCallbackTimer(HWND hwnd, UINT_PTR id);

// Whether a context menu may open for this WM_CONTEXTMENU: asked by this
// thread's own input, not by another process, and no menu already open.
bool ContextMenuWanted();
// Counted while one of the program's popup menus runs its loop.
void NoteMenuOpen(bool open);
bool AnyMenuOpen();

}  // namespace rz
