#pragma once
// The program's start-up, in one place: the order of the main window's start-up steps, the
// pictures' worker that decodes the skin while the window is made, and the time zone
// catalogue's worker with its timing. The window holds one of these from its construction.

#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

#include "skin/win32/PictureCache.h"
#include "timezones/TimeZoneInfoManager.h"
#include "timezones/win32/TimeZoneCatalogueReader.h"

class CSettingDlg;

class CStartUp {
public:
    // Posted by the catalogue's worker when it has read the catalogue.
    static constexpr UINT WM_CATALOGUE_READ = WM_APP + 1;

    // Starts decoding `pictures` (in the order the window needs them) of the set for `percent`
    // on a worker thread, which then runs `compose` (the window's background at its size).
    CStartUp(std::vector<UINT> pictures, std::function<void()> compose, int percent = 100);
    CStartUp(const CStartUp&) = delete;
    CStartUp& operator=(const CStartUp&) = delete;

    // The window's initialisation: every start-up step, in order. False when the window stays
    // empty and the program quits (started from the card, no card root, or the user chose to
    // leave the card as it is).
    static bool Run(CSettingDlg& window);

    // Waits for the pictures' worker: what it composed may be used from here on.
    void FinishPictures();

    // The PC's time zone catalogue, for the one page that lists it: the worker's when it has
    // read it, else one read here and now.
    std::unique_ptr<CTimeZoneInfoManager> TakeCatalogue();

    // The window's start-up timers and the worker's message. `listZones` fills the list that
    // waits for the catalogue. True when the message was one of these.
    bool OnMessage(HWND window, UINT message, WPARAM wParam, const std::function<void()>& listZones);

private:
    // Once the window has been painted whole, the catalogue's worker starts a moment later.
    void WindowMade(HWND window);

    skin::CPicturePrefetch m_pictures;
    CTimeZoneCatalogueReader m_catalogue;
};
