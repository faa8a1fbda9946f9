// COM started on first use: an object is made on a thread that had no COM, and the thread's COM
// is ended again exactly when it was started there, never under a thread that had its own.

#include "window/ComOnDemand.h"

// clang-format off
#include <initguid.h>
#include <oleacc.h>
// clang-format on

#include <thread>

#include <gtest/gtest.h>

namespace {

// Runs `work` on a thread of its own, as the program's user-interface thread runs: without COM.
template <typename Work>
void OnFreshThread(Work work) {
    std::thread(work).join();
}

// Makes and lets go of an object through the program's COM on demand, then ends COM as the
// program does; gives what joining the thread's COM (multithreaded) answers afterwards.
HRESULT UseComOnDemandThenJoinAgain() {
    IAccPropServices* services = nullptr;
    EXPECT_EQ(win32::CreateInProcessObject(CLSID_AccPropServices, IID_IAccPropServices,
                                           reinterpret_cast<void**>(&services)),
              S_OK);
    EXPECT_NE(services, nullptr);
    if (services) services->Release();
    win32::EndComOnThisThread();
    const HRESULT again = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    if (SUCCEEDED(again)) CoUninitialize();
    return again;
}

TEST(ComOnDemand, AThreadWithoutComGetsItForTheObjectAndLosesItWhenEnded) {
    // Ended whole: the thread may now take the other model, which a live start refuses.
    OnFreshThread([] { EXPECT_EQ(UseComOnDemandThenJoinAgain(), S_OK); });
}

TEST(ComOnDemand, AThreadWithItsOwnComKeepsIt) {
    OnFreshThread([] {
        ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
        // Still the thread's own multithreaded COM: joining it again is counted, not refused.
        EXPECT_EQ(UseComOnDemandThenJoinAgain(), S_FALSE);
        CoUninitialize();
    });
}

}  // namespace
