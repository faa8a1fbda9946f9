#include "pages/PageMetrics.h"

#include <algorithm>

namespace pagemetrics {

std::optional<int> ScrollChange(ScrollRequest request, int position, int maximum, int lineStep, int pageSize,
                                int thumbPosition) {
    switch (request) {
    case ScrollRequest::LineUp: return -std::min(lineStep, position);
    case ScrollRequest::LineDown: return std::min(lineStep, maximum - position);
    case ScrollRequest::PageUp: return -std::min(pageSize, position);
    case ScrollRequest::PageDown: return std::min(pageSize, maximum - position);
    case ScrollRequest::Thumb: return thumbPosition - position;
    case ScrollRequest::Other: return std::nullopt;
    }
    return std::nullopt;
}

int WheelChange(int wheelDelta, int position, int maximum, int lineStep) {
    if (wheelDelta > 0) return -std::min(lineStep, position);
    if (wheelDelta < 0) return std::min(lineStep, maximum - position);
    return 0;
}

int LabelWidth(int textWidth) { return textWidth > 0 ? textWidth + LABEL_MARK_ROOM : EMPTY_LABEL_WIDTH; }

int CountLineBreaks(std::wstring_view message) {
    int count = 0;
    for (size_t pos = message.find(L"\r\n"); pos != std::wstring_view::npos; pos = message.find(L"\r\n", pos + 2)) {
        ++count;
    }
    return count;
}

}  // namespace pagemetrics
