#pragma once
// Reads the PC's time zone catalogue on a worker thread, started early in the start-up, so that
// its registry round trips overlap with making the windows; the page that shows the catalogue
// takes it where it first needs it. The result is the same catalogue the registry walk gives on
// the user-interface thread: the same code reads it, only on another thread.

#include <windows.h>

#include <memory>

#include "timezones/TimeZoneInfoManager.h"
#include "win32/Handles.h"

class CTimeZoneCatalogueReader {
public:
    // How long Take waits for the worker before reading the catalogue itself.
    static constexpr DWORD WAIT_MS = 10000;

    // Starts the worker. Without one (the thread cannot be made) Take reads the catalogue.
    CTimeZoneCatalogueReader();
    // Waits for a worker still running, so that it never outlives what it reads into.
    ~CTimeZoneCatalogueReader();
    CTimeZoneCatalogueReader(const CTimeZoneCatalogueReader&) = delete;
    CTimeZoneCatalogueReader& operator=(const CTimeZoneCatalogueReader&) = delete;

    // The catalogue, once: the worker's when it ends within `waitMs`, else one read here and
    // now. Later calls give null.
    std::unique_ptr<CTimeZoneInfoManager> Take(DWORD waitMs = WAIT_MS);

private:
    static DWORD WINAPI Work(void* self);

    std::unique_ptr<CTimeZoneInfoManager> m_pCatalogue;  // the worker's, once it has ended
    win32::UniqueHandle m_hThread;
    bool m_bTaken = false;
};
