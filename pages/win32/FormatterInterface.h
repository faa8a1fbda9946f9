#pragma once
// The platform's file-system formatter: FormatEx in fmifs.dll, loaded by name at run time from the
// system folder.
//
// FormatEx(drive root, media type, file-system name, volume label, quick-format flag, cluster
// size in bytes (0 = the formatter's default), callback) returns when the format has ended. While
// it works it calls the callback on the calling thread with a command code and an argument; a
// callback that returns FALSE asks it to stop. Command FORMAT_COMMAND_DONE carries a pointer to a
// one-byte flag that is 1 on success; FORMAT_COMMAND_STRUCTURE_PROGRESS marks one step of laying
// out the file system. Every other command may be ignored.

#include <windows.h>

using FormatExCallback = BOOLEAN(WINAPI*)(int command, DWORD subAction, PVOID argument);
using FormatExFunction = void(WINAPI*)(PWCHAR driveRoot, DWORD mediaType, PWCHAR fileSystem, PWCHAR label,
                                       BOOL quickFormat, DWORD clusterSize, FormatExCallback callback);

inline constexpr wchar_t FORMATTER_LIBRARY[] = L"fmifs.dll";
inline constexpr char FORMATTER_ENTRY_POINT[] = "FormatEx";

constexpr int FORMAT_COMMAND_DONE = 11;
constexpr int FORMAT_COMMAND_STRUCTURE_PROGRESS = 15;

// The media type for a removable card.
constexpr DWORD FORMAT_MEDIA_REMOVABLE = 11;
