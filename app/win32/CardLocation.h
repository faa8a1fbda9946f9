#pragma once
// Where the program runs from, and its relaunch from the PC. The program never works on the
// card while running from it: started from a removable drive, it copies itself into the local
// application-data folder and starts the copy with the card folder as its only argument.
//
// The copy is started elevated from a folder that every program of the user can write to, so
// it is held open against writing and deletion from the moment it is written until the new
// process has started, and started only when it holds exactly the running program's bytes.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "window/Handles.h"

namespace cardlocation {

// The folder of the running program file, with its trailing backslash.
std::wstring GetProgramFolder();

// True when the drive of the folder (up to its first backslash) is a removable drive.
bool IsRunFromRemovableDrive(const std::wstring& programFolder);

// The copy's folder: the local application-data folder + "\Morvanscope".
std::wstring CopyFolder();

// A copy of the program, open for reading and shared for reading only, so that no other
// program can change, replace or delete it while it is held.
class CHeldCopy {
public:
    CHeldCopy() = default;
    CHeldCopy(std::wstring path, win32::UniqueFileHandle hold) : m_strPath(std::move(path)), m_hHold(std::move(hold)) {}

    // True when the copy is held and proven to hold the program's bytes.
    bool IsReady() const { return m_hHold.IsValid(); }
    const std::wstring& Path() const { return m_strPath; }
    // Lets go of the copy (once the new process has started from it).
    void Release() { m_hHold.Reset(); }

private:
    std::wstring m_strPath;
    win32::UniqueFileHandle m_hHold;
};

// Writes `program` to `destination` (replacing an older file), then holds it and reads it back
// through the held handle. Not ready when it could not be written, held or read, or when it does
// not hold exactly `program`. `afterWrite` runs between the write and the hold (tests: another
// program that changes the copy in between).
CHeldCopy WriteHeldCopy(const std::vector<uint8_t>& program, const std::wstring& destination,
                        const std::function<void()>& afterWrite = {});

// Copies the running program into CopyFolder() (replacing an older copy), keeping its file name.
CHeldCopy CopySelfToAppData();

// What starts the copy: ShellExecuteW's "open" of file with its parameters and working folder
// (tests stand in for it).
using OpenWithShell = std::function<void(const std::wstring& file, const std::wstring& parameters,
                                         const std::wstring& workingFolder)>;

// Starts the held copy with the program folder as its argument, quoted so that a folder with
// spaces and its trailing backslash arrive unchanged, and then lets go of the copy. COM is
// started on this thread for the call (the shell may run extensions inside it) and ended after.
// False only for a copy that is not ready (nothing is started).
bool LaunchCopy(CHeldCopy& copy, const std::wstring& programFolder, const OpenWithShell& open = {});

}  // namespace cardlocation
