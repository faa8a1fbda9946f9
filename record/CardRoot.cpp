#include "record/CardRoot.h"

std::wstring g_strCardRoot;

namespace {

bool IsAsciiLetter(wchar_t ch) { return (ch >= L'A' && ch <= L'Z') || (ch >= L'a' && ch <= L'z'); }

}  // namespace

std::optional<std::wstring> TouchCalibrationPath(std::wstring_view cardRoot) {
    if (cardRoot.size() < 3 || !IsAsciiLetter(cardRoot[0]) || cardRoot[1] != L':' ||
        (cardRoot[2] != L'\\' && cardRoot[2] != L'/')) {
        return std::nullopt;
    }
    return std::wstring(cardRoot.substr(0, 3)) + L"set_touch_cal.txt";
}
