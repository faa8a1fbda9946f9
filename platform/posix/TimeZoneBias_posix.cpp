#include <ctime>

#include "platform/TimeZoneBias.h"

namespace platform {

long SystemTimeZoneBias() {
    // POSIX `timezone` is the standard-time offset west of UTC in seconds, the same sign as
    // the Windows bias.
    tzset();
    return static_cast<long>(timezone / 60);
}

}  // namespace platform
