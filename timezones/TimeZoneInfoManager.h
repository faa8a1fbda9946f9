#pragma once
// The PC's catalogue of time zones that the system page offers the camera: every zone key of
// the system's time zone list except a fixed set of excluded ones, sorted east to west. The
// catalogue is read once, when the manager is made, and never refreshed.
//
// Reading the catalogue and matching in it are portable: the registry walk on Windows (and
// tests with made-up catalogues) hand over key names and raw registry values.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "record/ClockFile.h"

// One zone, as the registry describes it. Starts zero-filled; a value the key lacks stays so.
struct CRegTimeZoneInfo {
    wchar_t m_szKeyName[255];  // the zone's key name, for example "Korea Standard Time"
    wchar_t m_szDisplay[510];  // the name shown in the list
    wchar_t m_szStd[255];      // the name of the zone's standard time
    // The registry's 44-byte TZI value, read whole; the two biases marked "turned" have their
    // sign turned from the registry's UTC-minus-local.
    int32_t m_nBias;          // turned: standard time's offset in minutes, positive east
    int32_t m_nStandardBias;  // as stored
    int32_t m_nDaylightBias;  // turned
    ClockTime m_stStandardDate;  // the change to standard time, as stored
    ClockTime m_stDaylightDate;  // the change to daylight time, as stored
};

// Key names beginning with one of these (any letter case) never enter the catalogue.
extern const std::array<std::wstring_view, 17> EXCLUDED_ZONE_PREFIXES;

// One value of a zone key: its name and the bytes the registry gave (UTF-16LE text for the
// names, the TZI structure little-endian).
struct TimeZoneValue {
    std::wstring strName;
    std::vector<uint8_t> bytes;
};

// Reads the values of one zone key. The reader gets the key name; a key it cannot open gives
// no values. Each value is read into a buffer of the given size: 44 bytes for TZI, 512 for
// the others; a value that does not fit is left out.
using TimeZoneValueReader = std::function<std::vector<TimeZoneValue>(const std::wstring& strKeyName)>;

// The PC's current zone as the platform reports it (Windows' TIME_ZONE_INFORMATION).
struct CurrentTimeZone {
    int32_t nBias;          // UTC minus local standard time, minutes
    int32_t nStandardBias;
    std::wstring strStandardName;
};

class CTimeZoneInfoManager {
public:
#ifdef _WIN32
    // Reads the PC's own catalogue from the registry's time zone keys.
    CTimeZoneInfoManager();
#endif
    // Reads a catalogue from its key names (in enumeration order) and a value reader.
    CTimeZoneInfoManager(std::vector<std::wstring> arrKeyNames, const TimeZoneValueReader& readValues);
    virtual ~CTimeZoneInfoManager();

    CTimeZoneInfoManager(const CTimeZoneInfoManager&) = delete;
    CTimeZoneInfoManager& operator=(const CTimeZoneInfoManager&) = delete;

#ifdef _WIN32
    // Reads the registry's catalogue into the members; an unreadable list leaves it empty.
    void LoadCatalogue();
#endif
    // Drops the excluded keys, reads the values of the others in order (writing one debug
    // line per zone) and sorts the zones: larger m_nBias first, then m_szStd ascending.
    void LoadCatalogue(std::vector<std::wstring> arrKeyNames, const TimeZoneValueReader& readValues);

    int GetCount() const { return static_cast<int>(m_arrZones.size()); }
    // The entry at a catalogue index; null outside the catalogue.
    const CRegTimeZoneInfo* GetAt(int nIndex) const;

    // With a name: among the entries of that bias, the one of that key name (letter case
    // counts), else the last of them; 0 when no entry has the bias. Without a name: the first
    // entry of that bias, -1 when there is none. Note that 0 is returned for an empty
    // catalogue too: check GetCount before using the index.
    int FindZone(std::wstring_view strName, int32_t nBias) const;

    // The first entry that matches the PC's current zone in bias, standard bias and standard
    // name (exactly); 0, the easternmost entry, when none does.
#ifdef _WIN32
    int FindCurrentZone() const;  // the zone GetTimeZoneInformation reports
#endif
    int FindCurrentZone(const CurrentTimeZone& current) const;

    std::vector<std::wstring> m_arrKeyNames;                   // surviving key names, in order
    std::vector<std::unique_ptr<CRegTimeZoneInfo>> m_arrZones;  // the catalogue, owned
};

// Removes every key name that begins with an excluded prefix, keeping the order of the rest.
void RemoveExcludedZones(std::vector<std::wstring>& arrKeyNames);

// An entry from a key name and its values: Display, Std and TZI (names in any letter case);
// other values are ignored. Texts are cut to fit their fields and always end in a zero.
CRegTimeZoneInfo MakeTimeZoneInfo(std::wstring_view strKeyName, const std::vector<TimeZoneValue>& values);
