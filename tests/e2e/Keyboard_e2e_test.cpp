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
#include "window/Handles.h"

using namespace e2e;
using testsupport::WaitFor;

namespace {

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

// The box around the pixels that differ; empty (all zero) when none does.
RECT DifferenceBox(const skin::CPixelBuffer& a, const skin::CPixelBuffer& b) {
    RECT box{a.Width(), a.Height(), 0, 0};
    for (int y = 0; y < a.Height(); ++y) {
        for (int x = 0; x < a.Width(); ++x) {
            if (a.At(x, y) == b.At(x, y)) continue;
            box = RECT{std::min<LONG>(box.left, x), std::min<LONG>(box.top, y), std::max<LONG>(box.right, x + 1),
                       std::max<LONG>(box.bottom, y + 1)};
        }
    }
    return box.right == 0 ? RECT{} : box;
}

bool LooksAs(HWND control, const skin::CPixelBuffer& picture) {
    return DifferenceBox(picture, CaptureWindow(control)).right == 0;
}

void SendMouseButton(DWORD flags) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof(input));
}

// A real left click in the middle of a button, the mouse then moved off it; `plain` is how the
// button looks without the mouse over it. Each step waits for the button to show it (the mouse
// over it, pressed, released, left), so the click has been handled when this returns.
void MouseClick(HWND button, POINT away, const skin::CPixelBuffer& plain) {
    RECT rect{};
    GetWindowRect(button, &rect);
    MoveMouseTo(POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
    ASSERT_TRUE(WaitFor("the button shows the mouse over it", [&] { return !LooksAs(button, plain); }));
    const skin::CPixelBuffer hover = CaptureWindow(button);
    SendMouseButton(MOUSEEVENTF_LEFTDOWN);
    ASSERT_TRUE(WaitFor("the button shows itself pressed", [&] { return !LooksAs(button, hover); }));
    SendMouseButton(MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(WaitFor("the button shows itself released", [&] { return LooksAs(button, hover); }));
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
    const skin::CPixelBuffer plain = CaptureWindow(initialize);

    MouseClick(initialize, away, plain);
    EXPECT_TRUE(
        WaitFor("Initialize looks as before the click, with no outline", [&] { return LooksAs(initialize, plain); }));
    EXPECT_NE(FocusIn(window), initialize) << "a click does not take the focus";

    Type(VK_TAB, {VK_CONTROL});  // any page: Tab then runs from its first control
    ASSERT_TRUE(TabTo(window, INITIALIZE));
    ASSERT_TRUE(WaitFor("Initialize shows the focus outline", [&] { return !LooksAs(initialize, plain); }));
    const skin::CPixelBuffer focused = CaptureWindow(initialize);
    const RECT outline = DifferenceBox(plain, focused);
    const RECT expected{2, 2, plain.Width() - 2, plain.Height() - 2};
    EXPECT_TRUE(EqualRect(&outline, &expected))
        << "outline " << outline.left << "," << outline.top << "," << outline.right << "," << outline.bottom;
    EXPECT_EQ(focused.At(2, plain.Height() / 2), 0xFFFFFFFFu) << "a light outline";

    EXPECT_TRUE(SaveScreenshot(window, ScreenshotFolder() / L"english-focused-button.png"));

    Type(VK_TAB);  // on to Cancel: the outline moves with the focus
    EXPECT_TRUE(WaitFor("the outline leaves Initialize", [&] { return LooksAs(initialize, plain); }));
    Type(VK_ESCAPE);
    EXPECT_TRUE(m_run.WaitForExit());
}

}  // namespace
