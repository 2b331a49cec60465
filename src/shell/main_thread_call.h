// Window work asked for on any thread, done on the main thread while the caller waits, so a
// command that changes the window is done when its send returns, as on the main thread.
#pragma once

#include <functional>

// How long a caller waits before it stops waiting; see CallOnMainThread.
constexpr unsigned kMainThreadPatienceMs = 5000;

// Runs `work` on the main thread (the dispatch queue's) and returns true once it has run: at
// once on the main thread, otherwise through the dispatch queue while this thread waits,
// still answering messages other threads send to its windows. False, with nothing run,
// outside StartMainThreadCalls .. StopMainThreadCalls.
// A main thread that is itself waiting for the caller would wait forever; so after
// `patience_ms` the caller stops waiting (false, logged) and the work runs when the main
// thread gets to it.
bool CallOnMainThread(std::function<void()> work,
                      unsigned patience_ms = kMainThreadPatienceMs);

// The main thread takes calls from the time its window binds the dispatch queue until its
// window goes: waiting callers then return, work not yet run is dropped, later calls do
// nothing. Both on the main thread.
void StartMainThreadCalls();
void StopMainThreadCalls();
