#include "cli/HelpText.h"

#include <algorithm>
#include <cctype>

namespace {

std::string Lowered(std::string_view text) {
    std::string out(text);
    for (char& ch : out) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return out;
}

size_t EditDistance(std::string_view a, std::string_view b) {
    std::vector<size_t> row(b.size() + 1);
    for (size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (size_t i = 1; i <= a.size(); ++i) {
        size_t diagonal = row[0];
        row[0] = i;
        for (size_t j = 1; j <= b.size(); ++j) {
            const size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

// Where a line's text column starts, for its continuation lines: after "name: " for a line that
// begins with a name, after the gap that follows an option or a code, or under the line's own
// indentation.
size_t ContinuationIndent(std::string_view line) {
    const size_t indent = line.find_first_not_of(' ');
    if (indent == std::string_view::npos) return 0;
    const size_t word = line.find(' ', indent);
    size_t text = std::string_view::npos;
    if (word != std::string_view::npos && line[word - 1] == ':') {
        text = line.find_first_not_of(' ', word);
    } else if (const size_t gap = line.find("  ", indent); gap != std::string_view::npos) {
        text = line.find_first_not_of(' ', gap);
    }
    return text != std::string_view::npos && text < line.size() / 2 + 1 ? text : indent;
}

// Whether the space at `at` stands inside or just before a short parenthesised group such as
// "(12.2 V)" or "(Third choice)": a value and its group read as one word.
bool InShortGroup(std::string_view line, size_t at) {
    constexpr size_t SHORT_GROUP = 16;
    const size_t open = at + 1 < line.size() && line[at + 1] == '(' ? at + 1 : line.rfind('(', at);
    if (open == std::string_view::npos) return false;
    const size_t closedBefore = line.rfind(')', at);
    if (closedBefore != std::string_view::npos && closedBefore > open) return false;
    const size_t close = line.find(')', at);
    return close != std::string_view::npos && close - open < SHORT_GROUP;
}

// The last space at or before `room` and after `start` to cut at, a short group kept whole
// where the line has another space; none when the line has no space there.
size_t CutPoint(std::string_view line, size_t start, size_t room) {
    const size_t last = line.rfind(' ', room);
    if (last == std::string_view::npos || last <= start) return std::string_view::npos;
    for (size_t at = last; at != std::string_view::npos && at > start; at = line.rfind(' ', at - 1)) {
        if (!InShortGroup(line, at)) return at;
    }
    return last;
}

void WrapLine(std::string_view line, size_t width, std::string& out) {
    const size_t indent = ContinuationIndent(line);
    std::string_view rest = line;
    bool first = true;
    while (true) {
        const size_t room = first ? width : width - std::min(width - 1, indent);
        if (rest.size() <= room) break;
        const size_t start = first ? rest.find_first_not_of(' ') : 0;
        size_t cut = CutPoint(rest, start, room);
        // No space to cut at before the edge (or only the indentation): cut at the next one.
        if (cut == std::string_view::npos) cut = rest.find(' ', room);
        if (cut == std::string_view::npos) break;
        out.append(rest.substr(0, cut));
        out.push_back('\n');
        rest.remove_prefix(cut);
        rest.remove_prefix(std::min(rest.size(), rest.find_first_not_of(' ')));
        out.append(std::min(width - 1, indent), ' ');
        first = false;
    }
    out.append(rest);
}

// A command cut for a POSIX shell ends each cut line with " \"; cmd and PowerShell share no
// continuation mark, so on Windows an example stays whole and the console wraps it.
#ifdef _WIN32
constexpr bool CUT_COMMANDS = false;
#else
constexpr bool CUT_COMMANDS = true;
#endif

// An example command line, which a person copies whole into a shell.
bool IsCommandLine(std::string_view line) {
    const size_t indent = line.find_first_not_of(' ');
    return indent != std::string_view::npos && line.substr(indent).starts_with("dashcfg ");
}

// The command's arguments, split at the spaces outside double quotes (quotes kept).
std::vector<std::string_view> ShellWords(std::string_view command) {
    std::vector<std::string_view> words;
    size_t start = 0;
    bool quoted = false;
    for (size_t i = 0; i <= command.size(); ++i) {
        if (i < command.size() && command[i] == '"') quoted = !quoted;
        if (i == command.size() || (command[i] == ' ' && !quoted)) {
            if (i > start) words.push_back(command.substr(start, i - start));
            start = i + 1;
        }
    }
    return words;
}

// Wraps a command line so that a shell still reads it as one: the cuts fall between arguments,
// each cut line ends with " \", and the continuations are indented four more spaces.
void WrapCommandLine(std::string_view line, size_t width, std::string& out) {
    const size_t indent = line.find_first_not_of(' ');
    std::string current(indent, ' ');
    bool empty = true;  // nothing but indentation in `current` yet
    for (const std::string_view word : ShellWords(line.substr(indent))) {
        if (!empty && current.size() + 1 + word.size() + 2 > width) {
            out.append(current).append(" \\\n");
            current.assign(indent + 4, ' ');
            empty = true;
        }
        if (!empty) current.push_back(' ');
        current.append(word);
        empty = false;
    }
    out.append(current);
}

}  // namespace

std::optional<std::string> NearestName(std::string_view given, const std::vector<std::string>& candidates) {
    const std::string wanted = Lowered(given);
    if (wanted.empty()) return std::nullopt;
    std::optional<std::string> best;
    size_t bestScore = 0;
    for (const std::string& candidate : candidates) {
        const std::string name = Lowered(candidate);
        size_t score = EditDistance(wanted, name);
        const size_t limit = std::max<size_t>(2, std::min(wanted.size(), name.size()) / 4);
        // A name that the given text begins (parking_timer for parking_timer_hours) is near too.
        const bool part = wanted.size() >= 3 && (name.starts_with(wanted) || name.ends_with(wanted) ||
                                                 wanted.starts_with(name));
        if (score > limit && !part) continue;
        if (part) score = 1;  // a shortened name is the likeliest
        if (!best || score < bestScore) {
            best = candidate;
            bestScore = score;
        }
    }
    return best;
}

std::string DidYouMean(std::string_view given, const std::vector<std::string>& candidates) {
    const std::optional<std::string> nearest = NearestName(given, candidates);
    return nearest ? " (did you mean " + *nearest + "?)" : std::string();
}

std::string WrapHelp(std::string_view text, size_t width) {
    width = std::max<size_t>(width, 40);
    std::string out;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        if (line.size() <= width) {
            out.append(line);
        } else if (IsCommandLine(line)) {
            if (CUT_COMMANDS) {
                WrapCommandLine(line, width, out);
            } else {
                out.append(line);
            }
        } else {
            WrapLine(line, width, out);
        }
        if (end == std::string_view::npos) break;
        out.push_back('\n');
        text.remove_prefix(end + 1);
    }
    return out;
}
