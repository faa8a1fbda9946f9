#pragma once
// A thin, stateless wrapper over the registry functions. The program only reads the registry:
// the viewer's language value at start-up and the system's time zone keys.

#include <windows.h>

#include <string>
#include <vector>

#include "window/Handles.h"

class CRegistryManager {
public:
    CRegistryManager() = default;
    virtual ~CRegistryManager() = default;

    // RegOpenKeyExW; on success `key` owns the opened key. Returns the call's status.
    LSTATUS OpenKey(HKEY hive, const wchar_t* pszSubKey, DWORD dwOptions, REGSAM samDesired, win32::UniqueRegKey& key);

    // Appends the name of every sub-key, in enumeration order; entries that cannot be read
    // are skipped. Always returns 0.
    LSTATUS EnumSubKeys(HKEY key, std::vector<std::wstring>& arrNames);

    // Appends the name of every value, in enumeration order; entries that cannot be read are
    // skipped. Always returns 0.
    LSTATUS EnumValueNames(HKEY key, std::vector<std::wstring>& arrNames);

    // RegQueryValueExW, passed through.
    LSTATUS QueryValue(HKEY key, const wchar_t* pszValueName, DWORD* pdwReserved, DWORD* pdwType, BYTE* pData,
                       DWORD* pcbData);

    // Opens the key for reading (never creating it) and reads one value into the buffer of
    // cbBuffer bytes. True only when the value was read whole; the buffer is not to be used
    // otherwise. A value's text is not terminated unless the stored value is.
    bool ReadStringValue(HKEY hive, const wchar_t* pszSubKey, const wchar_t* pszValueName, wchar_t* pBuffer,
                         DWORD cbBuffer);
};

// Where the maker's PC viewer records its interface language.
inline constexpr wchar_t VIEWER_REGISTRY_KEY[] = L"SOFTWARE\\ZENTROVIA\\";
inline constexpr wchar_t VIEWER_LANGUAGE_VALUE[] = L"LANGUAGE";

// The viewer's language as read at start-up; empty when it could not be read.
extern std::wstring g_strRegLanguage;

// Reads the viewer's LANGUAGE value (at most 129 characters) into g_strRegLanguage, or empties
// it. The hive and key are the viewer's unless a test gives others.
bool ReadRegLanguage(HKEY hive = HKEY_LOCAL_MACHINE, const wchar_t* pszSubKey = VIEWER_REGISTRY_KEY);
