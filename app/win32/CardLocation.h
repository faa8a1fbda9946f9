#pragma once
// Where the program runs from, and its relaunch from the PC. The program never works on the
// card while running from it: started from a removable drive, it copies itself into the local
// application-data folder and starts the copy with the card folder as its only argument.

#include <string>

namespace cardlocation {

// The folder of the running program file, with its trailing backslash.
std::wstring GetProgramFolder();

// True when the drive of the folder (up to its first backslash) is a removable drive.
bool IsRunFromRemovableDrive(const std::wstring& programFolder);

// The copy's folder: the local application-data folder + "\Morvanscope".
std::wstring CopyFolder();

// Copies the program file into CopyFolder() (replacing an older copy); the copy's full path,
// or empty when it could not be made.
std::wstring CopySelfToAppData();

// Starts the copy with the program folder as its argument, quoted so that a folder with
// spaces and its trailing backslash arrive unchanged. False only for an empty copy path.
bool LaunchCopy(const std::wstring& copyPath, const std::wstring& programFolder);

}  // namespace cardlocation
