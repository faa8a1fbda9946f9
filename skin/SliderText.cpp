#include "skin/SliderText.h"

#include <cstdio>

#include "record/SettingFields.h"

namespace skin {
namespace {

constexpr int32_t FIRST_LABEL_INSET = 14;
constexpr int32_t LAST_LABEL_INSET = 13;

// A 96-DPI length at `dpi`, rounded half away from zero (the layout's own rule).
int32_t AtDpi(int32_t px96, int dpi) {
    if (dpi <= 0) dpi = 96;
    const long long n = static_cast<long long>(px96) * dpi;
    return static_cast<int32_t>(n >= 0 ? (n + 48) / 96 : -((-n + 48) / 96));
}

std::wstring Widen(const char* text) { return std::wstring(text, text + std::char_traits<char>::length(text)); }

std::wstring Whole(long value) {
    char text[32];
    std::snprintf(text, sizeof(text), "%ld", value);
    return Widen(text);
}

// The record field whose slider tooltips a kind shows; null for the plain position.
const SettingField* TipField(int kind) {
    switch (kind) {
    case SLIDER_TIP_HOURS:
    case SLIDER_TIP_PARKING_HOURS: return FindSettingField("parking_timer_hours");
    case SLIDER_TIP_VOLTS_12: return FindSettingField("low_voltage_12v");
    case SLIDER_TIP_VOLTS_24: return FindSettingField("low_voltage_24v");
    case SLIDER_TIP_MOTION_LEVEL: return FindSettingField("motion_sensitivity");
    default: return nullptr;
    }
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
                          int32_t textHeight, int dpi) {
    const int32_t firstInset = AtDpi(FIRST_LABEL_INSET, dpi);
    const int32_t insets = firstInset + AtDpi(LAST_LABEL_INSET, dpi);
    const float first = static_cast<float>(client.left + firstInset);
    // A single label has no spacing to spread: it stands at the first position.
    const float step = labelCount > 1 ? static_cast<float>(client.right - client.left - insets) /
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
    if (const SettingField* field = TipField(kind)) {
        if (std::optional<std::wstring> tip = SliderTip(*field, position)) return *tip;
    }
    return Whole(position);
}

}  // namespace skin
