#include "skin/NinePatchStretch.h"

#include <algorithm>
#include <optional>

namespace skin {
namespace {

constexpr Pixel RGB_MASK = 0x00FFFFFF;

// For each position along one axis of the stretched result, the interior position it copies,
// or -1 where nothing is drawn. `sourceLength` counts the interior and the frame's far line
// (right column or bottom row), which the caller drops afterwards.
std::vector<int32_t> AxisMap(int32_t sourceLength, int32_t targetLength, const std::vector<int32_t>& stretches,
                             bool unchangedWhenEqual, std::vector<int32_t>& amounts) {
    std::vector<int32_t> map(static_cast<size_t>(targetLength), -1);
    auto place = [&](int32_t destination, int32_t source) {
        if (destination >= 0 && destination < targetLength) map[static_cast<size_t>(destination)] = source;
    };
    auto copyRun = [&](int32_t source, int32_t count, int32_t destination) {
        for (int32_t i = 0; i < count; ++i) place(destination + i, source + i);
    };
    auto repeat = [&](int32_t source, int32_t count, int32_t destination) {
        for (int32_t i = 0; i < count; ++i) place(destination + i, source);
    };

    if (stretches.empty() || (unchangedWhenEqual && sourceLength == targetLength)) {
        copyRun(0, sourceLength, 0);
        return map;
    }
    if (stretches.size() == 1) {
        const int32_t c = stretches[0];
        const int32_t k = std::max(targetLength - sourceLength + 1, 0);
        copyRun(0, c, 0);
        repeat(c, k, c);
        copyRun(c + 1, sourceLength - c - 1, c + k);
        amounts.push_back(k);
        return map;
    }
    if (stretches.size() == 2) {
        const int32_t c0 = stretches[0];
        const int32_t c1 = stretches[1];
        // The two stretched lines share the room; an odd pixel goes to the second, so the
        // result always fills the target and the frame's far line never shows.
        const int32_t room = std::max(targetLength - sourceLength + 2, 0);
        const int32_t k0 = room / 2;
        const int32_t k1 = room - k0;
        copyRun(0, c0, 0);
        repeat(c0, k0, c0);
        copyRun(c0 + 1, c1 - c0 - 1, c0 + k0);
        repeat(c1, k1, c1 + k0 - 1);
        copyRun(c1 + 1, sourceLength - c1 - 1, c1 + k0 + k1 - 1);
        amounts.push_back(k0);
        amounts.push_back(k1);
        return map;
    }
    return map;  // more than two: nothing is drawn
}

struct Run {
    int32_t first;
    int32_t last;
};

// The marker run of a frame line: from the first marker to the pixel before the next end
// marker, or to the end of the line when no end marker follows.
template <typename PixelAt>
std::optional<Run> ContentRun(int32_t length, PixelAt pixelAt) {
    int32_t first = 0;
    while (first < length && !IsMarker(pixelAt(first))) ++first;
    if (first == length) return std::nullopt;
    int32_t end = first + 1;
    while (end < length && !IsEndMarker(pixelAt(end))) ++end;
    return Run{first, end - 1};
}

int32_t WidenedLength(const Run& run, const std::vector<int32_t>& stretches, const std::vector<int32_t>& amounts) {
    int32_t length = run.last - run.first + 1;
    if (stretches.size() != amounts.size()) return length;
    for (size_t i = 0; i < stretches.size(); ++i) {
        const int32_t pictureLine = stretches[i] + 1;
        if (pictureLine >= run.first && pictureLine <= run.last) length += amounts[i];
    }
    return length;
}

}  // namespace

bool IsMarker(Pixel straight) { return (straight & RGB_MASK) == 0; }

bool IsEndMarker(Pixel straight) { return (straight & RGB_MASK) == RGB_MASK; }

void NinePatchLists::Clear() {
    arrStretchColumns.clear();
    arrStretchRows.clear();
    arrHorizontalAmounts.clear();
    arrVerticalAmounts.clear();
}

void ScanNinePatchMarkers(const CPixelBuffer& picture, NinePatchLists& lists) {
    for (int32_t x = 1; x < picture.Width(); ++x) {
        if (IsMarker(picture.At(x, 0))) lists.arrStretchColumns.push_back(x - 1);
    }
    for (int32_t y = 1; y < picture.Height(); ++y) {
        if (IsMarker(picture.At(0, y))) lists.arrStretchRows.push_back(y - 1);
    }
}

void PaintNinePatch(const CPixelBuffer& picture, PixelView target, NinePatchLists& lists, PixelRect* content) {
    lists.Clear();
    if (target.IsEmpty()) return;
    if (content) *content = PixelRect{0, 0, target.nWidth, target.nHeight};
    if (picture.Width() < 2 || picture.Height() < 2) {
        for (int32_t y = 0; y < target.nHeight; ++y) std::fill_n(&target.At(0, y), target.nWidth, Pixel{0});
        return;
    }
    ScanNinePatchMarkers(picture, lists);

    // The interior plus the frame's right column and bottom row, stretched to one more than
    // the target in each direction; that extra column and row are then left out.
    const int32_t sourceWidth = picture.Width() - 1;
    const int32_t sourceHeight = picture.Height() - 1;
    // The scan yields ascending positions inside 0 .. source length - 1, as AxisMap needs.
    const std::vector<int32_t> columns =
        AxisMap(sourceWidth, target.nWidth + 1, lists.arrStretchColumns, false, lists.arrHorizontalAmounts);
    const std::vector<int32_t> rows =
        AxisMap(sourceHeight, target.nHeight + 1, lists.arrStretchRows, true, lists.arrVerticalAmounts);

    // Each source row is premultiplied once and the target row picks its columns from it; a
    // stretched row that repeats the one above is copied (a window's background is mostly such
    // rows).
    std::vector<Pixel> premultiplied(static_cast<size_t>(sourceWidth));
    for (int32_t y = 0; y < target.nHeight; ++y) {
        const int32_t sourceY = rows[static_cast<size_t>(y)];
        if (y > 0 && sourceY == rows[static_cast<size_t>(y) - 1]) {
            std::copy_n(&target.At(0, y - 1), target.nWidth, &target.At(0, y));
            continue;
        }
        if (sourceY < 0) {
            std::fill_n(&target.At(0, y), target.nWidth, Pixel{0});
            continue;
        }
        for (int32_t x = 0; x < sourceWidth; ++x) {
            premultiplied[static_cast<size_t>(x)] = Premultiply(picture.At(x + 1, sourceY + 1));
        }
        for (int32_t x = 0; x < target.nWidth; ++x) {
            const int32_t sourceX = columns[static_cast<size_t>(x)];
            target.At(x, y) = sourceX < 0 ? Pixel{0} : premultiplied[static_cast<size_t>(sourceX)];
        }
    }
    if (content) *content = NinePatchContentArea(picture, lists, target.nWidth, target.nHeight);
}

PixelRect NinePatchContentArea(const CPixelBuffer& picture, const NinePatchLists& lists, int32_t targetWidth,
                               int32_t targetHeight) {
    const PixelRect whole{0, 0, targetWidth, targetHeight};
    if (picture.IsEmpty()) return whole;
    const int32_t lastColumn = picture.Width() - 1;
    const int32_t lastRow = picture.Height() - 1;
    const std::optional<Run> vertical =
        ContentRun(picture.Height(), [&](int32_t y) { return picture.At(lastColumn, y); });
    const std::optional<Run> horizontal =
        ContentRun(picture.Width(), [&](int32_t x) { return picture.At(x, lastRow); });
    if (!vertical || !horizontal) return whole;

    const int32_t height = WidenedLength(*vertical, lists.arrStretchRows, lists.arrVerticalAmounts);
    const int32_t width = WidenedLength(*horizontal, lists.arrStretchColumns, lists.arrHorizontalAmounts);
    return PixelRect{horizontal->first, vertical->first, horizontal->first + width, vertical->first + height};
}

void DrawPictureOver(const CPixelBuffer& picture, PixelView target) {
    if (target.IsEmpty()) return;
    const int32_t width = std::min(picture.Width(), target.nWidth);
    const int32_t height = std::min(picture.Height(), target.nHeight);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) target.At(x, y) = BlendOver(Premultiply(picture.At(x, y)), target.At(x, y));
    }
}

}  // namespace skin
