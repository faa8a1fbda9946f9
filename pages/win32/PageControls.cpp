#include "pages/win32/PageControls.h"

#include <commctrl.h>

#include "skin/win32/SubSlider.h"

namespace pagecontrols {

bool IsChecked(HWND page, int id) { return IsDlgButtonChecked(page, id) == BST_CHECKED; }

void SetChecked(HWND page, int id, bool checked) { CheckDlgButton(page, id, checked ? BST_CHECKED : BST_UNCHECKED); }

void CheckOnly(HWND page, std::initializer_list<int> group, int checkedId) {
    // Unchecking first: a button that checks itself may uncheck its group, never the reverse.
    for (int id : group) {
        if (id != checkedId) SetChecked(page, id, false);
    }
    if (checkedId == 0) return;
    HWND button = GetDlgItem(page, checkedId);
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(button, GWL_STYLE));
    if ((style & BS_TYPEMASK) != BS_AUTORADIOBUTTON) {
        SendMessageW(button, BM_SETCHECK, BST_CHECKED, 0);
        return;
    }
    // Checked as a plain radio button for the moment: some systems (Wine) answer a check of an
    // automatic one by walking all the page's controls to uncheck its group, which is
    // unchecked already. The check mark and the tab stop end up the same.
    SetWindowLongPtrW(button, GWL_STYLE, static_cast<LONG_PTR>((style & ~BS_TYPEMASK) | BS_RADIOBUTTON));
    SendMessageW(button, BM_SETCHECK, BST_CHECKED, 0);
    const auto checkedStyle = static_cast<DWORD>(GetWindowLongPtrW(button, GWL_STYLE));
    SetWindowLongPtrW(button, GWL_STYLE, static_cast<LONG_PTR>((checkedStyle & ~BS_TYPEMASK) | BS_AUTORADIOBUTTON));
}

void Enable(HWND page, int id, bool enabled) { EnableWindow(GetDlgItem(page, id), enabled ? TRUE : FALSE); }

void SetSliderPosition(HWND page, int id, int position) {
    SendDlgItemMessageW(page, id, TBM_SETPOS, TRUE, position);
}

int GetSliderPosition(HWND slider) { return static_cast<int>(SendMessageW(slider, TBM_GETPOS, 0, 0)); }

void SetUpSlider(CSubSlider& slider, const SliderSetup& setup, const win32::CDpiScale& scale) {
    HWND track = slider.GetSafeHwnd();
    slider.SetLabelFont(setup.labelFont, scale.Dpi());
    slider.ClearLabels();  // a page laid out again sets its sliders up again
    slider.AddLabels(setup.labels, setup.labelFlags);
    SendMessageW(track, TBM_SETRANGE, FALSE, MAKELPARAM(setup.minimum, setup.maximum));
    if (setup.pageSize != 0) SendMessageW(track, TBM_SETPAGESIZE, 0, setup.pageSize);
    if (setup.position) SendMessageW(track, TBM_SETPOS, TRUE, *setup.position);
    if (setup.tipKind != 0) slider.SetTipKind(setup.tipKind);
}

void FillComboBox(HWND page, int id, const std::vector<std::wstring>& items) {
    HWND combo = GetDlgItem(page, id);
    // Without redrawing between items: a long list (the time zones) otherwise updates its
    // scroll bar once per item. Drawn again once it is filled. Turning drawing back on also
    // marks a window visible, so a hidden list is filled as it is.
    const bool quiet = (GetWindowLongPtrW(combo, GWL_STYLE) & WS_VISIBLE) != 0;
    if (quiet) SendMessageW(combo, WM_SETREDRAW, FALSE, 0);
    if (GetComboCount(page, id) > 0) SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    for (const std::wstring& item : items) SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    if (quiet) {
        SendMessageW(combo, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(combo, nullptr, TRUE);
    }
}

void SelectComboItem(HWND page, int id, int index) {
    // CB_SETCURSEL takes -1 for "no selection"; other negative indexes mean the same.
    SendDlgItemMessageW(page, id, CB_SETCURSEL, static_cast<WPARAM>(index < 0 ? -1 : index), 0);
}

int GetComboSelection(HWND page, int id) { return static_cast<int>(SendDlgItemMessageW(page, id, CB_GETCURSEL, 0, 0)); }

int GetComboCount(HWND page, int id) { return static_cast<int>(SendDlgItemMessageW(page, id, CB_GETCOUNT, 0, 0)); }

void SetDropDownRows(HWND page, int id, int rows) {
    HWND combo = GetDlgItem(page, id);
    RECT field{};
    GetWindowRect(combo, &field);
    const auto itemHeight = static_cast<int>(SendMessageW(combo, CB_GETITEMHEIGHT, 0, 0));
    if (itemHeight <= 0) return;
    SetWindowPos(combo, nullptr, 0, 0, field.right - field.left, (field.bottom - field.top) + rows * itemHeight + 2,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(combo, CB_SETMINVISIBLE, static_cast<WPARAM>(rows), 0);
}

}  // namespace pagecontrols
