#include "app/win32/StartUp.h"

#include "app/win32/SettingDlg.h"
#include "window/Font.h"
#include "window/RegistryManager.h"
#include "window/StartUpTrace.h"

namespace {

// The timer that tells the window it has been painted for the first time, and the one that
// then starts reading the time zone catalogue a moment later: under Wine every program's window
// requests go through one server, and the catalogue's several hundred round trips would
// otherwise compete with the window's first showing.
constexpr UINT_PTR TIMER_PAINTED = 1;
constexpr UINT_PTR TIMER_READ_CATALOGUE = 2;
constexpr UINT CATALOGUE_DELAY_MS = 150;

}  // namespace

CStartUp::CStartUp(std::vector<UINT> pictures, std::function<void()> compose, int percent)
    : m_pictures(std::move(pictures), std::move(compose), percent) {}

bool CStartUp::Run(CSettingDlg& window) {
    win32::startup::Mark("main window made from its template");
    ReadRegLanguage();

    if (window.RelaunchFromCardIfNeeded()) return false;
    window.ShowSessionRecord();
    window.PlaceWindow();
    window.SetIcons();
    if (!window.HasCardRoot()) return false;
    win32::startup::Mark("language choice in the registry, window placed");
    if (!window.StartCardSession()) return false;  // the user chose to leave the card as it is
    win32::startup::Mark("card files read, language chosen");
    window.TakeBackground();
    win32::startup::Mark("window's background composed");
    window.CreateControls();
    win32::startup::Mark("window's skinned controls made");
    window.CreatePages();
    window.m_bInitialised = 1;
    window.m_pStartUp->WindowMade(window.GetSafeHwnd());
    return true;
}

void CStartUp::FinishPictures() {
    // The worker touches what it composes until it ends; it runs only the program's own
    // decoding and composing, and a painter asking for a picture waits for it the same way.
    m_pictures.Finish();
}

std::unique_ptr<CTimeZoneInfoManager> CStartUp::TakeCatalogue() { return m_catalogue.Take(); }

void CStartUp::WindowMade(HWND window) {
    // Timer messages come only when nothing waits to be painted: this one arrives once the
    // shown window is painted whole.
    SetTimer(window, TIMER_PAINTED, USER_TIMER_MINIMUM, nullptr);
}

bool CStartUp::OnMessage(HWND window, UINT message, WPARAM wParam, const std::function<void()>& listZones) {
    if (message == WM_CATALOGUE_READ) {
        listZones();
        return true;
    }
    if (message != WM_TIMER || (wParam != TIMER_PAINTED && wParam != TIMER_READ_CATALOGUE)) return false;
    KillTimer(window, wParam);
    if (wParam == TIMER_PAINTED) {
        if (!SetTimer(window, TIMER_READ_CATALOGUE, CATALOGUE_DELAY_MS, nullptr)) {
            if (!m_catalogue.Start(window, WM_CATALOGUE_READ)) listZones();
        }
    } else if (!m_catalogue.Start(window, WM_CATALOGUE_READ)) {
        listZones();  // without a worker the catalogue is read here and now
    }
    return true;
}
