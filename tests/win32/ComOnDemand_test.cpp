// COM started on first use: an object is made on a thread that had no COM, and the thread's COM
// is ended again exactly when it was started there, never under a thread that had its own.

#include "win32/ComOnDemand.h"

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

IAccPropServices* MakeAccessibilityServices() {
    IAccPropServices* services = nullptr;
    const HRESULT made = win32::CreateInProcessObject(CLSID_AccPropServices, IID_IAccPropServices,
                                                      reinterpret_cast<void**>(&services));
    EXPECT_EQ(made, S_OK);
    return SUCCEEDED(made) ? services : nullptr;
}

TEST(ComOnDemand, AThreadWithoutComGetsItForTheObjectAndLosesItWhenEnded) {
    OnFreshThread([] {
        IAccPropServices* services = MakeAccessibilityServices();
        ASSERT_NE(services, nullptr);
        services->Release();
        win32::EndComOnThisThread();
        // Ended whole: the thread may now take the other model, which a live start refuses.
        const HRESULT again = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        EXPECT_EQ(again, S_OK);
        if (SUCCEEDED(again)) CoUninitialize();
    });
}

TEST(ComOnDemand, AThreadWithItsOwnComKeepsIt) {
    OnFreshThread([] {
        ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
        IAccPropServices* services = MakeAccessibilityServices();
        ASSERT_NE(services, nullptr);
        services->Release();
        win32::EndComOnThisThread();
        // Still the thread's own multithreaded COM: joining it again is counted, not refused.
        const HRESULT again = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        EXPECT_EQ(again, S_FALSE);
        if (SUCCEEDED(again)) CoUninitialize();
        CoUninitialize();
    });
}

}  // namespace
