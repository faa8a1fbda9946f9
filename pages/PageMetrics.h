#pragma once
// The arithmetic of page layout and scrolling, apart from any window so it can be tested alone.

#include <optional>
#include <string_view>

namespace pagemetrics {

// Every page shows a fixed area of this size; taller content scrolls vertically.
constexpr int PAGE_WIDTH = 700;
constexpr int PAGE_HEIGHT = 437;

enum class ScrollRequest { LineUp, LineDown, PageUp, PageDown, Thumb, Other };

// The change of the scroll offset for a scroll bar request, keeping the offset in 0..max;
// nothing for requests that move nothing (top, bottom, end of scroll).
std::optional<int> ScrollChange(ScrollRequest request, int position, int maximum, int lineStep, int pageSize,
                                int thumbPosition);

// One step per wheel message, whatever the size of the delta.
int WheelChange(int wheelDelta, int position, int maximum, int lineStep);

// Width of a label, radio button or check box for a measured text width: room for the mark and
// a gap beside a text, a fixed width for an empty one.
constexpr int LABEL_MARK_ROOM = 30;
constexpr int EMPTY_LABEL_WIDTH = 25;
int LabelWidth(int textWidth);

// Number of "\r\n" pairs in a pop-up message; exactly two gets the taller message control.
int CountLineBreaks(std::wstring_view message);

}  // namespace pagemetrics
