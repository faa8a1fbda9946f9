// The time zone catalogue is read once the main window has painted itself; whatever the user
// does first, the system page and the saved record are as if it had been read before the
// window showed.

#include <windows.h>

#include <cstring>

#include <gtest/gtest.h>

#include "localisation/LanguageSelection.h"
#include "pages/PageControlIds.h"
#include "pages/SystemPageRules.h"
#include "tests/support/RecordBuilder.h"
#include "tests/win32/MainWindowDriver.h"
#include "timezones/TimeZoneInfoManager.h"

using namespace testsupport;

namespace {

// A card whose record names no time zone: the system page fills in the PC's.
void WriteRecordWithoutZone(const TempFolder& card) {
    SetupConfig record = RecordFromBytes(ReadBytes(SampleCardFile(L"setup.cfg")));
    std::memset(record.time_zone_name, 0, sizeof(record.time_zone_name));
    record.time_zone_bias = 0;
    WriteBytes(card / L"setup.cfg", RecordBytes(record));
}

class SettingDlgCatalogue : public ::testing::Test {
protected:
    void SetUp() override {
        CopySampleCard(m_card);
        WriteRecordWithoutZone(m_card);
        const int current = m_catalogue.FindCurrentZone();
        ASSERT_NE(m_catalogue.GetAt(current), nullptr);
        m_strCurrentZone = m_catalogue.GetAt(current)->m_szKeyName;
        m_nCurrentBias = m_catalogue.GetAt(current)->m_nBias;
    }
    void TearDown() override { FreeLiveRecord(); }

    TempFolder m_card;
    CTimeZoneInfoManager m_catalogue;
    std::wstring m_strCurrentZone;
    int32_t m_nCurrentBias = 0;
    ScopedViewerRunning m_noViewer{false};
};

TEST_F(SettingDlgCatalogue, TheSystemPageShowsTheWholeCatalogueWhenFirstShown) {
    int listed = -1;
    int selected = -1;
    MainWindowRun::Run(m_card.Path().wstring() + L"\\", [&](CSettingDlg& window) {
        ClickSkinnedButton(window.GetSafeHwnd(), CSettingDlg::ID_TAB_SYSTEM);
        const MainWindowPages pages(window.GetSafeHwnd());
        ASSERT_TRUE(pages.AllThere());
        HWND list = GetDlgItem(pages.system->GetSafeHwnd(), IDC_SYS_ZONE_LIST);
        listed = static_cast<int>(SendMessageW(list, CB_GETCOUNT, 0, 0));
        selected = static_cast<int>(SendMessageW(list, CB_GETCURSEL, 0, 0));
    });
    EXPECT_EQ(listed, m_catalogue.GetCount());
    ASSERT_GE(selected, 0);
    EXPECT_EQ(std::wstring(m_catalogue.GetAt(selected)->m_szKeyName), m_strCurrentZone);
}

TEST_F(SettingDlgCatalogue, ARecordWithoutAZoneIsSavedWithThePcsZoneHoweverSoonTheUserSaves) {
    const INT_PTR result = MainWindowRun::Run(m_card.Path().wstring() + L"\\", [](CSettingDlg& window) {
        ClickSkinnedButton(window.GetSafeHwnd(), CSettingDlg::ID_SAVE);
    });
    EXPECT_NE(result, -1);
    const SetupConfig saved = RecordFromBytes(ReadBytes(m_card / L"setup.cfg"));
    EXPECT_EQ(RecordTimeZoneName(saved), m_strCurrentZone);
    EXPECT_EQ(saved.time_zone_bias, m_nCurrentBias);
}

}  // namespace
