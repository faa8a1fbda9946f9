// Reads any bytes as a save copy kept on the PC: a copy that decodes must be whole and
// consistent, and must encode back to exactly the same bytes.

#include <cstdint>
#include <cstdlib>
#include <span>

#include "record/SaveCopy.h"
#include "record/SetupConfig.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> image(data, size);
    const std::optional<SaveCopy> copy = DecodeSaveCopy(image);
    if (!copy) return 0;
    if (copy->original.bytes.size() > SETUP_CONFIG_SIZE) std::abort();
    const std::vector<uint8_t> again = EncodeSaveCopy(*copy);
    if (!std::equal(again.begin(), again.end(), image.begin(), image.end())) std::abort();
    return 0;
}
