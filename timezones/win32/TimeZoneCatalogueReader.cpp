#include "timezones/win32/TimeZoneCatalogueReader.h"

CTimeZoneCatalogueReader::~CTimeZoneCatalogueReader() {
    if (m_hThread) WaitForSingleObject(m_hThread.Get(), INFINITE);
}

bool CTimeZoneCatalogueReader::Start(HWND notify, UINT message) {
    if (m_bStarted || m_bTaken) return false;
    m_bStarted = true;
    m_hNotify = notify;
    m_nNotifyMessage = message;
    m_hThread.Reset(CreateThread(nullptr, 0, Work, this, 0, nullptr));
    return m_hThread.IsValid();
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
    if (reader->m_hNotify) PostMessageW(reader->m_hNotify, reader->m_nNotifyMessage, 0, 0);
    return 0;
}
