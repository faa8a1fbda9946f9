// The registry wrapper against real keys that each test writes under its own key and deletes.

#include "window/RegistryManager.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using Names = std::vector<std::wstring>;

constexpr wchar_t TEST_ROOT[] = L"Software\\DashCamSettingTests";

class RegistryManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_keysBefore = win32::LiveCount(win32::ResourceKind::RegistryKey);
        m_path = std::wstring(TEST_ROOT) + L"\\Registry-" + std::to_wstring(GetCurrentProcessId());
        RegDeleteTreeW(HKEY_CURRENT_USER, m_path.c_str());
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, m_path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                                  nullptr),
                  ERROR_SUCCESS);
        m_key.Reset(key);
    }

    void TearDown() override {
        m_key.Reset();
        RegDeleteTreeW(HKEY_CURRENT_USER, m_path.c_str());
        RegDeleteKeyW(HKEY_CURRENT_USER, TEST_ROOT);  // only goes when no other run uses it
        EXPECT_EQ(win32::LiveCount(win32::ResourceKind::RegistryKey), m_keysBefore);
    }

    void SetString(const wchar_t* name, const std::wstring& text) {
        ASSERT_EQ(RegSetValueExW(m_key.Get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                                 static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))),
                  ERROR_SUCCESS);
    }

    void CreateSubKey(const wchar_t* name) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(m_key.Get(), name, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        RegCloseKey(key);
    }

    bool KeyExists(HKEY hive, const std::wstring& path) {
        HKEY key = nullptr;
        if (RegOpenKeyExW(hive, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
        RegCloseKey(key);
        return true;
    }

    int m_keysBefore = 0;
    std::wstring m_path;
    win32::UniqueRegKey m_key;
    CRegistryManager m_registry;
};

TEST_F(RegistryManagerTest, ViewerLanguageOfUpTo129CharactersIsRead) {
    SetString(L"LANGUAGE", L"Korean");
    EXPECT_TRUE(ReadRegLanguage(HKEY_CURRENT_USER, (m_path + L"\\").c_str()));  // the viewer's path ends in '\'
    EXPECT_EQ(g_strRegLanguage, L"Korean");

    const std::wstring longest(129, L'x');
    SetString(L"LANGUAGE", longest);
    EXPECT_TRUE(ReadRegLanguage(HKEY_CURRENT_USER, m_path.c_str()));
    EXPECT_EQ(g_strRegLanguage, longest);

    SetString(L"LANGUAGE", std::wstring(130, L'y'));
    EXPECT_FALSE(ReadRegLanguage(HKEY_CURRENT_USER, m_path.c_str()));
    EXPECT_EQ(g_strRegLanguage, L"");
}

TEST_F(RegistryManagerTest, AMissingValueOrKeyReadsNothingAndCreatesNothing) {
    g_strRegLanguage = L"stale";
    EXPECT_FALSE(ReadRegLanguage(HKEY_CURRENT_USER, m_path.c_str()));
    EXPECT_EQ(g_strRegLanguage, L"");

    const std::wstring missing = m_path + L"\\Missing\\";
    wchar_t buffer[260] = {};
    EXPECT_FALSE(m_registry.ReadStringValue(HKEY_CURRENT_USER, missing.c_str(), L"LANGUAGE", buffer, 260));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, missing));

    // The viewer's own key under HKLM: reading never creates it.
    if (!KeyExists(HKEY_LOCAL_MACHINE, VIEWER_REGISTRY_KEY)) {
        EXPECT_FALSE(ReadRegLanguage());
        EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, VIEWER_REGISTRY_KEY));
    }
}

TEST_F(RegistryManagerTest, EnumeratesSubKeysAndValueNames) {
    Names names;
    EXPECT_EQ(m_registry.EnumSubKeys(m_key.Get(), names), 0);
    EXPECT_TRUE(names.empty());
    EXPECT_EQ(m_registry.EnumValueNames(m_key.Get(), names), 0);
    EXPECT_TRUE(names.empty());

    CreateSubKey(L"Beta");
    CreateSubKey(L"Alpha Zone");
    SetString(L"Std", L"x");
    SetString(L"TZI", L"y");
    EXPECT_EQ(m_registry.EnumSubKeys(m_key.Get(), names), 0);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (Names{L"Alpha Zone", L"Beta"}));

    names = {L"kept"};  // the lists are appended to
    EXPECT_EQ(m_registry.EnumValueNames(m_key.Get(), names), 0);
    std::sort(names.begin() + 1, names.end());
    EXPECT_EQ(names, (Names{L"kept", L"Std", L"TZI"}));
}

TEST_F(RegistryManagerTest, OpenKeyAndQueryValuePassTheStatusThrough) {
    SetString(L"Display", L"(UTC+09:00) Seoul");
    win32::UniqueRegKey key;
    ASSERT_EQ(m_registry.OpenKey(HKEY_CURRENT_USER, m_path.c_str(), 0, KEY_READ, key), ERROR_SUCCESS);
    ASSERT_TRUE(key);

    wchar_t small[4] = {};
    DWORD type = 0;
    DWORD size = sizeof(small);
    EXPECT_EQ(m_registry.QueryValue(key.Get(), L"Display", nullptr, &type, reinterpret_cast<BYTE*>(small), &size),
              ERROR_MORE_DATA);
    wchar_t text[64] = {};
    size = sizeof(text);
    EXPECT_EQ(m_registry.QueryValue(key.Get(), L"Display", nullptr, &type, reinterpret_cast<BYTE*>(text), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_STREQ(text, L"(UTC+09:00) Seoul");

    EXPECT_EQ(m_registry.OpenKey(HKEY_CURRENT_USER, (m_path + L"\\Nope").c_str(), 0, KEY_READ, key),
              ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(key);
}

}  // namespace
