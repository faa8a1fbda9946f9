#pragma once
// A card folder for one end-to-end test: a copy of the sample card in a fresh folder, removed
// afterwards, with helpers to change it before the run and read it back after.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "record/SetupConfig.h"

namespace e2e {

using Bytes = std::vector<uint8_t>;

class CardFolder {
public:
    explicit CardFolder(const std::wstring& name = L"card");
    ~CardFolder();
    CardFolder(const CardFolder&) = delete;
    CardFolder& operator=(const CardFolder&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    // The folder as the program's argument: quoted, with its trailing backslash kept.
    std::wstring Argument() const;
    std::filesystem::path File(const std::wstring& name) const { return m_path / name; }

    Bytes OriginalSetupBytes() const { return m_original; }
    Bytes ReadSetupBytes() const;
    SetupConfig ReadSetup() const;
    void WriteSetup(const SetupConfig& record);
    void SetLanguageIndex(int32_t index);

private:
    std::filesystem::path m_root;
    std::filesystem::path m_path;
    Bytes m_original;
};

Bytes ReadBytes(const std::filesystem::path& file);

}  // namespace e2e
