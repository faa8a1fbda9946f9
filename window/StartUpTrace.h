#pragma once
// Marks along the program's start-up, for timing it from inside without message hooks (which
// cost a round trip to the window server per message under Wine and so distort what they
// measure). Nobody listens in the program itself: a mark is then one test of a null pointer.
// A benchmark that runs the main window in its own process sets the listener.

namespace win32::startup {

// Called with what has just ended; the text is a literal that outlives the call.
using Listener = void (*)(const char* what);
inline Listener g_listener = nullptr;

inline void Mark(const char* what) {
    if (g_listener) g_listener(what);
}

}  // namespace win32::startup
