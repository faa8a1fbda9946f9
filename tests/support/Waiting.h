#pragma once
// The one bounded wait of the tests that watch something happen elsewhere (another program, a
// worker thread, the screen): a condition is polled at a short interval until it holds or the
// time is up. Tests wait for the event they need, never for a fixed time.

#include <chrono>
#include <string>
#include <thread>

#include <gtest/gtest.h>

namespace testsupport {

// Long enough for a slow machine under load; a wait only takes it when something went wrong.
constexpr unsigned DEFAULT_WAIT_MS = 20000;
constexpr std::chrono::milliseconds WAIT_POLL_INTERVAL{10};

// True once `condition` holds; false when it still does not after `timeoutMs`.
template <typename Condition>
bool WaitUntil(Condition&& condition, unsigned timeoutMs = DEFAULT_WAIT_MS) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(WAIT_POLL_INTERVAL);
    }
    return true;
}

// The same for an assertion, whose failure names what never happened:
//   ASSERT_TRUE(WaitFor("the record page shows", [&] { return IsWindowVisible(slider); }));
template <typename Condition>
::testing::AssertionResult WaitFor(const std::string& what, Condition&& condition,
                                   unsigned timeoutMs = DEFAULT_WAIT_MS) {
    if (WaitUntil(std::forward<Condition>(condition), timeoutMs)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "waited " << timeoutMs << " ms, but this never happened: " << what;
}

}  // namespace testsupport
