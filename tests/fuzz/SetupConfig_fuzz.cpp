// Loads any bytes as setup.cfg, then saves the record over the same file: the record must stay
// 544 bytes, and the save must never grow the file beyond what it held or 544 bytes.

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/DebugOutput.h"
#include "record/CardFileManager.h"

namespace {

std::filesystem::path ScratchFile() {
    static const std::filesystem::path file = [] {
        const std::filesystem::path shm("/dev/shm");
        const std::filesystem::path dir = std::filesystem::exists(shm) ? shm : std::filesystem::temp_directory_path();
        return dir / ("fuzz-setup-" + std::to_string(::getpid()) + ".cfg");
    }();
    return file;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static platform::ScopedDebugSink quiet([](std::wstring_view) {});
    const std::filesystem::path file = ScratchFile();
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    CCardFileManager files;
    SetupConfig record;
    if (ReadSetupRecord(file, record) != LoadResult::Loaded) std::abort();
    files.SaveSetupRecord(file, record);
    const auto saved = std::filesystem::file_size(file);
    if (saved != size && saved > SETUP_CONFIG_SIZE) std::abort();
    return 0;
}
