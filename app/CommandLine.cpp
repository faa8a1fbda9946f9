#include "app/CommandLine.h"

std::wstring CardRootFromArguments(const std::vector<std::wstring>& arguments) {
    return arguments.size() == 2 ? arguments[1] : std::wstring();
}

std::wstring QuoteArgument(const std::wstring& argument) {
    std::wstring quoted = L"\"";
    size_t backslashes = 0;
    for (wchar_t ch : argument) {
        if (ch == L'\\') {
            ++backslashes;
            continue;
        }
        // Backslashes count as escapes only before a quote: double them there, and escape
        // the quote itself.
        const size_t count = ch == L'"' ? backslashes * 2 + 1 : backslashes;
        quoted.append(count, L'\\');
        quoted.push_back(ch);
        backslashes = 0;
    }
    quoted.append(backslashes * 2, L'\\');
    quoted.push_back(L'"');
    return quoted;
}
