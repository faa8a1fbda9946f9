// The real program used without a mouse: keys typed through the system's input queue (as a
// keyboard gives them) switch pages, move a slider, reach Save and Cancel, and the card files
// show the outcome. The keyboard focus outline is checked on the screen's pixels, and a
// screenshot of a focused button goes with the others.

#include <windows.h>

#include <commctrl.h>

#include <cstring>
#include <initializer_list>
#include <vector>

#include <gtest/gtest.h>

#include "pages/PageChoices.h"
#include "pages/PageControlIds.h"
#include "tests/e2e/CardFolder.h"
#include "tests/e2e/ProgramDriver.h"
#include "tests/support/Waiting.h"
#include "win32/Handles.h"

using namespace e2e;
using testsupport::WaitFor;

namespace {

constexpr int TAB_RECORD = 2202;
constexpr int INITIALIZE = 2302;
constexpr int CANCEL = 2303;
constexpr int SAVE = 2304;

INPUT Key(WORD key, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

// Presses `key` with the `held` keys down, as typed. The program takes the keys in their order;
// a test waits for the outcome it checks.
void Type(WORD key, std::initializer_list<WORD> held = {}) {
    std::vector<INPUT> inputs;
    for (WORD modifier : held) inputs.push_back(Key(modifier, false));
    inputs.push_back(Key(key, false));
    inputs.push_back(Key(key, true));
    for (auto it = std::rbegin(held); it != std::rend(held); ++it) inputs.push_back(Key(*it, true));
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// The control that has the keyboard focus in the program's window.
HWND FocusIn(HWND top) {
    GUITHREADINFO info{sizeof(info)};
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(top, nullptr), &info)) return nullptr;
    return info.hwndFocus;
}

// Tab (or Shift+Tab) until the control with this id has the focus; false after a whole round.
// Each press is followed by a wait for the focus to move.
bool TabTo(HWND top, int id, bool backwards = false) {
    for (int presses = 0; presses < 60; ++presses) {
        HWND focus = FocusIn(top);
        if (GetDlgCtrlID(focus) == id && GetParent(focus) == top) return true;
        if (backwards) {
            Type(VK_TAB, {VK_SHIFT});
        } else {
            Type(VK_TAB);
        }
        if (!testsupport::WaitUntil([&] { return FocusIn(top) != focus; })) return false;
    }
    return false;
}

void MoveMouseTo(POINT screen) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = MulDiv(screen.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = MulDiv(screen.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof(input));
    EXPECT_TRUE(WaitFor("the mouse reaches " + std::to_string(screen.x) + "," + std::to_string(screen.y), [screen] {
        POINT now{};
        return GetCursorPos(&now) && now.x == screen.x && now.y == screen.y;
    }));
}

// The screen's pixels under a window, 0x00RRGGBB, rows from the top.
struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> data;
    uint32_t At(int x, int y) const { return data[static_cast<size_t>(y * width + x)] & 0x00FFFFFF; }
};

Pixels Capture(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    Pixels pixels;
    pixels.width = rect.right - rect.left;
    pixels.height = rect.bottom - rect.top;
    pixels.data.resize(static_cast<size_t>(pixels.width * pixels.height));
    win32::WindowDC screen(nullptr);
    win32::UniqueMemoryDC memory(CreateCompatibleDC(screen.Get()));
    win32::UniqueBitmap bitmap(CreateCompatibleBitmap(screen.Get(), pixels.width, pixels.height));
    {
        win32::ScopedSelect selected(memory.Get(), bitmap.Get());
        BitBlt(memory.Get(), 0, 0, pixels.width, pixels.height, screen.Get(), rect.left, rect.top, SRCCOPY);
    }
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), pixels.width, -pixels.height, 1, 32, BI_RGB};
    GetDIBits(memory.Get(), bitmap.Get(), 0, static_cast<UINT>(pixels.height), pixels.data.data(), &info,
              DIB_RGB_COLORS);
    return pixels;
}

// The box around the pixels that differ; empty (all zero) when none does.
RECT DifferenceBox(const Pixels& a, const Pixels& b) {
    RECT box{a.width, a.height, 0, 0};
    for (int y = 0; y < a.height; ++y) {
        for (int x = 0; x < a.width; ++x) {
            if (a.At(x, y) == b.At(x, y)) continue;
            box = RECT{std::min<LONG>(box.left, x), std::min<LONG>(box.top, y), std::max<LONG>(box.right, x + 1),
                       std::max<LONG>(box.bottom, y + 1)};
        }
    }
    return box.right == 0 ? RECT{} : box;
}

bool LooksAs(HWND control, const Pixels& picture) { return DifferenceBox(picture, Capture(control)).right == 0; }

// A real left click in the middle of a control, the mouse then moved off it; `plain` is how the
// control looks without the mouse over it. Input is taken in order, so once the control looks
// plain again after showing the mouse over it, the click between has been handled too.
void MouseClick(HWND control, POINT away, const Pixels& plain) {
    RECT rect{};
    GetWindowRect(control, &rect);
    MoveMouseTo(POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
    EXPECT_TRUE(WaitFor("the button shows the mouse over it", [&] { return !LooksAs(control, plain); }));
    INPUT clicks[2]{};
    clicks[0].type = clicks[1].type = INPUT_MOUSE;
    clicks[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    clicks[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, clicks, sizeof(INPUT));
    MoveMouseTo(away);
}

class KeyboardTest : public ::testing::Test {
protected:
    // Starts the program and puts its window in front, where typed keys go.
    HWND Open() {
        if (!m_run.Start(ProgramPath(), m_card.Argument())) return nullptr;
        HWND window = m_run.WaitForMainWindow();
        if (!window) return nullptr;
        SetForegroundWindow(window);
        if (!testsupport::WaitUntil([window] { return GetForegroundWindow() == window; })) return nullptr;
        return WaitUntilIdle(window) && PaintNow(window) ? window : nullptr;
    }

    // Ctrl+Tab to the record page; its first control, the impact slider, has the focus.
    HWND SwitchToRecordPage(HWND window) {
        Type(VK_TAB, {VK_CONTROL});
        HWND slider = FindControl(window, IDC_REC_IMPACT_SLIDER);
        EXPECT_TRUE(WaitFor("the record page shows with the focus on its first slider",
                            [&] { return IsWindowVisible(slider) && FocusIn(window) == slider; }));
        return slider;
    }

    // Moves the slider one step with an arrow key; its new position.
    static int NudgeSlider(HWND slider) {
        const int before = static_cast<int>(SendMessageW(slider, TBM_GETPOS, 0, 0));
        const bool atEnd = before >= static_cast<int>(SendMessageW(slider, TBM_GETRANGEMAX, 0, 0));
        Type(atEnd ? VK_LEFT : VK_RIGHT);
        int after = before;
        EXPECT_TRUE(WaitFor("the arrow key moves the slider", [&] {
            after = static_cast<int>(SendMessageW(slider, TBM_GETPOS, 0, 0));
            return after != before;
        }));
        return after;
    }

    CardFolder m_card;
    ProgramRun m_run;
};

TEST_F(KeyboardTest, ASessionWithoutAMouseSavesASliderChange) {
    const SetupConfig before = m_card.ReadSetup();
    HWND window = Open();
    ASSERT_NE(window, nullptr);
    HWND slider = SwitchToRecordPage(window);
    const int position = NudgeSlider(slider);
    ASSERT_TRUE(TabTo(window, SAVE));
    Type(VK_SPACE);
    ASSERT_TRUE(m_run.WaitForExit());

    SetupConfig expected = before;
    expected.impact_sensitivity_continuous =
        pagechoices::SliderValue(&SetupConfig::impact_sensitivity_continuous, position);
    ASSERT_NE(expected.impact_sensitivity_continuous, before.impact_sensitivity_continuous);
    const SetupConfig saved = m_card.ReadSetup();
    EXPECT_EQ(saved.impact_sensitivity_continuous, expected.impact_sensitivity_continuous);
    EXPECT_EQ(std::memcmp(&saved, &expected, sizeof(saved)), 0) << "nothing else changed";
}

// Enter on Cancel, Escape on a command, and Alt+F4 (the frame's close): the card keeps its
// record.
TEST_F(KeyboardTest, CancellingFromTheKeyboardChangesNothing) {
    enum class Way { EnterOnCancel, Escape, AltF4 };
    for (const Way way : {Way::EnterOnCancel, Way::Escape, Way::AltF4}) {
        SCOPED_TRACE(testing::Message() << "way " << static_cast<int>(way));
        HWND window = Open();
        ASSERT_NE(window, nullptr);
        NudgeSlider(SwitchToRecordPage(window));
        ASSERT_TRUE(TabTo(window, way == Way::EnterOnCancel ? CANCEL : SAVE, true));
        if (way == Way::AltF4) {
            Type(VK_F4, {VK_MENU});
        } else {
            Type(way == Way::Escape ? VK_ESCAPE : VK_RETURN);
        }
        ASSERT_TRUE(m_run.WaitForExit());
        EXPECT_EQ(m_card.ReadSetupBytes(), m_card.OriginalSetupBytes());
    }
}

TEST_F(KeyboardTest, TheFocusOutlineFollowsTheKeyboardAndNotTheMouse) {
    HWND window = Open();
    ASSERT_NE(window, nullptr);
    HWND initialize = FindControl(window, INITIALIZE);
    RECT windowRect{};
    GetWindowRect(window, &windowRect);
    const POINT away{windowRect.left + 500, windowRect.top + 30};  // the window's own background
    MoveMouseTo(away);
    ASSERT_TRUE(WaitUntilIdle(window) && PaintNow(window));
    const Pixels plain = Capture(initialize);

    MouseClick(initialize, away, plain);
    EXPECT_TRUE(WaitFor("Initialize looks as before the click, with no outline", [&] { return LooksAs(initialize, plain); }));
    EXPECT_NE(FocusIn(window), initialize) << "a click does not take the focus";

    Type(VK_TAB, {VK_CONTROL});  // any page: Tab then runs from its first control
    ASSERT_TRUE(TabTo(window, INITIALIZE));
    ASSERT_TRUE(WaitFor("Initialize shows the focus outline", [&] { return !LooksAs(initialize, plain); }));
    const Pixels focused = Capture(initialize);
    const RECT outline = DifferenceBox(plain, focused);
    const RECT expected{2, 2, plain.width - 2, plain.height - 2};
    EXPECT_TRUE(EqualRect(&outline, &expected))
        << "outline " << outline.left << "," << outline.top << "," << outline.right << "," << outline.bottom;
    EXPECT_EQ(focused.At(2, plain.height / 2), 0xFFFFFFu) << "a light outline";

    const std::filesystem::path folder = ProgramPath().parent_path() / L"screenshots";
    std::filesystem::create_directories(folder);
    EXPECT_TRUE(SaveScreenshot(window, folder / L"english-focused-button.png"));

    Type(VK_TAB);  // on to Cancel: the outline moves with the focus
    EXPECT_TRUE(WaitFor("the outline leaves Initialize", [&] { return LooksAs(initialize, plain); }));
    Type(VK_ESCAPE);
    EXPECT_TRUE(m_run.WaitForExit());
}

}  // namespace
