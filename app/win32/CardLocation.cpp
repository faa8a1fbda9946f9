#include "app/win32/CardLocation.h"

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include "app/CommandLine.h"
#include "platform/DebugOutput.h"

namespace cardlocation {
namespace {

std::wstring ProgramPath() {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return {};  // a cut path names no file
    return std::wstring(path, length);
}

// The text up to and including the first backslash (a drive root such as E:\).
std::wstring UpToFirstBackslash(const std::wstring& path) {
    const size_t slash = path.find(L'\\');
    return slash == std::wstring::npos ? path : path.substr(0, slash + 1);
}

}  // namespace

std::wstring GetProgramFolder() {
    const std::wstring path = ProgramPath();
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

std::wstring CopySelfToAppData() {
    const std::wstring folder = CopyFolder();
    const std::wstring source = ProgramPath();
    const size_t slash = source.rfind(L'\\');
    if (folder.empty() || slash == std::wstring::npos) return {};
    CreateDirectoryW(folder.c_str(), nullptr);  // it may exist already
    const std::wstring destination = folder + source.substr(slash);
    if (!CopyFileW(source.c_str(), destination.c_str(), FALSE)) return {};
    return destination;
}

bool LaunchCopy(const std::wstring& copyPath, const std::wstring& programFolder) {
    if (copyPath.empty()) return false;
    const std::wstring workingFolder = UpToFirstBackslash(copyPath);
    const std::wstring argument = QuoteArgument(programFolder);
    platform::DebugOutput(copyPath);
    platform::DebugOutput(argument);
    platform::DebugOutput(workingFolder);
    ShellExecuteW(nullptr, L"open", copyPath.c_str(), argument.c_str(), workingFolder.c_str(), SW_SHOW);
    return true;
}

}  // namespace cardlocation
