// The page host of the main window: creates the three settings pages in the page area, shows
// one at a time under its tab, reloads them when the record is replaced and destroys them
// when the window closes.

#include "app/win32/SettingDlg.h"
#include "pages/win32/EtcDlg.h"
#include "pages/win32/ParkingDlg.h"
#include "pages/win32/SystemDlg.h"

namespace {

void PlacePage(CBaseDialog& page) {
    RECT rect{};
    GetWindowRect(page.GetSafeHwnd(), &rect);
    MoveWindow(page.GetSafeHwnd(), CSettingDlg::PAGE_AREA.left, CSettingDlg::PAGE_AREA.top, rect.right - rect.left,
               rect.bottom - rect.top, TRUE);
}

// Checks or unchecks a tab, then shows or hides its page.
void ShowWithTab(CRButton& tab, CBaseDialog* page, bool shown) {
    tab.SetCheck(shown);
    if (page) ShowWindow(page->GetSafeHwnd(), shown ? SW_SHOW : SW_HIDE);
}

}  // namespace

void CSettingDlg::CreatePages() {
    m_pPageCard = std::make_unique<CEtcDlg>();
    m_pPageCard->CreatePage(GetSafeHwnd());
    m_pPageRecord = std::make_unique<CParkingDlg>();
    m_pPageRecord->CreatePage(GetSafeHwnd());
    m_pPageSystem = std::make_unique<CSystemDlg>(CardFiles());
    m_pPageSystem->CreatePage(GetSafeHwnd());

    for (CBaseDialog* page : {static_cast<CBaseDialog*>(m_pPageCard.get()),
                              static_cast<CBaseDialog*>(m_pPageRecord.get()),
                              static_cast<CBaseDialog*>(m_pPageSystem.get())}) {
        PlacePage(*page);
    }
    ShowWindow(m_pPageCard->GetSafeHwnd(), SW_SHOW);
    ShowWindow(m_pPageRecord->GetSafeHwnd(), SW_HIDE);
    ShowWindow(m_pPageSystem->GetSafeHwnd(), SW_HIDE);
}

void CSettingDlg::LoadAllPages() {
    if (m_pPageRecord) m_pPageRecord->LoadControls();
    if (m_pPageCard) m_pPageCard->LoadControls();
    if (m_pPageSystem) m_pPageSystem->LoadControls();
}

void CSettingDlg::ShowPage(int tabId) {
    ShowWithTab(m_btnTabRecord, m_pPageRecord.get(), tabId == ID_TAB_RECORD);
    ShowWithTab(m_btnTabCard, m_pPageCard.get(), tabId == ID_TAB_CARD);
    ShowWithTab(m_btnTabSystem, m_pPageSystem.get(), tabId == ID_TAB_SYSTEM);
}
