#include "app/win32/CardLocation.h"

#include <algorithm>

#include <shellapi.h>
#include <shlobj.h>

#include "app/CommandLine.h"
#include "platform/DebugOutput.h"
#include "window/ComOnDemand.h"
#include "window/ProgramPath.h"

namespace cardlocation {
namespace {

// A program file larger than this is not ours.
constexpr LONGLONG LARGEST_PROGRAM = 256LL * 1024 * 1024;

// The text up to and including the first backslash (a drive root such as E:\).
std::wstring UpToFirstBackslash(const std::wstring& path) {
    const size_t slash = path.find(L'\\');
    return slash == std::wstring::npos ? path : path.substr(0, slash + 1);
}

// The whole file behind an open handle, from its start; false when it cannot be read whole.
bool ReadWhole(HANDLE file, std::vector<uint8_t>& bytes) {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size) || size.QuadPart > LARGEST_PROGRAM) return false;
    if (SetFilePointer(file, 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER) return false;
    bytes.resize(static_cast<size_t>(size.QuadPart));
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD read = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1 << 20));
        if (!ReadFile(file, bytes.data() + done, chunk, &read, nullptr) || read == 0) return false;
        done += read;
    }
    // Nothing may follow what the size promised.
    uint8_t extra = 0;
    DWORD read = 0;
    return ReadFile(file, &extra, 1, &read, nullptr) && read == 0;
}

bool WriteWhole(HANDLE file, const std::vector<uint8_t>& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1 << 20));
        if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0) return false;
        done += written;
    }
    return FlushFileBuffers(file) != FALSE;
}

}  // namespace

std::wstring GetProgramFolder() {
    const std::wstring path = win32::ProgramFilePath();
    const size_t slash = path.rfind(L'\\');
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

bool IsRunFromRemovableDrive(const std::wstring& programFolder) {
    if (programFolder.empty()) return false;
    return GetDriveTypeW(UpToFirstBackslash(programFolder).c_str()) == DRIVE_REMOVABLE;
}

std::wstring CopyFolder() {
    wchar_t appData[MAX_PATH] = {};
    if (!SHGetSpecialFolderPathW(nullptr, appData, CSIDL_LOCAL_APPDATA, FALSE)) return {};
    return std::wstring(appData) + L"\\Morvanscope";
}

CHeldCopy WriteHeldCopy(const std::vector<uint8_t>& program, const std::wstring& destination,
                        const std::function<void()>& afterWrite) {
    {
        win32::UniqueFileHandle writer(CreateFileW(destination.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                                   CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!writer || !WriteWhole(writer.Get(), program)) {
            platform::DebugPrintf(L"Relaunch: cannot write the copy [%ls] (error %lu)\n", destination.c_str(),
                                  GetLastError());
            return {};
        }
    }
    // The platform starts a program only from a file that nobody may write to, and a write
    // handle of ours would count as one: the writer is closed and the copy opened again at once,
    // for reading, shared for reading only. What happened in between is caught below: the copy
    // is read back through the held handle, and nobody can change it any more.
    if (afterWrite) afterWrite();
    win32::UniqueFileHandle hold(CreateFileW(destination.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                             FILE_ATTRIBUTE_NORMAL, nullptr));
    std::vector<uint8_t> held;
    if (!hold || !ReadWhole(hold.Get(), held)) {
        platform::DebugPrintf(L"Relaunch: cannot hold the copy [%ls] (error %lu)\n", destination.c_str(), GetLastError());
        return {};
    }
    if (held != program) {
        platform::DebugPrintf(L"Relaunch: the copy [%ls] differs from the program\n", destination.c_str());
        return {};
    }
    return CHeldCopy(destination, std::move(hold));
}

CHeldCopy CopySelfToAppData() {
    const std::wstring folder = CopyFolder();
    const std::wstring source = win32::ProgramFilePath();
    const size_t slash = source.rfind(L'\\');
    if (folder.empty() || slash == std::wstring::npos) return {};
    // The running program's own bytes: the copy must hold exactly these.
    std::vector<uint8_t> program;
    {
        win32::UniqueFileHandle file(CreateFileW(source.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                                                 nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file || !ReadWhole(file.Get(), program)) return {};
    }
    CreateDirectoryW(folder.c_str(), nullptr);  // it may exist already
    return WriteHeldCopy(program, folder + source.substr(slash));
}

bool LaunchCopy(CHeldCopy& copy, const std::wstring& programFolder, const OpenWithShell& open) {
    if (!copy.IsReady()) return false;
    const std::wstring workingFolder = UpToFirstBackslash(copy.Path());
    const std::wstring argument = QuoteArgument(programFolder);
    platform::DebugOutput(copy.Path());
    platform::DebugOutput(argument);
    platform::DebugOutput(workingFolder);
    // ShellExecuteW returns once the new process exists (or could not be made); only then is
    // the copy let go. Only this path starts COM: a start from the PC copy never loads it.
    {
        win32::CComScope com;
        if (open) {
            open(copy.Path(), argument, workingFolder);
        } else {
            ShellExecuteW(nullptr, L"open", copy.Path().c_str(), argument.c_str(), workingFolder.c_str(), SW_SHOW);
        }
    }
    copy.Release();
    return true;
}

}  // namespace cardlocation
