#include "app/win32/PageHost.h"

#include "pages/win32/EtcDlg.h"
#include "pages/win32/ParkingDlg.h"
#include "pages/win32/SystemDlg.h"
#include "skin/win32/RButton.h"
#include "window/StartUpTrace.h"

namespace {

// Pages go first among the window's children: Tab goes through the shown page's controls
// before the bottom bar's buttons. They overlap no other child, so nothing else changes.
void PlacePage(CBaseDialog& page, const RECT& area) {
    RECT rect{};
    GetWindowRect(page.GetSafeHwnd(), &rect);
    SetWindowPos(page.GetSafeHwnd(), HWND_TOP, area.left, area.top, rect.right - rect.left, rect.bottom - rect.top,
                 SWP_NOACTIVATE);
}

}  // namespace

CPageHost::CPageHost(CRButton& cardTab, CRButton& recordTab, CRButton& systemTab)
    : m_tabs{&cardTab, &recordTab, &systemTab} {}

CPageHost::~CPageHost() = default;

std::array<CBaseDialog*, 3> CPageHost::Pages() const { return {m_card.get(), m_record.get(), m_system.get()}; }

void CPageHost::Create(HWND window, win32::CDpiScale scale, const RECT& area, CCardSession& card,
                       CSystemDlg::CatalogueSource catalogue) {
    m_window = window;
    m_card = std::make_unique<CEtcDlg>(card);
    m_card->CreatePage(window, scale);
    m_record = std::make_unique<CParkingDlg>();
    m_record->CreatePage(window, scale);
    m_system = std::make_unique<CSystemDlg>(card, std::move(catalogue));
    win32::startup::Mark("system page's object made");
    m_system->CreatePage(window, scale);

    for (CBaseDialog* page : Pages()) PlacePage(*page, area);
    ShowWindow(m_card->GetSafeHwnd(), SW_SHOW);
    ShowWindow(m_record->GetSafeHwnd(), SW_HIDE);
    ShowWindow(m_system->GetSafeHwnd(), SW_HIDE);
    win32::startup::Mark("pages placed");
}

void CPageHost::Rescale(win32::CDpiScale scale, const RECT& area) {
    for (CBaseDialog* page : Pages()) {
        if (!page) continue;
        page->Rescale(scale);
        SetWindowPos(page->GetSafeHwnd(), nullptr, area.left, area.top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void CPageHost::LoadAll() {
    if (m_record) m_record->LoadControls();
    win32::startup::Mark("record page: record shown");
    if (m_card) m_card->LoadControls();
    win32::startup::Mark("card page: record shown");
    if (m_system) m_system->LoadControls();
    win32::startup::Mark("system page: record shown");
}

CBaseDialog* CPageHost::Shown() const {
    for (CBaseDialog* page : Pages()) {
        if (page && IsWindowVisible(page->GetSafeHwnd())) return page;
    }
    return nullptr;
}

void CPageHost::Switch(int step) {
    int shown = 0;
    for (int i = 0; i < 3; ++i) {
        if (m_tabs[static_cast<size_t>(i)]->GetCheck()) shown = i;
    }
    Show(static_cast<Page>((shown + step + 3) % 3));
    if (CBaseDialog* page = Shown()) {
        if (HWND first = win32::NextTabStop(page->GetSafeHwnd(), nullptr, false)) {
            win32::FocusByKeyboard(m_window, first);
            page->ScrollIntoView(first);
        }
    }
}

void CPageHost::ListTimeZones() {
    if (m_system) m_system->ListTimeZones();
}

void CPageHost::Show(Page page) {
    if (page == Page::System) ListTimeZones();
    const std::array<CBaseDialog*, 3> pages = Pages();
    for (Page each : {Page::Record, Page::Card, Page::System}) {
        const size_t i = static_cast<size_t>(each);
        m_tabs[i]->SetCheck(each == page);
        if (pages[i]) ShowWindow(pages[i]->GetSafeHwnd(), each == page ? SW_SHOW : SW_HIDE);
    }
}

void CPageHost::Destroy() {
    m_record.reset();
    m_card.reset();
    m_system.reset();
}
