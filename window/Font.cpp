#include "window/Font.h"

namespace win32 {

UniqueFont MakeWindowFont(int height, int weight, FontLook look, CDpiScale scale) {
    const bool bSmooth = look == FontLook::Smooth;
    return UniqueFont(CreateFontW(scale.Scale(height), 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                  CLIP_DEFAULT_PRECIS, bSmooth ? ANTIALIASED_QUALITY : DEFAULT_QUALITY,
                                  bSmooth ? VARIABLE_PITCH : DEFAULT_PITCH, L"Tahoma"));
}

}  // namespace win32
