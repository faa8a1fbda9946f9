#pragma once
// Nine-patch pictures: a picture whose outermost one-pixel frame is not drawn but carries
// markers, so that one small picture serves any size.
//
//   top row      black pixels: the columns that stretch horizontally (at most two)
//   left column  black pixels: the rows that stretch vertically (at most two)
//   right column one run of black pixels: the vertical extent of the content area
//   bottom row   one run of black pixels: the horizontal extent of the content area
//
// A marker is a pixel whose red, green and blue are all 0, whatever its alpha; a run ends at
// the first pixel whose red, green and blue are all 255 (the frame's transparent white). The
// colour must therefore be read unpremultiplied: premultiplied transparent white is black.
//
// Stretching replicates the one stretch column (row) as often as needed, so edges stay
// sharp. This file holds the arithmetic over plain pixel buffers; the Win32 painter wraps it
// in decoded PNG resources and device contexts.

#include <cstdint>
#include <vector>

#include "skin/PixelBuffer.h"

namespace skin {

bool IsMarker(Pixel straight);
bool IsEndMarker(Pixel straight);

// What the last painting found and did; every paint starts them afresh.
struct NinePatchLists {
    std::vector<int32_t> arrStretchColumns;     // interior x of each marker of the top row
    std::vector<int32_t> arrStretchRows;        // interior y of each marker of the left column
    std::vector<int32_t> arrHorizontalAmounts;  // width given to each stretched column, in order
    std::vector<int32_t> arrVerticalAmounts;    // height given to each stretched row, in order

    void Clear();
};

// Reads the stretch markers of the top row and the left column into the lists, as interior
// coordinates (picture coordinate minus one). The shared corner pixel marks nothing.
void ScanNinePatchMarkers(const CPixelBuffer& picture, NinePatchLists& lists);

// Paints `picture` (straight colour, frame included) over the whole of `target`, replacing its
// pixels with premultiplied colour, and fills `lists`. With one stretch column c the result is
// the interior's columns 0..c-1, column c repeated k = width - W + 3 times, then the remaining
// interior columns; rows alike. A target smaller than the picture's fixed parts gets them
// clipped at its right or bottom edge. With more than two stretch columns (rows) nothing is
// drawn. When `content` is given it receives the content area (see NinePatchContentArea).
void PaintNinePatch(const CPixelBuffer& picture, PixelView target, NinePatchLists& lists, PixelRect* content);

// The content area of a painted picture in picture coordinates (one more than target
// coordinates, since the frame's left column and top row are not drawn): the marker runs of
// the right column and bottom row, each widened by the full amount of every stretched row or
// column inside the run. A picture without a content run gives the whole target.
PixelRect NinePatchContentArea(const CPixelBuffer& picture, const NinePatchLists& lists, int32_t targetWidth,
                               int32_t targetHeight);

// Draws `picture` (straight colour) unscaled with its top-left corner at (0, 0) of `target`,
// composited over what the target holds and clipped to it.
void DrawPictureOver(const CPixelBuffer& picture, PixelView target);

}  // namespace skin
