#include "record/TextUtil.h"

namespace textutil {

std::wstring_view Trim(std::wstring_view text) {
    constexpr std::wstring_view WHITE_SPACE = L" \t\r\n\v\f";
    const size_t first = text.find_first_not_of(WHITE_SPACE);
    if (first == std::wstring_view::npos) return {};
    const size_t last = text.find_last_not_of(WHITE_SPACE);
    return text.substr(first, last - first + 1);
}

std::vector<std::wstring_view> SplitRuns(std::wstring_view text, wchar_t separator) {
    std::vector<std::wstring_view> runs;
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t start = text.find_first_not_of(separator, pos);
        if (start == std::wstring_view::npos) break;
        size_t end = text.find(separator, start);
        if (end == std::wstring_view::npos) end = text.size();
        runs.push_back(text.substr(start, end - start));
        pos = end;
    }
    return runs;
}

}  // namespace textutil
