// The libraries the program file imports. The program runs elevated from folders that other
// programs of the user can write to, and a static import is resolved before any of its code
// runs: the loader must take each from the system folder whatever lies beside the program.
// That holds for the platform's known system libraries (its KnownDLLs list) and for the common
// controls, which the manifest binds to the system's side-by-side copy.

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/e2e/CardFolder.h"
#include "tests/e2e/ProgramDriver.h"

namespace {

using e2e::Bytes;

// The KnownDLLs of 64-bit Windows 10 and 11, with ntdll.dll, which is always the system's.
const std::set<std::string> KNOWN_SYSTEM_LIBRARIES = {
    "advapi32.dll", "clbcatq.dll",  "combase.dll", "comdlg32.dll", "coml2.dll",    "difxapi.dll",
    "gdi32.dll",    "gdiplus.dll",  "imagehlp.dll", "imm32.dll",   "kernel32.dll", "msctf.dll",
    "msvcrt.dll",   "normaliz.dll", "nsi.dll",     "ntdll.dll",    "ole32.dll",    "oleaut32.dll",
    "psapi.dll",    "rpcrt4.dll",   "sechost.dll", "setupapi.dll", "shcore.dll",   "shell32.dll",
    "shlwapi.dll",  "user32.dll",   "wldap32.dll", "ws2_32.dll",
};
const char* const MANIFEST_BOUND = "comctl32.dll";

// Reads little-endian values and texts of a PE file by file offset or by RVA, remembering
// when anything lay outside the file.
class PeImage {
public:
    explicit PeImage(Bytes bytes) : m_bytes(std::move(bytes)) {
        const uint32_t pe = U32(0x3C);
        m_ok = U16(0) == 0x5A4D && U32(pe) == 0x00004550 && U16(pe + 24) == 0x20B;  // "MZ", "PE\0\0", PE32+
        const uint32_t sections = U16(pe + 6);
        m_nOptionalHeader = pe + 24;
        m_nSectionTable = m_nOptionalHeader + U16(pe + 20);
        m_nSections = sections;
    }
    bool Ok() const { return m_ok; }

    // The RVA and size of a data directory (1 imports, 13 delay-load imports).
    uint32_t DirectoryRva(int index) const { return U32(m_nOptionalHeader + 112 + 8 * static_cast<uint32_t>(index)); }

    uint32_t OffsetOf(uint32_t rva) const {
        for (uint32_t i = 0; i < m_nSections; ++i) {
            const uint32_t header = m_nSectionTable + 40 * i;
            const uint32_t virtualAddress = U32(header + 12);
            const uint32_t size = std::max(U32(header + 8), U32(header + 16));
            if (rva >= virtualAddress && rva < virtualAddress + size) return rva - virtualAddress + U32(header + 20);
        }
        m_ok = false;
        return 0;
    }
    uint32_t U32(uint32_t offset) const {
        if (offset + 4 > m_bytes.size()) return Fail();
        uint32_t value = 0;
        std::memcpy(&value, m_bytes.data() + offset, 4);
        return value;
    }
    uint16_t U16(uint32_t offset) const {
        if (offset + 2 > m_bytes.size()) return static_cast<uint16_t>(Fail());
        return static_cast<uint16_t>(m_bytes[offset] | m_bytes[offset + 1] << 8);
    }
    std::string LowerText(uint32_t offset) const {
        std::string text;
        for (; offset < m_bytes.size() && m_bytes[offset] != 0 && text.size() < 256; ++offset) {
            text.push_back(static_cast<char>(std::tolower(m_bytes[offset])));
        }
        return text;
    }

private:
    uint32_t Fail() const {
        m_ok = false;
        return 0;
    }
    Bytes m_bytes;
    mutable bool m_ok = true;
    uint32_t m_nOptionalHeader = 0, m_nSectionTable = 0, m_nSections = 0;
};

// The libraries named by a table of descriptors: `size` bytes each, the name's RVA at
// `nameField`, ended by an all-zero descriptor.
std::vector<std::string> LibraryNames(const PeImage& image, int directory, uint32_t size, uint32_t nameField) {
    std::vector<std::string> names;
    const uint32_t rva = image.DirectoryRva(directory);
    if (rva == 0) return names;
    for (uint32_t at = image.OffsetOf(rva); image.Ok() && names.size() < 200; at += size) {
        const uint32_t nameRva = image.U32(at + nameField);
        if (nameRva == 0) break;
        names.push_back(image.LowerText(image.OffsetOf(nameRva)));
    }
    return names;
}

TEST(ImportTable, TheProgramImportsOnlyLibrariesTheSystemNeverTakesFromBesideIt) {
    const PeImage image(e2e::ReadBytes(e2e::ProgramPath()));
    ASSERT_TRUE(image.Ok()) << "not a 64-bit program file";
    const std::vector<std::string> imports = LibraryNames(image, 1, 20, 12);
    const std::vector<std::string> delayed = LibraryNames(image, 13, 32, 4);
    ASSERT_TRUE(image.Ok());
    ASSERT_NE(std::find(imports.begin(), imports.end(), "kernel32.dll"), imports.end()) << "the table was read";
    for (const std::string& name : imports) {
        EXPECT_TRUE(KNOWN_SYSTEM_LIBRARIES.count(name) || name == MANIFEST_BOUND)
            << name << " is imported, and a copy beside the program would be loaded instead of the system's";
    }
    // The program decodes its pictures itself: GDI+ would cost its DLL and start-up, and its
    // codecs' COM look-ups, at every start.
    EXPECT_EQ(std::find(imports.begin(), imports.end(), "gdiplus.dll"), imports.end()) << "GDI+ is imported";
    // A delay-loaded library is loaded at run time through the program's restricted search, but
    // none is needed: keeping the table empty keeps the rule simple.
    EXPECT_TRUE(delayed.empty()) << delayed.front();
}

}  // namespace
