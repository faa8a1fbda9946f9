#include "record/TextUtil.h"

namespace textutil {
namespace {

template <typename View>
View TrimOf(View text, View whiteSpace) {
    const size_t first = text.find_first_not_of(whiteSpace);
    if (first == View::npos) return {};
    const size_t last = text.find_last_not_of(whiteSpace);
    return text.substr(first, last - first + 1);
}

}  // namespace

std::wstring_view Trim(std::wstring_view text) { return TrimOf(text, std::wstring_view(L" \t\r\n\v\f")); }

std::string_view Trim(std::string_view text) { return TrimOf(text, std::string_view(" \t\r\n\v\f")); }

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
