// The call counters: each counts the program's calls to its own function, every call still
// reaches the real function with its arguments, and removing the counters stops the counting.

#include "bench/win32/ImportCounter.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>

namespace {

// A 4 × 4 memory surface to draw on.
class Surface {
public:
    Surface() : m_dc(CreateCompatibleDC(nullptr)) {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), 4, -4, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        m_bitmap = CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&m_bits), nullptr, 0);
        m_old = SelectObject(m_dc, m_bitmap);
    }
    ~Surface() {
        SelectObject(m_dc, m_old);
        DeleteObject(m_bitmap);
        DeleteDC(m_dc);
    }
    HDC Dc() const { return m_dc; }
    DWORD* Bits() const { return m_bits; }

private:
    HDC m_dc;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_old = nullptr;
    DWORD* m_bits = nullptr;
};

struct CallCase {
    bench::Api api;
    std::function<void()> call;
};

class ImportCounter : public testing::Test {
protected:
    void SetUp() override {
        std::string missing;
        ASSERT_TRUE(bench::InstallCallCounters(&missing)) << "not imported: " << missing;
    }
    void TearDown() override { bench::RemoveCallCounters(); }
};

TEST_F(ImportCounter, CountsEachCallOnlyForItsOwnFunction) {
    Surface source, target;
    const CallCase cases[] = {
        {bench::Api::BitBlt, [&] { BitBlt(target.Dc(), 0, 0, 4, 4, source.Dc(), 0, 0, SRCCOPY); }},
        {bench::Api::AlphaBlend,
         [&] {
             const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
             GdiAlphaBlend(target.Dc(), 0, 0, 4, 4, source.Dc(), 0, 0, 4, 4, blend);
         }},
        {bench::Api::DrawTextW,
         [&] {
             RECT area{0, 0, 4, 4};
             DrawTextW(target.Dc(), L"x", 1, &area, DT_CALCRECT);
         }},
        {bench::Api::CreateDIBSection, [] { Surface made; }},
        {bench::Api::CreateCompatibleBitmap,
         [&] { DeleteObject(CreateCompatibleBitmap(target.Dc(), 2, 2)); }},
        {bench::Api::OutputDebugStringW, [] { OutputDebugStringW(L"counted\n"); }},
        {bench::Api::RegOpenKeyExW,
         [] {
             HKEY key = nullptr;
             RegOpenKeyExW(HKEY_CURRENT_USER, L"no such key", 0, KEY_READ, &key);  // fails: nothing to close
         }},
        {bench::Api::RegQueryInfoKeyW,
         [] {
             DWORD subKeys = 0;
             RegQueryInfoKeyW(HKEY_CURRENT_USER, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, nullptr,
                              nullptr, nullptr, nullptr, nullptr);
         }},
        {bench::Api::RegEnumKeyExW,
         [] {
             wchar_t name[256];
             DWORD length = 256;
             RegEnumKeyExW(HKEY_CURRENT_USER, 0, name, &length, nullptr, nullptr, nullptr, nullptr);
         }},
        {bench::Api::RegCloseKey, [] { RegCloseKey(nullptr); }},  // fails, but is a call
        {bench::Api::RegEnumValueW,
         [] {
             wchar_t name[256];
             DWORD length = 256;
             RegEnumValueW(HKEY_CURRENT_USER, 0, name, &length, nullptr, nullptr, nullptr, nullptr);
         }},
        {bench::Api::RegQueryValueExW,
         [] { RegQueryValueExW(HKEY_CURRENT_USER, L"no such value", nullptr, nullptr, nullptr, nullptr); }},
    };
    for (const CallCase& call : cases) {
        SCOPED_TRACE(bench::ApiName(call.api));
        const bench::CallCounts before = bench::CurrentCallCounts();
        call.call();
        call.call();
        const bench::CallCounts made = bench::CallsSince(before);
        for (size_t api = 0; api < bench::API_COUNT; ++api) {
            EXPECT_EQ(made[api], api == static_cast<size_t>(call.api) ? 2 : 0)
                << bench::ApiName(static_cast<bench::Api>(api));
        }
    }
}

TEST_F(ImportCounter, CountedCallsStillReachTheRealFunction) {
    Surface source, target;
    source.Bits()[5] = 0xFF123456;
    EXPECT_TRUE(BitBlt(target.Dc(), 0, 0, 4, 4, source.Dc(), 0, 0, SRCCOPY));
    GdiFlush();
    EXPECT_EQ(target.Bits()[5], 0xFF123456u);

    RECT area{0, 0, 0, 0};
    EXPECT_GT(DrawTextW(target.Dc(), L"wide text", 9, &area, DT_CALCRECT), 0);
    EXPECT_GT(area.right, 0) << "DrawTextW did not measure through the counter";
}

TEST_F(ImportCounter, TimeGoesToTheFunctionCalled) {
    Surface source, target;
    const bench::CallTimes before = bench::CurrentCallTimes();
    for (int i = 0; i < 50; ++i) BitBlt(target.Dc(), 0, 0, 4, 4, source.Dc(), 0, 0, SRCCOPY);
    const bench::CallTimes after = bench::CurrentCallTimes();
    for (size_t api = 0; api < bench::API_COUNT; ++api) {
        if (api == static_cast<size_t>(bench::Api::BitBlt)) {
            EXPECT_GT(after[api], before[api]);
        } else {
            EXPECT_EQ(after[api], before[api]) << bench::ApiName(static_cast<bench::Api>(api));
        }
    }
}

TEST_F(ImportCounter, InstallingTwiceCountsEachCallOnce) {
    ASSERT_TRUE(bench::InstallCallCounters());
    Surface source, target;
    const bench::CallCounts before = bench::CurrentCallCounts();
    BitBlt(target.Dc(), 0, 0, 4, 4, source.Dc(), 0, 0, SRCCOPY);
    EXPECT_EQ((bench::CallsSince(before))[static_cast<size_t>(bench::Api::BitBlt)], 1);
}

TEST_F(ImportCounter, RemovedCountersCountNothing) {
    bench::RemoveCallCounters();
    Surface source, target;
    const bench::CallCounts before = bench::CurrentCallCounts();
    source.Bits()[0] = 0xFF00FF00;
    EXPECT_TRUE(BitBlt(target.Dc(), 0, 0, 4, 4, source.Dc(), 0, 0, SRCCOPY));
    GdiFlush();
    EXPECT_EQ(target.Bits()[0], 0xFF00FF00u);
    EXPECT_EQ(bench::CallsSince(before), bench::CallCounts{});
}

}  // namespace
