#include "timezones/win32/TimeZoneCatalogueReader.h"

CTimeZoneCatalogueReader::CTimeZoneCatalogueReader() {
    m_hThread.Reset(CreateThread(nullptr, 0, Work, this, 0, nullptr));
}

CTimeZoneCatalogueReader::~CTimeZoneCatalogueReader() {
    if (m_hThread) WaitForSingleObject(m_hThread.Get(), INFINITE);
}

std::unique_ptr<CTimeZoneInfoManager> CTimeZoneCatalogueReader::Take(DWORD waitMs) {
    if (m_bTaken) return nullptr;
    m_bTaken = true;
    // The worker's catalogue is only touched once the worker has ended.
    if (m_hThread && WaitForSingleObject(m_hThread.Get(), waitMs) == WAIT_OBJECT_0) {
        m_hThread.Reset();
        if (m_pCatalogue) return std::move(m_pCatalogue);
    }
    return std::make_unique<CTimeZoneInfoManager>();
}

DWORD WINAPI CTimeZoneCatalogueReader::Work(void* self) {
    auto* reader = static_cast<CTimeZoneCatalogueReader*>(self);
    reader->m_pCatalogue = std::make_unique<CTimeZoneInfoManager>();
    return 0;
}
