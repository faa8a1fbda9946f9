#include "platform/TimeZoneBias.h"

#include <optional>

namespace platform {
namespace {

std::optional<long>& Override() {
    static std::optional<long> bias;
    return bias;
}

}  // namespace

long PcTimeZoneBias() { return Override() ? *Override() : SystemTimeZoneBias(); }

ScopedTimeZoneBias::ScopedTimeZoneBias(long bias)
    : m_hadOverride(Override().has_value()), m_previous(Override().value_or(0)) {
    Override() = bias;
}

ScopedTimeZoneBias::~ScopedTimeZoneBias() {
    if (m_hadOverride) {
        Override() = m_previous;
    } else {
        Override().reset();
    }
}

}  // namespace platform
