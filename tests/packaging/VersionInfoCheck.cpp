// version_info_check: reads the version resource of program files the way a file's properties
// page on Windows does (GetFileVersionInfoW, VerQueryValueW) and compares it with the version
// the project was built with.
//
//   version_info_check VERSION FILE...
//
// Each file must carry: file and product version numbers equal to VERSION (1.0 reads as
// 1.0.0.0); one language-neutral Unicode string table (translation 0000, code page 1200) whose
// FileVersion and ProductVersion are VERSION as written, whose OriginalFilename is the file's own
// name, and whose FileDescription, ProductName, CompanyName and LegalCopyright are not empty.
// Prints what it read. Exit codes: 0 every file matches; 1 one does not; 2 wrong arguments.

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <cwctype>
#include <string>
#include <vector>

namespace {

// Up to four numbers separated by dots, each within 0..65535; missing ones are 0.
bool ParseVersion(const std::wstring& text, WORD (&parts)[4]) {
    size_t start = 0;
    for (int i = 0; i < 4; ++i) {
        parts[i] = 0;
        if (start > text.size()) continue;
        const size_t dot = text.find(L'.', start);
        const std::wstring part = text.substr(start, dot == std::wstring::npos ? std::wstring::npos : dot - start);
        if (part.empty() || part.size() > 5) return false;
        unsigned long value = 0;
        for (wchar_t c : part) {
            if (!std::iswdigit(c)) return false;
            value = value * 10 + static_cast<unsigned long>(c - L'0');
        }
        if (value > 0xFFFF) return false;
        parts[i] = static_cast<WORD>(value);
        start = dot == std::wstring::npos ? text.size() + 1 : dot + 1;
    }
    return start > text.size();  // nothing left after the fourth number
}

std::wstring FileName(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

class VersionInfo {
public:
    explicit VersionInfo(const std::wstring& path) {
        DWORD ignored = 0;
        const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
        if (size == 0) return;
        m_data.resize(size);
        if (!GetFileVersionInfoW(path.c_str(), 0, size, m_data.data())) m_data.clear();
    }
    bool Present() const { return !m_data.empty(); }

    const VS_FIXEDFILEINFO* Fixed() const {
        void* value = nullptr;
        UINT length = 0;
        if (!VerQueryValueW(m_data.data(), L"\\", &value, &length) || length < sizeof(VS_FIXEDFILEINFO)) return nullptr;
        const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
        return fixed->dwSignature == VS_FFI_SIGNATURE ? fixed : nullptr;
    }
    // The first translation, as language << 16 | code page; ~0 when there is none.
    DWORD Translation() const {
        void* value = nullptr;
        UINT length = 0;
        if (!VerQueryValueW(m_data.data(), L"\\VarFileInfo\\Translation", &value, &length) || length < 4) return ~0u;
        const WORD* pair = static_cast<const WORD*>(value);
        return static_cast<DWORD>(pair[0]) << 16 | pair[1];
    }
    // A value of the language-neutral Unicode string table; empty when it is not there.
    std::wstring String(const wchar_t* name) const {
        const std::wstring query = std::wstring(L"\\StringFileInfo\\000004b0\\") + name;
        void* value = nullptr;
        UINT length = 0;
        if (!VerQueryValueW(m_data.data(), query.c_str(), &value, &length) || value == nullptr) return {};
        const auto* text = static_cast<const wchar_t*>(value);
        return std::wstring(text, wcsnlen(text, length));
    }

private:
    std::vector<BYTE> m_data;
};

bool SameNumbers(DWORD high, DWORD low, const WORD (&expected)[4]) {
    return HIWORD(high) == expected[0] && LOWORD(high) == expected[1] && HIWORD(low) == expected[2] &&
           LOWORD(low) == expected[3];
}

bool Check(const std::wstring& path, const std::wstring& version, const WORD (&numbers)[4]) {
    const VersionInfo info(path);
    if (!info.Present()) {
        std::wprintf(L"%ls: no version resource (error %lu)\n", path.c_str(), GetLastError());
        return false;
    }
    bool ok = true;
    auto fail = [&](const wchar_t* what) {
        std::wprintf(L"%ls: %ls\n", path.c_str(), what);
        ok = false;
    };
    const VS_FIXEDFILEINFO* fixed = info.Fixed();
    if (!fixed) {
        fail(L"no fixed version part");
    } else {
        std::wprintf(L"%ls: file version %u.%u.%u.%u, product version %u.%u.%u.%u\n", path.c_str(),
                     HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS), HIWORD(fixed->dwFileVersionLS),
                     LOWORD(fixed->dwFileVersionLS), HIWORD(fixed->dwProductVersionMS),
                     LOWORD(fixed->dwProductVersionMS), HIWORD(fixed->dwProductVersionLS),
                     LOWORD(fixed->dwProductVersionLS));
        if (!SameNumbers(fixed->dwFileVersionMS, fixed->dwFileVersionLS, numbers)) fail(L"wrong file version numbers");
        if (!SameNumbers(fixed->dwProductVersionMS, fixed->dwProductVersionLS, numbers))
            fail(L"wrong product version numbers");
    }
    const DWORD translation = info.Translation();
    std::wprintf(L"%ls: translation %08lx\n", path.c_str(), translation);
    if (translation != 1200) fail(L"not one language-neutral Unicode translation (00000000 04b0)");

    for (const wchar_t* name : {L"FileVersion", L"ProductVersion"}) {
        const std::wstring value = info.String(name);
        std::wprintf(L"%ls: %ls \"%ls\"\n", path.c_str(), name, value.c_str());
        if (value != version) fail(L"a version text differs from the project's version");
    }
    const std::wstring original = info.String(L"OriginalFilename");
    std::wprintf(L"%ls: OriginalFilename \"%ls\"\n", path.c_str(), original.c_str());
    if (_wcsicmp(original.c_str(), FileName(path).c_str()) != 0) fail(L"OriginalFilename is not the file's name");
    for (const wchar_t* name : {L"FileDescription", L"ProductName", L"CompanyName", L"LegalCopyright"}) {
        const std::wstring value = info.String(name);
        std::wprintf(L"%ls: %ls \"%ls\"\n", path.c_str(), name, value.c_str());
        if (value.empty()) fail(L"a descriptive text is empty");
    }
    return ok;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    WORD numbers[4];
    if (argc < 3 || !ParseVersion(argv[1], numbers)) {
        std::fwprintf(stderr, L"usage: version_info_check VERSION FILE...  (VERSION: up to four numbers, 1.0.2)\n");
        return 2;
    }
    bool ok = true;
    for (int i = 2; i < argc; ++i) ok = Check(argv[i], argv[1], numbers) && ok;
    std::wprintf(ok ? L"every version resource matches %ls\n" : L"a version resource does not match %ls\n", argv[1]);
    return ok ? 0 : 1;
}
