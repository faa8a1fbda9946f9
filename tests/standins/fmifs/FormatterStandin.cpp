// A stand-in for the platform's file-system formatter, for tests only: a DLL named fmifs.dll
// whose FormatEx keeps the platform's call and callback contract. It "formats" by emptying the
// drive root it is given, reports a number of structure steps and then "done", and writes down
// the arguments it received.
//
// The process that loads it sets it up through environment variables:
//   DCS_FMIFS_STEPS     structure-progress steps before "done" (default 4)
//   DCS_FMIFS_RESULT    "failure" makes "done" report a failed format (default: success)
//   DCS_FMIFS_PAUSE_MS  a pause after the steps, before "done", so a test can look (default 0)
//   DCS_FMIFS_LOG       the file the arguments go to (default fmifs-calls.txt beside the DLL)
//   DCS_FMIFS_ERASE     "0": the drive is left as it is (a formatter that fails before writing)
//   DCS_FMIFS_LOCK      a file that, after the erase, is opened (made when missing) and held,
//                       shared for reading only, until the process ends: writing it fails
//   DCS_FMIFS_LOADS     a file to which every copy of this DLL that is loaded appends its path
//   DCS_FMIFS_REFUSE_LOAD  "1": the DLL refuses to load, as if there were no formatter
//
// It only ever empties the root of a removable drive given as "X:\": never a fixed drive, and
// never Wine's Z:\, which is the host's root folder.

#include <windows.h>

#include <cwchar>
#include <iterator>
#include <string>

#include "pages/win32/FormatterInterface.h"

namespace {

HMODULE s_hModule = nullptr;

std::wstring Environment(const wchar_t* name) {
    wchar_t value[1024] = {};
    const DWORD length = GetEnvironmentVariableW(name, value, static_cast<DWORD>(std::size(value)));
    return length > 0 && length < std::size(value) ? std::wstring(value, length) : std::wstring();
}

int EnvironmentNumber(const wchar_t* name, int fallback) {
    const std::wstring text = Environment(name);
    return text.empty() ? fallback : static_cast<int>(std::wcstol(text.c_str(), nullptr, 10));
}

std::wstring ModulePath() {
    wchar_t module[MAX_PATH] = {};
    GetModuleFileNameW(s_hModule, module, MAX_PATH);
    return module;
}

std::wstring LogPath() {
    std::wstring path = Environment(L"DCS_FMIFS_LOG");
    if (!path.empty()) return path;
    path = ModulePath();
    return path.substr(0, path.rfind(L'\\') + 1) + L"fmifs-calls.txt";
}

std::string Utf8(const std::wstring& text) {
    if (text.empty()) return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size, nullptr, nullptr);
    return bytes;
}

// Writes the text to the file, replacing it or appending to it.
void WriteText(const std::wstring& path, const std::wstring& text, bool bAppend) {
    HANDLE file = CreateFileW(path.c_str(), bAppend ? FILE_APPEND_DATA : GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                              bAppend ? OPEN_ALWAYS : CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    const std::string bytes = Utf8(text);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

void WriteLog(const std::wstring& text) { WriteText(LogPath(), text, false); }

std::wstring Text(const wchar_t* text) { return text ? std::wstring(text) : std::wstring(L"(null)"); }

bool IsRemovableDriveRoot(const wchar_t* root) {
    if (!root || std::wcslen(root) != 3 || root[1] != L':' || root[2] != L'\\') return false;
    const wchar_t letter = root[0];
    if (!((letter >= L'A' && letter <= L'Z') || (letter >= L'a' && letter <= L'z'))) return false;
    return GetDriveTypeW(root) == DRIVE_REMOVABLE;
}

// Deletes everything below a folder given with its trailing backslash.
void EmptyFolder(const std::wstring& folder) {
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW((folder + L"*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        const std::wstring name = entry.cFileName;
        if (name == L"." || name == L"..") continue;
        const std::wstring path = folder + name;
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            // A linked folder goes as a link; its target is not ours to empty.
            if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) EmptyFolder(path + L"\\");
            RemoveDirectoryW(path.c_str());
        } else {
            DeleteFileW(path.c_str());
        }
    } while (FindNextFileW(find, &entry));
    FindClose(find);
}

}  // namespace

extern "C" __declspec(dllexport) void WINAPI FormatEx(PWCHAR driveRoot, DWORD mediaType, PWCHAR fileSystem,
                                                      PWCHAR label, BOOL quickFormat, DWORD clusterSize,
                                                      FormatExCallback callback) {
    const bool bAllowed = IsRemovableDriveRoot(driveRoot);
    WriteLog(L"drive=" + Text(driveRoot) + L"\nmedia=" + std::to_wstring(mediaType) + L"\nfilesystem=" +
             Text(fileSystem) + L"\nlabel=" + Text(label) + L"\nquick=" + std::to_wstring(quickFormat) +
             L"\ncluster=" + std::to_wstring(clusterSize) + L"\nerased=" + (bAllowed ? L"1" : L"0") + L"\nmodule=" +
             ModulePath() + L"\n");
    if (bAllowed && Environment(L"DCS_FMIFS_ERASE") != L"0") EmptyFolder(driveRoot);
    const std::wstring locked = Environment(L"DCS_FMIFS_LOCK");
    if (!locked.empty()) {
        // Deliberately never closed: the process holds the file until it ends.
        CreateFileW(locked.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                    FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    if (!callback) return;

    const int steps = EnvironmentNumber(L"DCS_FMIFS_STEPS", 4);
    for (int step = 0; step < steps; ++step) {
        if (!callback(FORMAT_COMMAND_STRUCTURE_PROGRESS, 0, nullptr)) return;
        // A plain percentage report, as the real formatter sends between its steps.
        DWORD percent = static_cast<DWORD>((step + 1) * 100 / (steps + 1));
        if (!callback(0, 0, &percent)) return;
    }
    Sleep(static_cast<DWORD>(EnvironmentNumber(L"DCS_FMIFS_PAUSE_MS", 0)));
    BOOLEAN succeeded = bAllowed && Environment(L"DCS_FMIFS_RESULT") != L"failure" ? 1 : 0;
    callback(FORMAT_COMMAND_DONE, 0, &succeeded);
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    s_hModule = instance;
    const std::wstring loads = Environment(L"DCS_FMIFS_LOADS");
    if (!loads.empty()) WriteText(loads, ModulePath() + L"\n", true);
    return Environment(L"DCS_FMIFS_REFUSE_LOAD") != L"1";
}
