#pragma once
// The texts a settings slider adds to its track: the labels under it, where they stand, and
// the tooltip text that shows the setting's value for a position.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "skin/PixelBuffer.h"

namespace skin {

// Which labels a slider draws (bits; the pages use ENDS + one middle, or ALL).
constexpr int SLIDER_LABEL_ENDS = 1;          // the first and the last
constexpr int SLIDER_LABEL_UPPER_MIDDLE = 4;  // index (n + 1) / 2
constexpr int SLIDER_LABEL_LOWER_MIDDLE = 8;  // index (n - 1) / 2
constexpr int SLIDER_LABEL_ALL = 16;          // every label; the other bits are not looked at

// The indexes of the labels to draw, in drawing order: every label from left to right with
// SLIDER_LABEL_ALL (none when there is only one), otherwise the first and last, then the
// middles the flags ask for. Each index is inside the list and appears once.
std::vector<size_t> SliderLabelIndexes(size_t labelCount, int flags);

// The rectangle DrawTextW gets for label `index` whose text measures textWidth × textHeight,
// in a slider whose client rectangle is `client`. Labels are spread from 14 pixels inside the
// left edge to 13 inside the right edge (at 96 DPI; both scaled by dpi / 96, rounded half away
// from zero, at another DPI) in single-precision steps; with SLIDER_LABEL_ALL the position is
// accumulated step by step, otherwise it is index × step from the first one. The text stands
// centred on its position, on the bottom edge.
PixelRect SliderLabelRect(size_t index, size_t labelCount, int flags, const PixelRect& client, int32_t textWidth,
                          int32_t textHeight, int dpi = 96);

// Tooltip kinds: how a position reads as the setting's value (the slider tooltips of the
// record's field table, record/SettingFields.h).
constexpr int SLIDER_TIP_POSITION = 0;       // the position itself
constexpr int SLIDER_TIP_HOURS = 1;          // 6, 12, 24, 48
constexpr int SLIDER_TIP_VOLTS_12 = 2;       // 11.6 ... 12.3
constexpr int SLIDER_TIP_VOLTS_24 = 3;       // 23.2 ... 24.6
constexpr int SLIDER_TIP_PARKING_HOURS = 4;  // as SLIDER_TIP_HOURS
constexpr int SLIDER_TIP_MOTION_LEVEL = 5;   // 0, 1, 3, 5

// The tooltip text for a position. A position outside the kind's table reads as the plain
// position, as an unformatted slider would show it.
std::wstring SliderTipText(int kind, long position);

}  // namespace skin
