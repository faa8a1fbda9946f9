#include <windows.h>

#include "platform/TimeZoneBias.h"

namespace platform {

long SystemTimeZoneBias() {
    TIME_ZONE_INFORMATION zone{};
    GetTimeZoneInformation(&zone);  // the result code only says whether DST is in effect
    return zone.Bias;
}

}  // namespace platform
