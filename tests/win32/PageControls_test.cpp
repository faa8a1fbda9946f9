// The pages' control helpers: a radio group checked through CheckOnly ends exactly as checking
// its buttons one by one would leave it, and its buttons stay automatic.

#include "pages/win32/PageControls.h"

#include <array>

#include <gtest/gtest.h>

#include "tests/win32/TestWindows.h"

namespace {

constexpr int FIRST_ID = 4100;

// Three automatic radio buttons in one group, then a check box that starts the next group.
void MakeGroup(HWND parent, int firstId) {
    for (int i = 0; i < 3; ++i) {
        const DWORD style = WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON | (i == 0 ? WS_GROUP | WS_TABSTOP : 0);
        CreateWindowExW(0, L"Button", L"", style, 0, 30 * i, 100, 25, parent,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(firstId + i)), nullptr, nullptr);
    }
    CreateWindowExW(0, L"Button", L"", WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP | BS_AUTOCHECKBOX, 0, 90, 100,
                    25, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(firstId + 3)), nullptr, nullptr);
}

struct ButtonState {
    LRESULT checked;
    LONG_PTR style;
    bool operator==(const ButtonState&) const = default;
};

std::array<ButtonState, 3> GroupState(HWND parent, int firstId) {
    std::array<ButtonState, 3> states{};
    for (int i = 0; i < 3; ++i) {
        HWND button = GetDlgItem(parent, firstId + i);
        states[static_cast<size_t>(i)] = {SendMessageW(button, BM_GETCHECK, 0, 0), GetWindowLongPtrW(button, GWL_STYLE)};
    }
    return states;
}

TEST(PageControls, CheckOnlyLeavesARadioGroupAsCheckingItButtonByButtonDoes) {
    testsupport::TestParentWindow checkedOnly;
    testsupport::TestParentWindow byHand;
    ASSERT_TRUE(checkedOnly.Create(200, 200));
    ASSERT_TRUE(byHand.Create(200, 200));
    MakeGroup(checkedOnly.Handle(), FIRST_ID);
    MakeGroup(byHand.Handle(), FIRST_ID);

    // From every starting choice to every other one, and to none.
    for (int from = 0; from < 3; ++from) {
        for (int to = -1; to < 3; ++to) {
            for (HWND parent : {checkedOnly.Handle(), byHand.Handle()}) {
                pagecontrols::CheckOnly(parent, {FIRST_ID, FIRST_ID + 1, FIRST_ID + 2}, FIRST_ID + from);
            }
            const int checkedId = to < 0 ? 0 : FIRST_ID + to;
            pagecontrols::CheckOnly(checkedOnly.Handle(), {FIRST_ID, FIRST_ID + 1, FIRST_ID + 2}, checkedId);
            for (int i = 0; i < 3; ++i) {
                if (FIRST_ID + i != checkedId) pagecontrols::SetChecked(byHand.Handle(), FIRST_ID + i, false);
            }
            if (checkedId != 0) pagecontrols::SetChecked(byHand.Handle(), checkedId, true);

            const auto state = GroupState(checkedOnly.Handle(), FIRST_ID);
            EXPECT_EQ(state, GroupState(byHand.Handle(), FIRST_ID)) << "from " << from << " to " << to;
            for (int i = 0; i < 3; ++i) {
                EXPECT_EQ(state[static_cast<size_t>(i)].checked, i == to ? BST_CHECKED : BST_UNCHECKED);
                EXPECT_EQ(state[static_cast<size_t>(i)].style & BS_TYPEMASK, BS_AUTORADIOBUTTON);
            }
        }
    }
}

TEST(PageControls, ARadioButtonCheckedByCheckOnlyStillChecksItselfWhenClicked) {
    testsupport::TestParentWindow parent;
    ASSERT_TRUE(parent.Create(200, 200));
    MakeGroup(parent.Handle(), FIRST_ID);
    pagecontrols::CheckOnly(parent.Handle(), {FIRST_ID, FIRST_ID + 1, FIRST_ID + 2}, FIRST_ID);

    SendMessageW(GetDlgItem(parent.Handle(), FIRST_ID + 2), BM_CLICK, 0, 0);
    EXPECT_TRUE(pagecontrols::IsChecked(parent.Handle(), FIRST_ID + 2));
    EXPECT_FALSE(pagecontrols::IsChecked(parent.Handle(), FIRST_ID)) << "the group unchecks itself on a click";
    EXPECT_FALSE(pagecontrols::IsChecked(parent.Handle(), FIRST_ID + 3)) << "the next group is left alone";
}

}  // namespace
