#pragma once
// Scratch folders and whole-file reads and writes for tests that work on card files.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace testsupport {

using Bytes = std::vector<uint8_t>;

// A fresh, empty folder under the system's temporary folder, removed with everything in it
// when the object goes.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    std::filesystem::path operator/(const std::wstring& name) const { return m_path / name; }
    // The folder as a card root text: the path with a trailing separator.
    std::wstring CardRoot() const;

private:
    std::filesystem::path m_path;
};

Bytes ReadBytes(const std::filesystem::path& file);
void WriteBytes(const std::filesystem::path& file, const Bytes& bytes);
void WriteText(const std::filesystem::path& file, const std::string& text);
std::string ReadText(const std::filesystem::path& file);

// A byte pattern that differs at every position, so misplaced or lost bytes show.
Bytes Pattern(size_t size, uint8_t seed = 0);

}  // namespace testsupport
