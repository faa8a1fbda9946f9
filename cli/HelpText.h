#pragma once
// Texts that help a person at the terminal: the nearest of a list of valid names to a mistyped
// one, and help texts wrapped to the terminal's width.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The candidate nearest to `given`: one it starts or ends with, or one a few edits away. None
// when nothing is near enough to be a likely typo.
std::optional<std::string> NearestName(std::string_view given, const std::vector<std::string>& candidates);

// " (did you mean NAME?)" for the nearest candidate, or nothing.
std::string DidYouMean(std::string_view given, const std::vector<std::string>& candidates);

// Wraps the lines longer than `width` at spaces, keeping a value with a short group that
// follows it, as in "6 (12.2 V)", where the line can be cut elsewhere. A continuation starts
// under the text column of its line: after "name: " when the line's first word ends with a
// colon, after the first run of two or more spaces that follows the line's first word (an
// option's description), or under the line's own indentation. An example command
// ("dashcfg ...") is cut only between its arguments, each cut marked with a shell's " " so
// that the lines still paste as one command; on Windows, whose shells share no such mark, it
// stays whole.
std::string WrapHelp(std::string_view text, size_t width);
