#include "tests/e2e/CardFolder.h"

#include <windows.h>

#include <cstring>
#include <fstream>
#include <iterator>

#include "app/CommandLine.h"

namespace e2e {
namespace {

std::filesystem::path SampleCard() { return std::filesystem::path(DCS_SOURCE_DIR) / L"samples" / L"card"; }

void WriteBytes(const std::filesystem::path& file, const Bytes& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

Bytes ReadBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

CardFolder::CardFolder(const std::wstring& name) {
    m_root = std::filesystem::temp_directory_path() / (L"dcs-e2e-" + std::to_wstring(GetTickCount64()) + L"-" +
                                                       std::to_wstring(GetCurrentProcessId()));
    m_path = m_root / name;
    std::filesystem::create_directories(m_path);
    std::filesystem::copy(SampleCard(), m_path, std::filesystem::copy_options::recursive);
    m_original = ReadSetupBytes();
}

CardFolder::~CardFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(m_root, ignored);
}

std::wstring CardFolder::Argument() const { return QuoteArgument(m_path.wstring() + L"\\"); }

Bytes CardFolder::ReadSetupBytes() const { return ReadBytes(File(L"setup.cfg")); }

SetupConfig CardFolder::ReadSetup() const {
    const Bytes bytes = ReadSetupBytes();
    SetupConfig record{};
    std::memcpy(&record, bytes.data(), std::min(bytes.size(), sizeof(record)));
    return record;
}

void CardFolder::WriteSetup(const SetupConfig& record) {
    const auto* begin = reinterpret_cast<const uint8_t*>(&record);
    WriteBytes(File(L"setup.cfg"), Bytes(begin, begin + sizeof(record)));
    m_original = ReadSetupBytes();
}

void CardFolder::SetLanguageIndex(int32_t index) {
    SetupConfig record = ReadSetup();
    record.language_index = index;
    WriteSetup(record);
}

}  // namespace e2e
