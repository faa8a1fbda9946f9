#include "tests/e2e/ProgramDriver.h"

#include <commctrl.h>

#include "tests/support/Waiting.h"
#include "tests/win32/GoldenImage.h"
#include "window/Handles.h"

namespace e2e {
namespace {

// The main settings window is a dialog with the application-window style.
bool IsMainWindow(HWND window) {
    wchar_t className[32] = {};
    GetClassNameW(window, className, 32);
    const LONG_PTR exStyle = GetWindowLongPtrW(window, GWL_EXSTYLE);
    return std::wstring(className) == L"#32770" && (exStyle & WS_EX_APPWINDOW) && IsWindowVisible(window);
}

BOOL CALLBACK FindMain(HWND window, LPARAM found) {
    if (!IsMainWindow(window)) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

struct ControlSearch {
    int id;
    HWND found;
};

BOOL CALLBACK FindById(HWND window, LPARAM search) {
    auto* wanted = reinterpret_cast<ControlSearch*>(search);
    if (GetDlgCtrlID(window) != wanted->id) return TRUE;
    wanted->found = window;
    return FALSE;
}

}  // namespace

std::filesystem::path ProgramPath() {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    return std::filesystem::path(self).parent_path().parent_path() / L"DashCamSetting.exe";
}

ProgramRun::~ProgramRun() {
    if (m_process) {
        if (WaitForSingleObject(m_process, 0) == WAIT_TIMEOUT) TerminateProcess(m_process, 1);
        CloseHandle(m_process);
    }
}

bool ProgramRun::Start(const std::filesystem::path& program, const std::wstring& arguments) {
    std::wstring commandLine = L"\"" + program.wstring() + L"\"";
    if (!arguments.empty()) commandLine += L" " + arguments;
    STARTUPINFOW startup{sizeof(startup)};
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        return false;
    }
    CloseHandle(process.hThread);
    m_process = process.hProcess;
    m_processId = process.dwProcessId;
    return true;
}

HWND ProgramRun::WaitForMainWindow(DWORD timeoutMs) const {
    HWND window = nullptr;
    testsupport::WaitUntil([&] { return (window = FindMainWindow()) != nullptr; }, timeoutMs);
    return window;
}

bool ProgramRun::WaitForExit(DWORD timeoutMs) {
    return m_process && WaitForSingleObject(m_process, timeoutMs) == WAIT_OBJECT_0;
}

HWND FindMainWindow() {
    HWND found = nullptr;
    EnumWindows(FindMain, reinterpret_cast<LPARAM>(&found));
    return found;
}

bool WaitForNoMainWindow(DWORD timeoutMs) {
    return testsupport::WaitUntil([] { return FindMainWindow() == nullptr; }, timeoutMs);
}

HWND FindControl(HWND top, int id) {
    ControlSearch search{id, nullptr};
    EnumChildWindows(top, FindById, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void ClickSkinButton(HWND top, int id) {
    HWND button = FindControl(top, id);
    RECT client{};
    GetClientRect(button, &client);
    const LPARAM middle = MAKELPARAM(client.right / 2, client.bottom / 2);
    SendMessageW(button, WM_MOUSEMOVE, 0, middle);
    SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, middle);
    SendMessageW(button, WM_LBUTTONUP, 0, middle);
}

void ClickButton(HWND top, int id) { SendMessageW(FindControl(top, id), BM_CLICK, 0, 0); }

void MoveSlider(HWND top, int id, int position) {
    HWND slider = FindControl(top, id);
    SendMessageW(slider, TBM_SETPOS, TRUE, position);
    SendMessageW(GetParent(slider), WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, position),
                 reinterpret_cast<LPARAM>(slider));
}

void SelectComboItem(HWND top, int id, int index) {
    HWND combo = FindControl(top, id);
    SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageW(GetParent(combo), WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}

bool WaitUntilIdle(HWND window, DWORD timeoutMs) {
    // A sent message is answered only where the program takes messages: in its message loop
    // once the handler at work has returned, or in a modal loop, which disables the window.
    return testsupport::WaitUntil(
        [window] {
            DWORD_PTR answer = 0;
            return IsWindowEnabled(window) &&
                   SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 1000, &answer) != 0 &&
                   IsWindowEnabled(window) && WaitForMessageBox(0) == nullptr;
        },
        timeoutMs);
}

bool PaintNow(HWND window) {
    // Sent to a window of another program, the paint messages are handled before this returns.
    return RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN) != FALSE;
}

skin::CPixelBuffer CaptureWindow(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    skin::CPixelBuffer pixels(rect.right - rect.left, rect.bottom - rect.top);
    win32::WindowDC screen(nullptr);
    win32::UniqueMemoryDC memory(CreateCompatibleDC(screen.Get()));
    win32::UniqueBitmap bitmap(CreateCompatibleBitmap(screen.Get(), pixels.Width(), pixels.Height()));
    {
        win32::ScopedSelect selected(memory.Get(), bitmap.Get());
        BitBlt(memory.Get(), 0, 0, pixels.Width(), pixels.Height(), screen.Get(), rect.left, rect.top, SRCCOPY);
    }
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), pixels.Width(), -pixels.Height(), 1, 32, BI_RGB};
    GetDIBits(memory.Get(), bitmap.Get(), 0, static_cast<UINT>(pixels.Height()), pixels.View().pPixels, &info,
              DIB_RGB_COLORS);
    for (int32_t y = 0; y < pixels.Height(); ++y) {
        for (int32_t x = 0; x < pixels.Width(); ++x) pixels.At(x, y) |= 0xFF000000;
    }
    return pixels;
}

bool SaveScreenshot(HWND window, const std::filesystem::path& file) {
    skin::CPixelBuffer pixels = CaptureWindow(window);
    return testsupport::SavePng(pixels.View(), file);
}

std::filesystem::path ScreenshotFolder() {
    const std::filesystem::path folder = ProgramPath().parent_path() / L"screenshots";
    std::filesystem::create_directories(folder);
    return folder;
}

}  // namespace e2e

namespace e2e {
namespace {

BOOL CALLBACK FindBox(HWND window, LPARAM found) {
    wchar_t className[32] = {};
    GetClassNameW(window, className, 32);
    if (std::wstring(className) != L"#32770" || !IsWindowVisible(window) || IsMainWindow(window)) return TRUE;
    if (GetCurrentProcessId() == [&] { DWORD pid = 0; GetWindowThreadProcessId(window, &pid); return pid; }()) {
        return TRUE;  // the test's own windows do not count
    }
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

BOOL CALLBACK CollectText(HWND child, LPARAM text) {
    wchar_t className[32] = {};
    GetClassNameW(child, className, 32);
    if (std::wstring(className) == L"Static") {
        wchar_t buffer[1024] = {};
        GetWindowTextW(child, buffer, 1024);
        *reinterpret_cast<std::wstring*>(text) += buffer;
    }
    return TRUE;
}

}  // namespace

HWND WaitForMessageBox(DWORD timeoutMs) {
    HWND found = nullptr;
    testsupport::WaitUntil([&] { return EnumWindows(FindBox, reinterpret_cast<LPARAM>(&found)), found != nullptr; },
                           timeoutMs);
    return found;
}

std::wstring MessageBoxText(HWND box) {
    std::wstring text;
    EnumChildWindows(box, CollectText, reinterpret_cast<LPARAM>(&text));
    return text;
}

void DismissMessageBox(HWND box) { AnswerMessageBox(box, IDOK); }

void AnswerMessageBox(HWND box, int button) { PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0); }

}  // namespace e2e
