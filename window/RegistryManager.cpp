#include "window/RegistryManager.h"

#include <cwchar>

std::wstring g_strRegLanguage;

LSTATUS CRegistryManager::OpenKey(HKEY hive, const wchar_t* pszSubKey, DWORD dwOptions, REGSAM samDesired,
                                  win32::UniqueRegKey& key) {
    HKEY opened = nullptr;
    const LSTATUS status = RegOpenKeyExW(hive, pszSubKey, dwOptions, samDesired, &opened);
    key.Reset(status == ERROR_SUCCESS ? opened : nullptr);
    return status;
}

LSTATUS CRegistryManager::EnumSubKeys(HKEY key, std::vector<std::wstring>& arrNames) {
    wchar_t szClass[260] = {};
    DWORD cchClass = 260;
    DWORD nSubKeys = 0;
    if (RegQueryInfoKeyW(key, szClass, &cchClass, nullptr, &nSubKeys, nullptr, nullptr, nullptr, nullptr, nullptr,
                         nullptr, nullptr) != ERROR_SUCCESS) {
        return 0;
    }
    for (DWORD i = 0; i < nSubKeys; ++i) {
        wchar_t szName[255];
        DWORD cchName = 255;
        if (RegEnumKeyExW(key, i, szName, &cchName, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS) {
            arrNames.emplace_back(szName, cchName);
        }
    }
    return 0;
}

LSTATUS CRegistryManager::EnumValueNames(HKEY key, std::vector<std::wstring>& arrNames) {
    DWORD nValues = 0;
    if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &nValues, nullptr, nullptr,
                         nullptr, nullptr) != ERROR_SUCCESS) {
        return 0;
    }
    std::wstring name;
    for (DWORD i = 0; i < nValues; ++i) {
        name.assign(16383, L'\0');
        DWORD cchName = 16383;
        if (RegEnumValueW(key, i, name.data(), &cchName, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS) {
            arrNames.emplace_back(name.data(), cchName);
        }
    }
    return 0;
}

LSTATUS CRegistryManager::QueryValue(HKEY key, const wchar_t* pszValueName, DWORD* pdwReserved, DWORD* pdwType,
                                     BYTE* pData, DWORD* pcbData) {
    return RegQueryValueExW(key, pszValueName, pdwReserved, pdwType, pData, pcbData);
}

bool CRegistryManager::ReadStringValue(HKEY hive, const wchar_t* pszSubKey, const wchar_t* pszValueName,
                                       wchar_t* pBuffer, DWORD cbBuffer) {
    // Opened, not created: the program keeps nothing in the registry, so a missing key stays
    // missing.
    win32::UniqueRegKey key;
    if (OpenKey(hive, pszSubKey, 0, KEY_READ, key) != ERROR_SUCCESS) return false;
    DWORD cbData = cbBuffer;
    return QueryValue(key.Get(), pszValueName, nullptr, nullptr, reinterpret_cast<BYTE*>(pBuffer), &cbData) ==
           ERROR_SUCCESS;
}

bool ReadRegLanguage(HKEY hive, const wchar_t* pszSubKey) {
    // 260 characters of zeros of which only the first 260 bytes are offered: a value of up to
    // 129 characters and its terminator fits, and whatever is read, zeros follow it.
    wchar_t szLanguage[260] = {};
    CRegistryManager registry;
    const bool bRead = registry.ReadStringValue(hive, pszSubKey, VIEWER_LANGUAGE_VALUE, szLanguage, 260);
    g_strRegLanguage = bRead ? std::wstring(szLanguage, wcsnlen(szLanguage, 260)) : std::wstring();
    return bRead;
}
