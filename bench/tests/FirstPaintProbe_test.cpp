// The first-paint probe against a stand-in program whose window, paints and closing can be
// held back: the figure must never come before the whole window is painted, and no wait may
// outlast its bound.

#include "bench/win32/FirstPaintProbe.h"

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr DWORD HOLD_MS = 700;
// Under Wine without a window manager, a closing program waits 2 s for its window to be
// withdrawn before it ends.
constexpr DWORD CLOSE_TIMEOUT_MS = 5000;

std::wstring ProbeTarget() {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    return (std::filesystem::path(self).parent_path() / L"bench_probe_target.exe").wstring();
}

struct ProbeCase {
    const char* what;
    std::vector<std::wstring> arguments;
    DWORD timeoutMs;
    bench::WaitOutcome outcome;
    double atLeastMs;  // the figure may not be smaller: the stand-in held its paint back this long
    bench::CloseOutcome closing;
};

const ProbeCase PROBE_CASES[] = {
    {"a window that paints at once", {}, 20000, bench::WaitOutcome::Painted, 0, bench::CloseOutcome::Closed},
    {"a visible window whose first paint is late",
     {L"--paint-delay-ms", std::to_wstring(HOLD_MS)},
     20000,
     bench::WaitOutcome::Painted,
     HOLD_MS,
     bench::CloseOutcome::Closed},
    {"a painted window with a child that paints late",
     {L"--child-paint-delay-ms", std::to_wstring(HOLD_MS)},
     20000,
     bench::WaitOutcome::Painted,
     HOLD_MS,
     bench::CloseOutcome::Closed},
    {"a larger hidden window long before the main one",
     {L"--hidden-window-first-ms", std::to_wstring(HOLD_MS)},
     20000,
     bench::WaitOutcome::Painted,
     HOLD_MS,
     bench::CloseOutcome::Closed},
    {"a program that never shows a window",
     {L"--no-window-ms", L"60000"},
     1500,
     bench::WaitOutcome::TimedOut,
     1500,
     bench::CloseOutcome::Terminated},
    {"a program that ends without a window",
     {L"--no-window-ms", L"200"},
     20000,
     bench::WaitOutcome::Exited,
     0,
     bench::CloseOutcome::Closed},
    {"a window that ignores WM_CLOSE",
     {L"--ignore-close"},
     20000,
     bench::WaitOutcome::Painted,
     0,
     bench::CloseOutcome::Terminated},
};

// Ends a stand-in that a failed test left running, so it cannot hold the test's output open.
class StandInGuard {
public:
    explicit StandInGuard(const bench::WatchedProcess& watched) : m_watched(watched) {}
    ~StandInGuard() {
        if (m_watched.process && WaitForSingleObject(m_watched.process.Get(), 0) == WAIT_TIMEOUT) {
            TerminateProcess(m_watched.process.Get(), 1);
        }
    }
    StandInGuard(const StandInGuard&) = delete;
    StandInGuard& operator=(const StandInGuard&) = delete;

private:
    const bench::WatchedProcess& m_watched;
};

class FirstPaintProbe : public testing::TestWithParam<ProbeCase> {};

TEST_P(FirstPaintProbe, WaitsForTheWholePaintedWindowWithinItsBounds) {
    const ProbeCase& probe = GetParam();
    bench::WatchedProcess watched;
    const LARGE_INTEGER start = bench::Now();
    ASSERT_TRUE(bench::StartProgram(ProbeTarget(), probe.arguments, watched)) << "error " << GetLastError();
    const StandInGuard guard(watched);

    const bench::FirstPaint painted = bench::WaitForFirstPaint(watched, start, probe.timeoutMs);
    EXPECT_EQ(painted.outcome, probe.outcome);
    EXPECT_GE(painted.milliseconds, probe.atLeastMs);
    if (probe.outcome == bench::WaitOutcome::Painted) {
        EXPECT_TRUE(painted.window && bench::IsTreePainted(painted.window));
    } else {
        // The wait gave up at its bound (or when the program ended), not much later.
        EXPECT_LT(painted.milliseconds, probe.timeoutMs + 1000.0);
    }

    const LARGE_INTEGER closing = bench::Now();
    EXPECT_EQ(bench::CloseProgram(watched, painted.window, CLOSE_TIMEOUT_MS), probe.closing);
    EXPECT_LT(bench::MillisecondsSince(closing), 2.0 * CLOSE_TIMEOUT_MS + 1000.0);
    EXPECT_EQ(WaitForSingleObject(watched.process.Get(), 0), WAIT_OBJECT_0) << "the program outlived the probe";
}

INSTANTIATE_TEST_SUITE_P(StandIns, FirstPaintProbe, testing::ValuesIn(PROBE_CASES),
                         [](const testing::TestParamInfo<ProbeCase>& param) {
                             std::string name;
                             for (const char* c = param.param.what; *c; ++c) {
                                 if (std::isalnum(static_cast<unsigned char>(*c))) name += *c;
                             }
                             return name;
                         });

TEST(FirstPaintProbeAttach, FindsARunningProgramByItsFileNameOnly) {
    bench::WatchedProcess started;
    ASSERT_TRUE(bench::StartProgram(ProbeTarget(), {}, started));
    const StandInGuard guard(started);
    bench::WatchedProcess found;
    ASSERT_TRUE(bench::FindProgram(L"BENCH_PROBE_TARGET.EXE", 5000, found));
    EXPECT_EQ(found.processId, started.processId);

    const bench::FirstPaint painted = bench::WaitForFirstPaint(found, bench::Now(), 20000);
    EXPECT_EQ(painted.outcome, bench::WaitOutcome::Painted);
    EXPECT_EQ(bench::CloseProgram(found, painted.window, CLOSE_TIMEOUT_MS), bench::CloseOutcome::Closed);
}

TEST(FirstPaintProbeAttach, GivesUpOnAProgramThatIsNotThere) {
    bench::WatchedProcess found;
    const LARGE_INTEGER start = bench::Now();
    EXPECT_FALSE(bench::FindProgram(L"no-such-program.exe", 300, found));
    EXPECT_LT(bench::MillisecondsSince(start), 2000.0);
}

}  // namespace
