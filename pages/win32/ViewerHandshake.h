#pragma once
// The handshake with the PC viewer around a format: ask it to stop reading the card and wait
// for it, and tell it about a new card afterwards.

#include <windows.h>

// How long the viewer may take to stop reading the card before the format is given up.
constexpr DWORD VIEWER_STOP_TIMEOUT_MS = 10000;

// How the viewer handshake ended.
enum class ViewerHandshake {
    NoViewer,  // no viewer window: nothing to wait for
    Stopped,   // the viewer set its event
    NoEvent,   // the viewer runs but its event does not exist: nothing to wait for
    TimedOut,  // the viewer did not set its event in time
};

// Finds the viewer's window (either title), posts it the stop request and waits, at most
// timeoutMs, for its event. The main window is not repainted meanwhile, but messages that other
// programs send to it are answered.
ViewerHandshake AskViewerToStop(DWORD timeoutMs = VIEWER_STOP_TIMEOUT_MS);

// Tells the viewer (under its shorter title only) that the card has changed.
void TellViewerAboutNewCard();

// Waits for an object, answering what other threads and programs send to this thread's windows
// meanwhile (so a broadcast does not hang on us), but leaving posted input in the queue so no
// click starts anything while we wait. False when the time ran out or the wait failed.
bool WaitAnsweringSentMessages(HANDLE object, DWORD timeoutMs);
