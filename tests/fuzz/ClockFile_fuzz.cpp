// Parses any bytes as the line of time.dat, and formats the result again: the line written
// must always be the 25 characters the camera expects, or longer only for out-of-range years
// and fields, never cut or overflowing.

#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "record/ClockFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ClockTime time{};
    ParseClockLine(std::string_view(reinterpret_cast<const char*>(data), size), time);
    const long offset = size > 0 ? static_cast<long>(static_cast<int8_t>(data[0])) * 15 : 0;
    const std::string line = FormatClockLine(time, offset);
    if (line.size() < 25) std::abort();
    return 0;
}
