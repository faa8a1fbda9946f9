#pragma once
// Small text helpers shared by the card file readers.

#include <string_view>
#include <vector>

namespace textutil {

// Trims spaces, tabs, CR, LF, vertical tabs and form feeds at both ends.
std::wstring_view Trim(std::wstring_view text);
std::string_view Trim(std::string_view text);

// The maximal runs of characters other than the separator, in order (empty runs are skipped).
std::vector<std::wstring_view> SplitRuns(std::wstring_view text, wchar_t separator);

}  // namespace textutil
