#pragma once
// Small helpers the settings pages use on their own controls, named after what they act on.

#include <windows.h>

#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "window/DpiScale.h"

class CSubSlider;

namespace pagecontrols {

bool IsChecked(HWND page, int id);
void SetChecked(HWND page, int id, bool checked);
// Checks `checkedId` and unchecks the other buttons of the group; 0 leaves all unchecked.
void CheckOnly(HWND page, std::initializer_list<int> group, int checkedId);
void Enable(HWND page, int id, bool enabled);

// Trackbar position, set with redraw; the trackbar keeps it within its range.
void SetSliderPosition(HWND page, int id, int position);
int GetSliderPosition(HWND slider);

// How a page slider looks and where its thumb starts.
struct SliderSetup {
    HFONT labelFont;
    std::vector<std::wstring> labels;
    int labelFlags;
    int minimum;
    int maximum;
    int pageSize;                 // 0 keeps the trackbar's own
    std::optional<int> position;  // none keeps the trackbar's own
    int tipKind;                  // 0: the tooltip shows the raw position
};

// Label font (made for the page's scale), labels (replacing any before), range (without redraw),
// page size, position (with redraw) and tip kind, in that order.
void SetUpSlider(CSubSlider& slider, const SliderSetup& setup, const win32::CDpiScale& scale);

// A combo box's items, replaced; and its selection (-1 or an index outside the list: none).
void FillComboBox(HWND page, int id, const std::vector<std::wstring>& items);
void SelectComboItem(HWND page, int id, int index);
int GetComboSelection(HWND page, int id);
int GetComboCount(HWND page, int id);
// Lets a drop-down list open `rows` items tall. A drop-down list's own height is that of its
// selection field; the height it is given when placed is the height of the opened list, and
// the page places it no taller than the field.
void SetDropDownRows(HWND page, int id, int rows);

}  // namespace pagecontrols
