#pragma once
// A settings page created in a real parent window over a live record the test builds, with
// the English texts loaded, and the ways a user reaches its controls.

#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "localisation/LanguageTable.h"
#include "record/ClockFile.h"
#include "record/SetupConfig.h"
#include "tests/support/RecordBuilder.h"
#include "tests/win32/TestWindows.h"

namespace testsupport {

template <typename Page>
class PageTest : public ::testing::Test {
protected:
    // The page is made by the test (after it has set the record up, where that matters).
    void CreatePage(std::unique_ptr<Page> page, const SetupConfig& record = SampleRecord()) {
        ASSERT_TRUE(LoadLanguage(L"english"));
        ReplaceLiveRecord(std::make_unique<SetupConfig>(record));
        ASSERT_TRUE(m_parent.Create(760, 540));
        m_page = std::move(page);
        ASSERT_TRUE(m_page->CreatePage(m_parent.Handle()));
        MoveWindow(PageHwnd(), 11, 85, 700, 437, TRUE);
        ShowWindow(m_parent.Handle(), SW_SHOWNOACTIVATE);
        ShowWindow(PageHwnd(), SW_SHOWNOACTIVATE);
        m_page->LoadControls();
        PumpMessages();
    }
    void TearDown() override {
        m_page.reset();
        FreeLiveRecord();
    }

    HWND PageHwnd() const { return m_page->GetSafeHwnd(); }
    HWND Control(int id) const { return GetDlgItem(PageHwnd(), id); }
    RECT Rect(int id) const { return ChildRect(PageHwnd(), id); }
    int Width(int id) const {
        const RECT rect = Rect(id);
        return rect.right - rect.left;
    }
    bool Checked(int id) const { return IsDlgButtonChecked(PageHwnd(), id) == BST_CHECKED; }
    bool Enabled(int id) const { return IsWindowEnabled(Control(id)) != FALSE; }
    std::wstring Text(int id) const {
        wchar_t text[256] = {};
        GetDlgItemTextW(PageHwnd(), id, text, 256);
        return text;
    }
    int SliderPos(int id) const { return static_cast<int>(SendMessageW(Control(id), TBM_GETPOS, 0, 0)); }

    // A click on a laid-out button, as the mouse gives it.
    void Click(int id) { SendMessageW(Control(id), BM_CLICK, 0, 0); }
    // The space bar on a button that has the focus: how the never-laid-out buttons are reached.
    void PressSpace(int id) {
        SetFocus(Control(id));
        SendMessageW(Control(id), WM_KEYDOWN, VK_SPACE, 0);
        SendMessageW(Control(id), WM_KEYUP, VK_SPACE, 0);
    }
    // Moves a slider's thumb and sends its page the notification a drag sends.
    void MoveSlider(int id, int position, int code = TB_THUMBTRACK) {
        SendMessageW(Control(id), TBM_SETPOS, TRUE, position);
        SendMessageW(PageHwnd(), WM_HSCROLL, MAKEWPARAM(code, position), reinterpret_cast<LPARAM>(Control(id)));
    }

    // Runs the action and checks that the live record changed exactly as `expect` changes a
    // copy of it.
    void ExpectWrites(const std::function<void()>& action, const std::function<void(SetupConfig&)>& expect,
                      const char* what) {
        SetupConfig expected = *g_pSetupConfig;
        expect(expected);
        action();
        EXPECT_EQ(std::memcmp(g_pSetupConfig, &expected, sizeof(SetupConfig)), 0) << what;
    }

    TestParentWindow m_parent;
    std::unique_ptr<Page> m_page;
};

}  // namespace testsupport
