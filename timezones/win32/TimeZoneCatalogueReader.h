#pragma once
// Reads the PC's time zone catalogue on a worker thread, so that the user-interface thread does
// not wait for its registry round trips (several hundred, each a round trip to the Wine server
// under Wine). The window starts the worker once it has painted itself: started any earlier,
// the worker's round trips share the one server with the window's own and delay the first
// paint by as much as reading it in place would. The page that shows the catalogue takes it
// where it first needs it. The result is the same catalogue the registry walk gives on the
// user-interface thread: the same code reads it, only on another thread.

#include <windows.h>

#include <memory>

#include "timezones/TimeZoneInfoManager.h"
#include "window/Handles.h"

class CTimeZoneCatalogueReader {
public:
    // How long Take waits for the worker before reading the catalogue itself.
    static constexpr DWORD WAIT_MS = 10000;

    CTimeZoneCatalogueReader() = default;
    // Waits for a worker still running, so that it never outlives what it reads into.
    ~CTimeZoneCatalogueReader();
    CTimeZoneCatalogueReader(const CTimeZoneCatalogueReader&) = delete;
    CTimeZoneCatalogueReader& operator=(const CTimeZoneCatalogueReader&) = delete;

    // Starts the worker, once; when it has read the catalogue it posts `message` to `notify`
    // (if given). False when the worker cannot be made or was started before.
    bool Start(HWND notify = nullptr, UINT message = 0);

    // The catalogue, once: the worker's when it ends within `waitMs`, else (no worker, or not
    // done in time) one read here and now. Later calls give null.
    std::unique_ptr<CTimeZoneInfoManager> Take(DWORD waitMs = WAIT_MS);

private:
    static DWORD WINAPI Work(void* self);

    std::unique_ptr<CTimeZoneInfoManager> m_pCatalogue;  // the worker's, once it has ended
    win32::UniqueHandle m_hThread;
    HWND m_hNotify = nullptr;
    UINT m_nNotifyMessage = 0;
    bool m_bStarted = false;
    bool m_bTaken = false;
};
