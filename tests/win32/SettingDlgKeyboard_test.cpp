// The real main window from the keyboard: the order Tab goes in, page switching with Ctrl+Tab
// and Ctrl+Page Up/Down, and the names its skinned controls carry for screen readers in the
// window's language.

#include <windows.h>

#include <oleacc.h>

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "pages/PageControlIds.h"
#include "record/SettingFields.h"
#include "tests/support/RecordBuilder.h"
#include "tests/win32/MainWindowDriver.h"
#include "window/Dialog.h"

using namespace testsupport;

namespace {

using Ids = std::vector<int>;

void WriteLanguageIndex(const TempFolder& card, int32_t index) {
    SetupConfig record = RecordFromBytes(ReadBytes(SampleCardFile(L"setup.cfg")));
    record.language_index = index;
    WriteBytes(card / L"setup.cfg", RecordBytes(record));
}

std::wstring WindowText(HWND window) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return text;
}

// Holds Ctrl (and Shift) down in this thread's key state, as the modal loop reads it.
class HeldKeys {
public:
    HeldKeys(bool control, bool shift) {
        GetKeyboardState(m_saved);
        BYTE held[256];
        GetKeyboardState(held);
        held[VK_CONTROL] = control ? 0x80 : 0;
        held[VK_SHIFT] = shift ? 0x80 : 0;
        SetKeyboardState(held);
    }
    ~HeldKeys() { SetKeyboardState(m_saved); }

private:
    BYTE m_saved[256];
};

// A key as the modal loop hands it to the window before the dialog manager.
bool PressKey(CSettingDlg& window, WPARAM key, bool control = false, bool shift = false) {
    HeldKeys held(control, shift);
    MSG message{GetFocus(), WM_KEYDOWN, key, 1};
    return window.PreTranslateMessage(message);
}

// The tab stops in Tab's order, starting from the first, once round.
std::vector<HWND> TabOrder(HWND window, bool backwards) {
    std::vector<HWND> order;
    HWND first = win32::NextTabStop(window, nullptr, backwards);
    for (HWND next = first; next && order.size() < 200; next = win32::NextTabStop(window, next, backwards)) {
        if (!order.empty() && next == first) break;
        order.push_back(next);
    }
    return order;
}

HWND ShownPage(HWND window) {
    const MainWindowPages pages(window);
    for (CBaseDialog* page : {static_cast<CBaseDialog*>(pages.card), static_cast<CBaseDialog*>(pages.record),
                              static_cast<CBaseDialog*>(pages.system)}) {
        if (page && IsWindowVisible(page->GetSafeHwnd())) return page->GetSafeHwnd();
    }
    return nullptr;
}

struct LanguageCase {
    int32_t index;  // into the sample card's code list
    std::map<int, std::wstring> texts;
};

void PrintTo(const LanguageCase& language, std::ostream* out) { *out << "language " << language.index; }

class SkinnedControlNames : public ::testing::TestWithParam<LanguageCase> {};

TEST_P(SkinnedControlNames, EveryControlCarriesItsLabelAsItsWindowText) {
    TempFolder card;
    CopySampleCard(card);
    WriteLanguageIndex(card, GetParam().index);
    MainWindowRun::Run(card.Path().wstring() + L"\\", [](CSettingDlg& window) {
        for (const auto& [id, text] : GetParam().texts) {
            SCOPED_TRACE(testing::Message() << "control " << id);
            HWND control = GetDlgItem(window.GetSafeHwnd(), id);
            ASSERT_NE(control, nullptr);
            EXPECT_EQ(WindowText(control), text);
        }
        EXPECT_EQ(WindowText(window.GetSafeHwnd()), GetParam().texts.at(CSettingDlg::ID_TITLE));

        // What a screen reader asks for: the accessible name of a command.
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        IAccessible* save = nullptr;
        ASSERT_EQ(AccessibleObjectFromWindow(GetDlgItem(window.GetSafeHwnd(), CSettingDlg::ID_SAVE),
                                             static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                             reinterpret_cast<void**>(&save)),
                  S_OK);
        VARIANT self{};
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        BSTR name = nullptr;
        EXPECT_EQ(save->get_accName(self, &name), S_OK);
        EXPECT_EQ(std::wstring(name ? name : L""), GetParam().texts.at(CSettingDlg::ID_SAVE));
        SysFreeString(name);
        save->Release();
        CoUninitialize();
    });
}

INSTANTIATE_TEST_SUITE_P(
    Languages, SkinnedControlNames,
    ::testing::Values(LanguageCase{0,
                                   {{CSettingDlg::ID_TITLE, L"Dash cam setting"},
                                    {CSettingDlg::ID_TAB_CARD, L"Memory Card Settings"},
                                    {CSettingDlg::ID_TAB_RECORD, L"Record settings"},
                                    {CSettingDlg::ID_TAB_SYSTEM, L"System Settings"},
                                    {CSettingDlg::ID_MINIMISE, L"Minimize"},
                                    {CSettingDlg::ID_CLOSE, L"Close"},
                                    {CSettingDlg::ID_INITIALIZE, L"Initialize"},
                                    {CSettingDlg::ID_CANCEL, L"Cancel"},
                                    {CSettingDlg::ID_SAVE, L"Save"}}},
                      LanguageCase{4,
                                   {{CSettingDlg::ID_TITLE, L"Dashcam-Einstellungen"},
                                    {CSettingDlg::ID_TAB_CARD, L"Speicherkarte"},
                                    {CSettingDlg::ID_TAB_RECORD, L"Aufnahme"},
                                    {CSettingDlg::ID_TAB_SYSTEM, L"System"},
                                    {CSettingDlg::ID_MINIMISE, L"Minimieren"},
                                    {CSettingDlg::ID_CLOSE, L"Schlie\u00dfen"},
                                    {CSettingDlg::ID_INITIALIZE, L"Zur\u00fccksetzen"},
                                    {CSettingDlg::ID_CANCEL, L"Abbrechen"},
                                    {CSettingDlg::ID_SAVE, L"Speichern"}}}));

class SettingDlgKeyboard : public ::testing::Test {
protected:
    void SetUp() override { CopySampleCard(m_card); }
    void Run(const std::function<void(CSettingDlg&)>& whileOpen) {
        MainWindowRun::Run(m_card.Path().wstring() + L"\\", whileOpen);
    }
    TempFolder m_card;
};

// Tab visits the shown page's controls that can be seen, then Initialize, Cancel and Save, and
// comes round again; Shift+Tab goes the same way back.
TEST_F(SettingDlgKeyboard, TabGoesThroughTheShownPageThenTheCommands) {
    Run([](CSettingDlg& window) {
        HWND self = window.GetSafeHwnd();
        for (int tab : {CSettingDlg::ID_TAB_CARD, CSettingDlg::ID_TAB_RECORD, CSettingDlg::ID_TAB_SYSTEM}) {
            SCOPED_TRACE(testing::Message() << "tab " << tab);
            window.ShowPage(tab);
            HWND page = ShownPage(self);
            ASSERT_NE(page, nullptr);
            const std::vector<HWND> forward = TabOrder(self, false);
            ASSERT_GT(forward.size(), 3u);
            Ids commands;
            for (size_t i = forward.size() - 3; i < forward.size(); ++i) commands.push_back(GetDlgCtrlID(forward[i]));
            EXPECT_EQ(commands, (Ids{CSettingDlg::ID_INITIALIZE, CSettingDlg::ID_CANCEL, CSettingDlg::ID_SAVE}));
            for (size_t i = 0; i + 3 < forward.size(); ++i) {
                RECT rect{};
                GetWindowRect(forward[i], &rect);
                EXPECT_TRUE(IsChild(page, forward[i])) << "stop " << i << " id " << GetDlgCtrlID(forward[i]);
                // The touch calibration reset is never laid out; the keyboard is its only way in.
                const bool keyboardOnly = GetDlgCtrlID(forward[i]) == IDC_SYS_TOUCH_RESET;
                EXPECT_TRUE(IsWindowVisible(forward[i]) && (keyboardOnly || !IsRectEmpty(&rect)))
                    << "id " << GetDlgCtrlID(forward[i]);
            }
            const bool reachesTouchReset = std::any_of(forward.begin(), forward.end(), [](HWND stop) {
                return GetDlgCtrlID(stop) == IDC_SYS_TOUCH_RESET;
            });
            EXPECT_EQ(reachesTouchReset, tab == CSettingDlg::ID_TAB_SYSTEM);
            std::vector<HWND> backward = TabOrder(self, true);
            std::reverse(backward.begin(), backward.end());
            EXPECT_EQ(backward, forward);

            // Tab itself, from the last command round to the page's first control.
            SetFocus(forward.back());
            EXPECT_TRUE(PressKey(window, VK_TAB));
            EXPECT_EQ(GetFocus(), forward.front());
            EXPECT_TRUE(PressKey(window, VK_TAB, false, true));
            EXPECT_EQ(GetFocus(), forward.back());
            const auto* save = dynamic_cast<CRButton*>(win32::CWindow::FromHandle(forward.back()));
            ASSERT_NE(save, nullptr);
            EXPECT_TRUE(save->IsFocusCueShown()) << "the keyboard moved the focus";

            // A click on the page leaves the focus on its hidden sink; Tab goes on from there.
            SendMessageW(page, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(690, 430));
            SendMessageW(page, WM_LBUTTONUP, 0, MAKELPARAM(690, 430));
            ASSERT_TRUE(IsChild(page, GetFocus()));
            EXPECT_FALSE(IsWindowVisible(GetFocus()));
            EXPECT_TRUE(PressKey(window, VK_TAB));
            EXPECT_NE(std::find(forward.begin(), forward.end(), GetFocus()), forward.end());
        }
    });
}

// Tab stops at the checked button of a radio group (checking one moves the group's tab stop to
// it): an unchecked radio button taking the focus would report a click and change the setting
// behind the user's back.
TEST_F(SettingDlgKeyboard, TabEntersARadioGroupAtItsCheckedButtonAndChangesNothing) {
    Run([](CSettingDlg& window) {
        HWND self = window.GetSafeHwnd();
        const MainWindowPages pages(self);
        ASSERT_TRUE(pages.AllThere());
        HWND page = pages.card->GetSafeHwnd();
        SendMessageW(GetDlgItem(page, IDC_CARD_TYPE_C), BM_CLICK, 0, 0);  // the last of its group
        ASSERT_EQ(SendMessageW(GetDlgItem(page, IDC_CARD_TYPE_C), BM_GETCHECK, 0, 0), BST_CHECKED);
        const Bytes chosen = RecordBytes(*g_pSetupConfig);

        const std::vector<HWND> forward = TabOrder(self, false);
        Ids ids;
        for (HWND stop : forward) ids.push_back(GetDlgCtrlID(stop));
        EXPECT_EQ(std::count(ids.begin(), ids.end(), IDC_CARD_TYPE_C), 1);
        EXPECT_EQ(std::count(ids.begin(), ids.end(), IDC_CARD_TYPE_A), 0);
        for (const bool backwards : {false, true}) {
            SetFocus(forward.back());
            for (size_t i = 0; i < forward.size(); ++i) EXPECT_TRUE(PressKey(window, VK_TAB, false, backwards));
            EXPECT_EQ(GetFocus(), forward.back()) << "once round";
        }
        EXPECT_EQ(SendMessageW(GetDlgItem(page, IDC_CARD_TYPE_C), BM_GETCHECK, 0, 0), BST_CHECKED);
        EXPECT_EQ(RecordBytes(*g_pSetupConfig), chosen) << "tabbing changed no setting";
    });
}

TEST_F(SettingDlgKeyboard, CtrlTabAndCtrlPageKeysSwitchPagesInTheTabsOrder) {
    Run([](CSettingDlg& window) {
        HWND self = window.GetSafeHwnd();
        const MainWindowPages pages(self);
        ASSERT_TRUE(pages.AllThere());
        struct Switch {
            WPARAM key;
            bool shift;
            HWND page;
        };
        const Switch switches[] = {
            {VK_TAB, false, pages.record->GetSafeHwnd()}, {VK_TAB, false, pages.system->GetSafeHwnd()},
            {VK_TAB, false, pages.card->GetSafeHwnd()},   {VK_TAB, true, pages.system->GetSafeHwnd()},
            {VK_PRIOR, false, pages.record->GetSafeHwnd()}, {VK_NEXT, false, pages.system->GetSafeHwnd()},
            {VK_NEXT, false, pages.card->GetSafeHwnd()},
        };
        for (const Switch& step : switches) {
            SCOPED_TRACE(testing::Message() << "key " << step.key << (step.shift ? " with Shift" : ""));
            EXPECT_TRUE(PressKey(window, step.key, true, step.shift));
            EXPECT_EQ(ShownPage(self), step.page);
            EXPECT_EQ(GetFocus(), win32::NextTabStop(step.page, nullptr, false)) << "the page's first control";
        }
        const auto* cardTab = dynamic_cast<CRButton*>(win32::CWindow::FromHandle(GetDlgItem(self, CSettingDlg::ID_TAB_CARD)));
        ASSERT_NE(cardTab, nullptr);
        EXPECT_TRUE(cardTab->GetCheck()) << "the tabs follow the pages";
        // Keys the window leaves to the dialog manager and the controls.
        EXPECT_FALSE(PressKey(window, VK_NEXT));
        EXPECT_FALSE(PressKey(window, VK_RETURN));
        EXPECT_FALSE(PressKey(window, VK_ESCAPE));
    });
}

}  // namespace
