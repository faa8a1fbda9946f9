// The page host of the main window: creates the three settings pages in the page area, shows
// one at a time under its tab, reloads them when the record is replaced and destroys them
// when the window closes.

#include "app/win32/SettingDlg.h"
#include "pages/win32/EtcDlg.h"
#include "pages/win32/ParkingDlg.h"
#include "pages/win32/SystemDlg.h"
#include "win32/StartUpTrace.h"

namespace {

// Pages go first among the window's children: Tab goes through the shown page's controls
// before the bottom bar's buttons. They overlap no other child, so nothing else changes.
void PlacePage(CBaseDialog& page) {
    RECT rect{};
    GetWindowRect(page.GetSafeHwnd(), &rect);
    SetWindowPos(page.GetSafeHwnd(), HWND_TOP, CSettingDlg::PAGE_AREA.left, CSettingDlg::PAGE_AREA.top,
                 rect.right - rect.left, rect.bottom - rect.top, SWP_NOACTIVATE);
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
    m_pPageSystem = std::make_unique<CSystemDlg>(CardFiles(), m_pZoneReader.get());
    win32::startup::Mark("system page's object made");
    m_pPageSystem->CreatePage(GetSafeHwnd());

    for (CBaseDialog* page : {static_cast<CBaseDialog*>(m_pPageCard.get()),
                              static_cast<CBaseDialog*>(m_pPageRecord.get()),
                              static_cast<CBaseDialog*>(m_pPageSystem.get())}) {
        PlacePage(*page);
    }
    ShowWindow(m_pPageCard->GetSafeHwnd(), SW_SHOW);
    ShowWindow(m_pPageRecord->GetSafeHwnd(), SW_HIDE);
    ShowWindow(m_pPageSystem->GetSafeHwnd(), SW_HIDE);
    win32::startup::Mark("pages placed");
}

void CSettingDlg::LoadAllPages() {
    if (m_pPageRecord) m_pPageRecord->LoadControls();
    win32::startup::Mark("record page: record shown");
    if (m_pPageCard) m_pPageCard->LoadControls();
    win32::startup::Mark("card page: record shown");
    if (m_pPageSystem) m_pPageSystem->LoadControls();
    win32::startup::Mark("system page: record shown, catalogue listed");
}

CBaseDialog* CSettingDlg::ShownPage() const {
    for (CBaseDialog* page : {static_cast<CBaseDialog*>(m_pPageCard.get()),
                              static_cast<CBaseDialog*>(m_pPageRecord.get()),
                              static_cast<CBaseDialog*>(m_pPageSystem.get())}) {
        if (page && IsWindowVisible(page->GetSafeHwnd())) return page;
    }
    return nullptr;
}

void CSettingDlg::SwitchPage(int step) {
    static constexpr int TAB_ORDER[] = {ID_TAB_CARD, ID_TAB_RECORD, ID_TAB_SYSTEM};
    int shown = 0;
    for (int i = 0; i < 3; ++i) {
        if (Button(TAB_ORDER[i])->GetCheck()) shown = i;
    }
    ShowPage(TAB_ORDER[(shown + step + 3) % 3]);
    if (CBaseDialog* page = ShownPage()) {
        if (HWND first = win32::NextTabStop(page->GetSafeHwnd(), nullptr, false)) {
            win32::FocusByKeyboard(GetSafeHwnd(), first);
            page->ScrollIntoView(first);
        }
    }
}

void CSettingDlg::ShowPage(int tabId) {
    ShowWithTab(m_btnTabRecord, m_pPageRecord.get(), tabId == ID_TAB_RECORD);
    ShowWithTab(m_btnTabCard, m_pPageCard.get(), tabId == ID_TAB_CARD);
    ShowWithTab(m_btnTabSystem, m_pPageSystem.get(), tabId == ID_TAB_SYSTEM);
}
