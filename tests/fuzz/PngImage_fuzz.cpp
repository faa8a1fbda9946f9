// Decodes any bytes as a PNG picture. Each chunk's CRC is set right first, as far as the
// chunks go, so that the fuzzer reaches the header, inflating and the row filters instead of
// stopping at the checksums. A decoded picture is within the size limits and complete.

#include <zlib.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "skin/PngImage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<uint8_t> file(data, data + size);
    for (size_t pos = 8; pos + 12 <= file.size();) {
        const uint32_t length = (uint32_t{file[pos]} << 24) | (uint32_t{file[pos + 1]} << 16) |
                                (uint32_t{file[pos + 2]} << 8) | file[pos + 3];
        if (length > file.size() - pos - 12) break;
        const uint32_t crc = static_cast<uint32_t>(crc32(0, &file[pos + 4], 4 + length));
        for (int i = 0; i < 4; ++i) file[pos + 8 + length + i] = static_cast<uint8_t>(crc >> (24 - 8 * i));
        pos += 12 + size_t{length};
    }
    const skin::CPixelBuffer picture = skin::DecodePng(file.data(), file.size());
    if (picture.IsEmpty()) return 0;
    if (static_cast<uint32_t>(picture.Width()) > skin::PNG_MAX_SIDE ||
        static_cast<uint32_t>(picture.Height()) > skin::PNG_MAX_SIDE ||
        picture.Pixels().size() != static_cast<size_t>(picture.Width()) * picture.Height()) {
        std::abort();
    }
    return 0;
}
