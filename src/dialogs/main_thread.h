// The main (user-interface) thread as the dispatch queue knows it.
#pragma once

#include <functional>

bool OnMainThread();
// Posts `work` to the main thread; it runs there once, after the current message. Dropped
// when the main window is gone.
void RunOnMainThreadLater(std::function<void()> work);
// Runs `work` now on the main thread, else posts it there.
void RunOnMainThread(std::function<void()> work);
