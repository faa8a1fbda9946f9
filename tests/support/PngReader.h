#pragma once
// PNG files for the tests, read with the program's own decoder (skin/PngImage.h): the committed
// pictures, to hold against what the painters make of them, and golden pictures. On Windows
// GDI+ checks that decoder independently (tests/win32/GdiPlusPicture.h). Throws
// std::runtime_error for a file that cannot be read or does not decode.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "skin/PixelBuffer.h"
#include "skin/PngImage.h"

namespace testsupport {

// The picture in straight (unpremultiplied) colour; a picture without alpha reads as opaque.
inline skin::CPixelBuffer ReadPng(const std::filesystem::path& file) {
    std::ifstream stream(file, std::ios::binary);
    if (!stream) throw std::runtime_error("PNG: cannot open " + file.string());
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
    skin::CPixelBuffer picture = skin::DecodePng(bytes.data(), bytes.size());
    if (picture.IsEmpty()) throw std::runtime_error("PNG: " + file.string() + " does not decode");
    return picture;
}

// A committed skin picture by its resource id, from the set drawn at `percent` (the 100 % set
// lies in resources/pictures/, every other one in a folder named after its scale).
inline skin::CPixelBuffer ReadSkinPicture(int id, int percent = 100) {
    std::filesystem::path folder = std::filesystem::path(DCS_SOURCE_DIR) / "resources" / "pictures";
    if (percent != 100) folder /= std::to_string(percent);
    return ReadPng(folder / (std::to_string(id) + ".png"));
}

}  // namespace testsupport
