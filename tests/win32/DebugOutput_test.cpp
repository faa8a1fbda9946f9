// Debug lines reach a debug-output viewer (one that listens through the system's shared debug
// buffer), including one that starts while the program runs, and cost nothing without one.

#include <windows.h>

#include <chrono>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "platform/DebugOutput.h"
#include "window/Handles.h"

namespace {

// The listening side of the shared debug buffer, as debug-output viewers implement it.
class DebugViewer {
public:
    DebugViewer()
        : m_buffer(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 4096, L"DBWIN_BUFFER")),
          m_bufferReady(CreateEventW(nullptr, FALSE, TRUE, L"DBWIN_BUFFER_READY")),
          m_dataReady(CreateEventW(nullptr, FALSE, FALSE, L"DBWIN_DATA_READY")) {
        m_view = static_cast<const char*>(MapViewOfFile(m_buffer.Get(), FILE_MAP_READ, 0, 0, 4096));
    }
    ~DebugViewer() {
        if (m_view) UnmapViewOfFile(m_view);
    }
    bool Listening() const { return m_view && m_bufferReady.IsValid() && m_dataReady.IsValid(); }

    // The next line sent, or empty when none comes in time.
    std::string NextLine(DWORD timeoutMs) {
        if (WaitForSingleObject(m_dataReady.Get(), timeoutMs) != WAIT_OBJECT_0) return {};
        std::string line(m_view + sizeof(DWORD), strnlen(m_view + sizeof(DWORD), 4096 - sizeof(DWORD)));
        SetEvent(m_bufferReady.Get());
        return line;
    }

private:
    win32::UniqueHandle m_buffer;
    win32::UniqueHandle m_bufferReady;
    win32::UniqueHandle m_dataReady;
    const char* m_view = nullptr;
};

TEST(DebugOutput, LinesReachAViewerStartedWhileTheProgramRuns) {
    platform::SystemDebugOutput(L"before any viewer\n");  // nobody listens: no cost, no line

    DebugViewer viewer;
    ASSERT_TRUE(viewer.Listening());
    // The program notices a new viewer within a quarter second.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    platform::SystemDebugOutput(L"Read Product:[R7Q2]\n");
    EXPECT_EQ(viewer.NextLine(2000), "Read Product:[R7Q2]\n");
}

}  // namespace
