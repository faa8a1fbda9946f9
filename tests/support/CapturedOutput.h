#pragma once
// Records the debugger lines and message boxes that the code under test produces, for as long
// as the object lives.

#include <string>
#include <vector>

#include "platform/DebugOutput.h"
#include "platform/MessageBox.h"

namespace testsupport {

class CapturedDebugOutput {
public:
    CapturedDebugOutput()
        : m_sink([this](std::wstring_view line) { m_lines.emplace_back(line); }) {}

    const std::vector<std::wstring>& Lines() const { return m_lines; }
    std::wstring All() const {
        std::wstring all;
        for (const std::wstring& line : m_lines) all += line;
        return all;
    }

private:
    std::vector<std::wstring> m_lines;
    platform::ScopedDebugSink m_sink;
};

struct ShownMessage {
    std::wstring text;
    std::wstring caption;
};

class CapturedMessageBoxes {
public:
    CapturedMessageBoxes()
        : m_handler([this](std::wstring_view text, std::wstring_view caption) {
              m_shown.push_back({std::wstring(text), std::wstring(caption)});
          }) {}

    const std::vector<ShownMessage>& Shown() const { return m_shown; }

private:
    std::vector<ShownMessage> m_shown;
    platform::ScopedMessageBoxHandler m_handler;
};

}  // namespace testsupport
