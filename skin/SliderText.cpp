#include "skin/SliderText.h"

#include <array>
#include <cstdio>
#include <span>

namespace skin {
namespace {

constexpr std::array<int, 4> HOURS = {6, 12, 24, 48};
constexpr std::array<int, 4> MOTION_LEVELS = {0, 1, 3, 5};
constexpr std::array<float, 8> VOLTS_12 = {11.6f, 11.7f, 11.8f, 11.9f, 12.0f, 12.1f, 12.2f, 12.3f};
constexpr std::array<float, 8> VOLTS_24 = {23.2f, 23.4f, 23.6f, 23.8f, 24.0f, 24.2f, 24.4f, 24.6f};

constexpr float FIRST_LABEL_INSET = 14.0f;
constexpr int32_t LABEL_INSETS = 27;  // 14 at the left plus 13 at the right

std::wstring Widen(const char* text) { return std::wstring(text, text + std::char_traits<char>::length(text)); }

std::wstring Whole(long value) {
    char text[32];
    std::snprintf(text, sizeof(text), "%ld", value);
    return Widen(text);
}

template <typename T>
bool InTable(std::span<const T> table, long position) {
    return position >= 0 && static_cast<size_t>(position) < table.size();
}

std::wstring FromIntegers(std::span<const int> table, long position) {
    return InTable(table, position) ? Whole(table[static_cast<size_t>(position)]) : Whole(position);
}

std::wstring FromDecimals(std::span<const float> table, long position) {
    if (!InTable(table, position)) return Whole(position);
    char text[32];
    std::snprintf(text, sizeof(text), "%0.1f", static_cast<double>(table[static_cast<size_t>(position)]));
    return Widen(text);
}

void AddOnce(std::vector<size_t>& indexes, size_t index, size_t labelCount) {
    if (index >= labelCount) return;
    for (size_t existing : indexes) {
        if (existing == index) return;
    }
    indexes.push_back(index);
}

}  // namespace

std::vector<size_t> SliderLabelIndexes(size_t labelCount, int flags) {
    std::vector<size_t> indexes;
    if (labelCount == 0) return indexes;
    if (flags & SLIDER_LABEL_ALL) {
        if (labelCount > 1) {
            for (size_t i = 0; i < labelCount; ++i) indexes.push_back(i);
        }
        return indexes;
    }
    if (flags & SLIDER_LABEL_ENDS) {
        AddOnce(indexes, 0, labelCount);
        AddOnce(indexes, labelCount - 1, labelCount);
    }
    if (flags & SLIDER_LABEL_UPPER_MIDDLE) AddOnce(indexes, (labelCount + 1) / 2, labelCount);
    if (flags & SLIDER_LABEL_LOWER_MIDDLE) AddOnce(indexes, (labelCount - 1) / 2, labelCount);
    return indexes;
}

PixelRect SliderLabelRect(size_t index, size_t labelCount, int flags, const PixelRect& client, int32_t textWidth,
                          int32_t textHeight) {
    const float first = static_cast<float>(client.left) + FIRST_LABEL_INSET;
    // A single label has no spacing to spread: it stands at the first position.
    const float step = labelCount > 1 ? static_cast<float>(client.right - client.left - LABEL_INSETS) /
                                            static_cast<float>(labelCount - 1)
                                      : 0.0f;
    float x = first;
    if (flags & SLIDER_LABEL_ALL) {
        for (size_t i = 0; i < index; ++i) x += step;
    } else if (index > 0) {
        x = static_cast<float>(static_cast<int32_t>(static_cast<float>(index) * step + first));
    }
    PixelRect rect;
    rect.left = static_cast<int32_t>(x - static_cast<float>(textWidth / 2));
    rect.right = static_cast<int32_t>(x + static_cast<float>(textWidth));
    rect.top = client.bottom - textHeight;
    rect.bottom = client.bottom;
    return rect;
}

std::wstring SliderTipText(int kind, long position) {
    switch (kind) {
    case SLIDER_TIP_HOURS:
    case SLIDER_TIP_PARKING_HOURS:
        return FromIntegers(HOURS, position);
    case SLIDER_TIP_VOLTS_12:
        return FromDecimals(VOLTS_12, position);
    case SLIDER_TIP_VOLTS_24:
        return FromDecimals(VOLTS_24, position);
    case SLIDER_TIP_MOTION_LEVEL:
        return FromIntegers(MOTION_LEVELS, position);
    default:
        return Whole(position);
    }
}

}  // namespace skin
