#include "platform/MessageBox.h"

#include <utility>

namespace platform {
namespace {

MessageBoxHandler& CurrentHandler() {
    static MessageBoxHandler handler;  // empty: the system message box
    return handler;
}

}  // namespace

void ShowMessage(std::wstring_view text, std::wstring_view caption) {
    if (const MessageBoxHandler& handler = CurrentHandler()) {
        handler(text, caption);
    } else {
        SystemShowMessage(text, caption);
    }
}

ScopedMessageBoxHandler::ScopedMessageBoxHandler(MessageBoxHandler handler)
    : m_previous(std::exchange(CurrentHandler(), std::move(handler))) {}

ScopedMessageBoxHandler::~ScopedMessageBoxHandler() { CurrentHandler() = std::move(m_previous); }

}  // namespace platform
