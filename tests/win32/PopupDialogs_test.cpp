// The yes/no and progress pop-ups, run modally as the pages run them.

#include "pages/win32/PopupDialogs.h"

#include <commctrl.h>

#include <functional>
#include <ostream>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "localisation/LanguageTable.h"
#include "resources/ResourceIds.h"
#include "tests/win32/TestWindows.h"

namespace {

// Runs `action` against the pop-up once its modal loop runs, then returns the loop's result.
INT_PTR RunWhileShown(win32::CDialog& popup, std::function<void(HWND)> action) {
    static std::function<void(HWND)> s_action;
    static win32::CDialog* s_popup;
    s_action = std::move(action);
    s_popup = &popup;
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR id, DWORD) {
        KillTimer(nullptr, id);
        if (s_popup->GetSafeHwnd()) s_action(s_popup->GetSafeHwnd());
    });
    const INT_PTR result = popup.DoModal(nullptr);
    KillTimer(nullptr, timer);
    return result;
}

void PressKey(HWND window, WPARAM key) {
    HWND target = GetFocus() ? GetFocus() : window;
    PostMessageW(target, WM_KEYDOWN, key, 0);
}

TEST(MsgPopup, LaysOutItsButtonsAndMessageForTheGivenSize) {
    CMsgPopupDlg popup;
    popup.SetContent(L"Parking Mode", L"one\r\ntwo\r\nthree", 330, 170);
    RECT yes{}, no{}, message{}, window{};
    const INT_PTR result = RunWhileShown(popup, [&](HWND dialog) {
        yes = testsupport::ChildRect(dialog, IDOK);
        no = testsupport::ChildRect(dialog, IDCANCEL);
        message = testsupport::ChildRect(dialog, IDC_POPUP_MESSAGE);
        GetWindowRect(dialog, &window);
        PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(window.right - window.left, 330);
    EXPECT_EQ(window.bottom - window.top, 170);
    // Button positions are in client coordinates of a window whose size includes its caption.
    EXPECT_EQ(yes.right - yes.left, 85);
    EXPECT_EQ(no.left - yes.left, 105);
    EXPECT_EQ(message.bottom - message.top, 70) << "exactly two line breaks: the taller control";
    EXPECT_EQ(message.right - message.left, 320);
}

TEST(MsgPopup, ButtonPositionsFollowTheWidth) {
    CMsgPopupDlg popup;
    popup.SetContent(L"t", L"one line", 330, 170);
    RECT yes{}, message{};
    RunWhileShown(popup, [&](HWND dialog) {
        RECT client{};
        GetClientRect(dialog, &client);
        POINT origin{0, 0};
        ClientToScreen(dialog, &origin);
        RECT window{};
        GetWindowRect(dialog, &window);
        // MoveWindow places children in client coordinates; compare against what was asked.
        yes = testsupport::ChildRect(dialog, IDOK);
        message = testsupport::ChildRect(dialog, IDC_POPUP_MESSAGE);
        PostMessageW(dialog, WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(yes.left, 70);
    EXPECT_EQ(yes.top, 110);
    EXPECT_EQ(message.bottom - message.top, 40);
}

TEST(MsgPopup, KeysAnswerTheQuestionAndEscapeDoesNothing) {
    CMsgPopupDlg yes;
    yes.SetContent(L"t", L"m", 330, 170);
    EXPECT_EQ(RunWhileShown(yes, [](HWND dialog) {
                  PressKey(dialog, VK_ESCAPE);
                  PressKey(dialog, 'Y');
              }),
              IDOK);

    CMsgPopupDlg no;
    no.SetContent(L"t", L"m", 330, 170);
    EXPECT_EQ(RunWhileShown(no, [](HWND dialog) { PressKey(dialog, 'N'); }), IDCANCEL);

    CMsgPopupDlg closed;
    closed.SetContent(L"t", L"m", 330, 170);
    EXPECT_EQ(RunWhileShown(closed, [](HWND dialog) { PostMessageW(dialog, WM_CLOSE, 0, 0); }), IDCANCEL);
}

// The question's buttons in the interface language, and what each key answers. A key is a
// virtual key pressed (translated into its character by the loop, as typing does) or, for
// letters no test keyboard layout types, the character itself.
struct AnswerCase {
    const wchar_t* language;
    const wchar_t* yes;  // the buttons' captions
    const wchar_t* no;
    std::vector<std::pair<UINT, WPARAM>> input;  // (WM_KEYDOWN or WM_CHAR, key or character)
    INT_PTR answer;
};

void PrintTo(const AnswerCase& c, std::ostream* out) {
    *out << testing::PrintToString(c.language) << " input " << c.input.size() << " -> " << c.answer;
}

class MsgPopupAnswers : public ::testing::TestWithParam<AnswerCase> {};

TEST_P(MsgPopupAnswers, ButtonsSpeakTheLanguageAndKeysAnswer) {
    const AnswerCase& c = GetParam();
    ASSERT_TRUE(LoadLanguage(c.language));
    CMsgPopupDlg popup;
    popup.SetContent(L"t", L"m", 330, 170);
    std::wstring yes, no;
    bool focusOnYes = false;
    const INT_PTR result = RunWhileShown(popup, [&](HWND dialog) {
        yes = testsupport::WindowText(GetDlgItem(dialog, IDOK));
        no = testsupport::WindowText(GetDlgItem(dialog, IDCANCEL));
        HWND focus = GetFocus();
        focusOnYes = focus == GetDlgItem(dialog, IDOK);
        for (const auto& [message, key] : c.input) {
            PostMessageW(focus ? focus : dialog, message, key, 0);
        }
        PostMessageW(dialog, WM_CLOSE, 0, 0);  // an input that answers nothing ends as no
    });
    EXPECT_EQ(yes, c.yes);
    EXPECT_EQ(no, c.no);
    EXPECT_TRUE(focusOnYes) << "the default button has the focus";
    EXPECT_EQ(result, c.answer);
    LoadLanguage(L"english");
}

constexpr UINT KEY = WM_KEYDOWN;
constexpr UINT TYPED = WM_CHAR;

INSTANTIATE_TEST_SUITE_P(
    Languages, MsgPopupAnswers,
    ::testing::Values(
        AnswerCase{L"english", L"&Yes", L"&No", {{KEY, 'Y'}}, IDOK},
        AnswerCase{L"english", L"&Yes", L"&No", {{KEY, 'N'}}, IDCANCEL},
        AnswerCase{L"english", L"&Yes", L"&No", {{KEY, VK_RETURN}}, IDOK},
        AnswerCase{L"english", L"&Yes", L"&No", {{KEY, VK_ESCAPE}, {KEY, 'Y'}}, IDOK},  // Escape did nothing
        AnswerCase{L"english", L"&Yes", L"&No", {{KEY, 'J'}}, IDCANCEL},              // no answer: closed
        AnswerCase{L"german", L"&Ja", L"&Nein", {{KEY, 'J'}}, IDOK},
        AnswerCase{L"german", L"&Ja", L"&Nein", {{KEY, 'Y'}}, IDOK},
        AnswerCase{L"german", L"&Ja", L"&Nein", {{KEY, 'N'}}, IDCANCEL},
        AnswerCase{L"german", L"&Ja", L"&Nein", {{KEY, VK_RETURN}}, IDOK},
        AnswerCase{L"german", L"&Ja", L"&Nein", {{KEY, VK_ESCAPE}, {KEY, 'J'}}, IDOK},
        AnswerCase{L"korean", L"\uC608(Y)", L"\uC544\uB2C8\uC624(N)", {{KEY, 'Y'}}, IDOK},
        AnswerCase{L"korean", L"\uC608(Y)", L"\uC544\uB2C8\uC624(N)", {{KEY, 'N'}}, IDCANCEL},
        AnswerCase{L"korean", L"\uC608(Y)", L"\uC544\uB2C8\uC624(N)", {{KEY, VK_RETURN}}, IDOK},
        AnswerCase{L"korean", L"\uC608(Y)", L"\uC544\uB2C8\uC624(N)", {{KEY, VK_ESCAPE}, {KEY, 'N'}}, IDCANCEL},
        AnswerCase{L"french", L"&Oui", L"&Non", {{KEY, 'O'}}, IDOK},
        // Russian: the Cyrillic initials, and the key where Latin layouts have Y types "н" (no).
        AnswerCase{L"russian", L"&\u0414\u0430", L"&\u041D\u0435\u0442", {{TYPED, L'\u0434'}}, IDOK},
        AnswerCase{L"russian", L"&\u0414\u0430", L"&\u041D\u0435\u0442", {{TYPED, L'\u043D'}}, IDCANCEL},
        AnswerCase{L"russian", L"&\u0414\u0430", L"&\u041D\u0435\u0442", {{KEY, 'Y'}}, IDOK}));

TEST(ProgPopup, ClampsProgressAndClosesOnlyOnWmClose) {
    CProgPopupDlg popup;
    popup.SetContent(L"Formatting memory card", L"Formatting memory card.\r\nPlease wait.", 400, 150);
    int shown = -1;
    LONG style = 0;
    const INT_PTR result = RunWhileShown(popup, [&](HWND dialog) {
        popup.SetProgress(120);
        shown = static_cast<int>(SendDlgItemMessageW(dialog, IDC_PROGRESS_BAR, PBM_GETPOS, 0, 0));
        style = GetWindowLongW(dialog, GWL_STYLE);
        PressKey(dialog, VK_ESCAPE);
        PostMessageW(dialog, WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(popup.GetProgress(), 100);
    EXPECT_EQ(shown, 100);
    EXPECT_EQ(style & WS_SYSMENU, 0) << "no close box";
}

TEST(ProgPopup, NegativeProgressIsPassedOn) {
    CProgPopupDlg popup;
    popup.SetContent(L"t", L"m", 400, 150);
    RunWhileShown(popup, [&](HWND dialog) {
        popup.SetProgress(-5);
        PostMessageW(dialog, WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(popup.GetProgress(), -5);
}

}  // namespace
