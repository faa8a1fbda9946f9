#pragma once
// Answers the modal windows (skinned pop-ups and system message boxes) that the code under test
// shows on this thread: a thread timer, dispatched by the modal loop itself, finds each new
// visible dialog window, records what it showed and clicks the next button of the list.

#include <windows.h>

#include <set>
#include <string>
#include <vector>

namespace testsupport {

struct ShownModal {
    std::wstring title;
    std::wstring text;  // the pop-up's message, or the message box's text
    int width;
    int height;
};

class ModalAnswerer {
public:
    // One button id per modal window expected, in the order they appear.
    explicit ModalAnswerer(std::vector<int> answers) : m_answers(std::move(answers)) {
        s_active = this;
        m_timer = SetTimer(nullptr, 0, 30, &ModalAnswerer::OnTimer);
    }
    ~ModalAnswerer() {
        KillTimer(nullptr, m_timer);
        s_active = nullptr;
    }
    ModalAnswerer(const ModalAnswerer&) = delete;
    ModalAnswerer& operator=(const ModalAnswerer&) = delete;

    const std::vector<ShownModal>& Shown() const { return m_shown; }

    // The message control of the skinned yes/no pop-up and of a system message box.
    static constexpr int POPUP_MESSAGE_ID = 1501;
    static constexpr int MESSAGE_BOX_TEXT_ID = 0xFFFF;

private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD) {
        if (s_active) s_active->AnswerNewDialogs();
    }

    static BOOL CALLBACK CollectDialog(HWND window, LPARAM list) {
        wchar_t className[16] = {};
        GetClassNameW(window, className, 16);
        if (IsWindowVisible(window) && std::wstring(className) == L"#32770") {
            reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
        }
        return TRUE;
    }

    static std::wstring TextOf(HWND window) {
        wchar_t text[1024] = {};
        GetWindowTextW(window, text, 1024);
        return text;
    }

    // The listed answer; a window beyond the list is recorded and sent away with its
    // cancelling button, so that an unexpected one fails the test instead of hanging it.
    HWND ButtonFor(HWND dialog, size_t index) const {
        if (index < m_answers.size()) return GetDlgItem(dialog, m_answers[index]);
        for (int id : {IDCANCEL, IDNO, IDOK}) {
            if (HWND button = GetDlgItem(dialog, id)) return button;
        }
        return nullptr;
    }

    void AnswerNewDialogs() {
        std::vector<HWND> dialogs;
        EnumThreadWindows(GetCurrentThreadId(), &ModalAnswerer::CollectDialog, reinterpret_cast<LPARAM>(&dialogs));
        for (HWND dialog : dialogs) {
            if (m_answered.count(dialog)) continue;
            m_answered.insert(dialog);
            RECT rect{};
            GetWindowRect(dialog, &rect);
            HWND message = GetDlgItem(dialog, POPUP_MESSAGE_ID);
            if (!message) message = GetDlgItem(dialog, MESSAGE_BOX_TEXT_ID);
            m_shown.push_back({TextOf(dialog), message ? TextOf(message) : L"", rect.right - rect.left,
                               rect.bottom - rect.top});
            PostMessageW(ButtonFor(dialog, m_shown.size() - 1), BM_CLICK, 0, 0);
        }
    }

    inline static ModalAnswerer* s_active = nullptr;
    std::vector<int> m_answers;
    std::vector<ShownModal> m_shown;
    std::set<HWND> m_answered;
    UINT_PTR m_timer = 0;
};

}  // namespace testsupport
