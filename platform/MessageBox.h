#pragma once
// Informational message boxes that the portable core shows (one OK button).

#include <functional>
#include <string>
#include <string_view>

namespace platform {

using MessageBoxHandler = std::function<void(std::wstring_view text, std::wstring_view caption)>;

// Shows the text with one OK button and waits until the user closes it.
void ShowMessage(std::wstring_view text, std::wstring_view caption);

// Replaces the message box until destroyed; tests record what would have been shown.
class ScopedMessageBoxHandler {
public:
    explicit ScopedMessageBoxHandler(MessageBoxHandler handler);
    ~ScopedMessageBoxHandler();
    ScopedMessageBoxHandler(const ScopedMessageBoxHandler&) = delete;
    ScopedMessageBoxHandler& operator=(const ScopedMessageBoxHandler&) = delete;

private:
    MessageBoxHandler m_previous;
};

// The target's own message box (MessageBoxW on Windows; standard error natively).
void SystemShowMessage(std::wstring_view text, std::wstring_view caption);

}  // namespace platform
