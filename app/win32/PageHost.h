#pragma once
// The main window's three settings pages: made as its children in the page area, shown one at
// a time with its tab checked, reloaded from the record when the record is replaced, and
// destroyed before the window.

#include <windows.h>

#include <array>
#include <memory>

#include "pages/win32/SystemDlg.h"
#include "window/DpiScale.h"

class CBaseDialog;
class CCardSession;
class CEtcDlg;
class CParkingDlg;
class CRButton;

class CPageHost {
public:
    // The pages, in the order of their tabs.
    enum class Page { Card, Record, System };

    // The window's tabs that show the pages; the window keeps them.
    CPageHost(CRButton& cardTab, CRButton& recordTab, CRButton& systemTab);
    ~CPageHost();
    CPageHost(const CPageHost&) = delete;
    CPageHost& operator=(const CPageHost&) = delete;

    // Makes the pages as children of `window`, on the card session (which outlives them), laid
    // out at `scale`, placed at the top-left corner of `area` (in the window's pixels) and first
    // among the window's children; shows the card page. The system page's time zone list waits
    // for `catalogue` until ListTimeZones.
    void Create(HWND window, win32::CDpiScale scale, const RECT& area, CCardSession& card,
                CSystemDlg::CatalogueSource catalogue);
    // Lays every page out again at a new scale, placed at the top-left corner of `area`.
    void Rescale(win32::CDpiScale scale, const RECT& area);
    // Shows the live record on every page.
    void LoadAll();
    // Shows the page and checks its tab; hides the others and unchecks their tabs.
    void Show(Page page);
    // Shows the page after (step 1) or before (step -1) the shown one and gives its first
    // control the keyboard focus.
    void Switch(int step);
    // Fills the system page's time zone list if it still waits for the catalogue.
    void ListTimeZones();
    // The shown page, or null.
    CBaseDialog* Shown() const;
    void Destroy();

private:
    std::array<CBaseDialog*, 3> Pages() const;

    HWND m_window = nullptr;
    std::array<CRButton*, 3> m_tabs;  // in the order of Page
    std::unique_ptr<CEtcDlg> m_card;
    std::unique_ptr<CParkingDlg> m_record;
    std::unique_ptr<CSystemDlg> m_system;
};
