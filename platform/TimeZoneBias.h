#pragma once
// The PC's own time zone, as the clock file needs it.

#include <functional>

namespace platform {

// The current time zone's standard bias in minutes: UTC minus local standard time, without
// daylight saving (UTC+9 gives -540). On Windows this is GetTimeZoneInformation's Bias.
long PcTimeZoneBias();

// Replaces the source of the bias until destroyed (tests on machines without a settable zone).
class ScopedTimeZoneBias {
public:
    explicit ScopedTimeZoneBias(long bias);
    ~ScopedTimeZoneBias();
    ScopedTimeZoneBias(const ScopedTimeZoneBias&) = delete;
    ScopedTimeZoneBias& operator=(const ScopedTimeZoneBias&) = delete;

private:
    bool m_hadOverride;
    long m_previous;
};

// The target's own answer.
long SystemTimeZoneBias();

}  // namespace platform
