#include "bench/win32/ImportCounter.h"

#include <windows.h>

#include <atomic>
#include <cstring>
#include <vector>

namespace bench {
namespace {

std::array<std::atomic<long>, API_COUNT> g_calls{};
std::array<std::atomic<long long>, API_COUNT> g_ticks{};  // QueryPerformanceCounter units

long long Ticks() {
    LARGE_INTEGER now{};
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

// Adds the time from its making to its end to one function's total.
class TimedCall {
public:
    explicit TimedCall(Api api) : m_index(static_cast<size_t>(api)), m_start(Ticks()) {}
    ~TimedCall() {
        g_calls[m_index].fetch_add(1, std::memory_order_relaxed);
        g_ticks[m_index].fetch_add(Ticks() - m_start, std::memory_order_relaxed);
    }
    TimedCall(const TimedCall&) = delete;
    TimedCall& operator=(const TimedCall&) = delete;

private:
    size_t m_index;
    long long m_start;
};

struct PatchedSlot {
    void** slot;
    void* original;
};
std::vector<PatchedSlot> g_patched;

// The import address table entry of `function` from `dll` in the program file, or null.
void** FindImportSlot(const char* dll, const char* function) {
    auto* base = reinterpret_cast<BYTE*>(GetModuleHandleW(nullptr));
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (directory.VirtualAddress == 0) return nullptr;
    for (auto* import = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress);
         import->Name != 0; ++import) {
        if (_stricmp(reinterpret_cast<const char*>(base + import->Name), dll) != 0) continue;
        // The name table lists what each slot of the address table was bound to.
        const auto* names = reinterpret_cast<const IMAGE_THUNK_DATA*>(base + import->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + import->FirstThunk);
        for (size_t i = 0; names[i].u1.AddressOfData != 0; ++i) {
            if (IMAGE_SNAP_BY_ORDINAL(names[i].u1.Ordinal)) continue;
            const auto* byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names[i].u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<const char*>(byName->Name), function) == 0) {
                return reinterpret_cast<void**>(&slots[i].u1.Function);
            }
        }
    }
    return nullptr;
}

void WriteSlot(void** slot, void* value) {
    DWORD protection = 0;
    VirtualProtect(slot, sizeof(void*), PAGE_READWRITE, &protection);
    *slot = value;
    VirtualProtect(slot, sizeof(void*), protection, &protection);
}

// A forwarder per counted function: calls what the slot held before, counted and timed.
template <Api API, typename Function>
struct Forwarder;
template <Api API, typename Result, typename... Arguments>
struct Forwarder<API, Result(WINAPI*)(Arguments...)> {
    static inline Result(WINAPI* s_real)(Arguments...) = nullptr;
    static Result WINAPI Call(Arguments... arguments) {
        const TimedCall timed(API);
        return s_real(arguments...);
    }
};

// A function the program file may not import at all (it then never calls it, and its count
// stays 0) is `optional`; any other missing import fails, so that a misspelt name cannot leave
// a counter silently at 0.
template <Api API, typename Function>
bool Patch(const char* dll, const char* function, std::string* missing, bool optional = false) {
    void** slot = FindImportSlot(dll, function);
    if (!slot) {
        if (optional) return true;
        if (missing) *missing += std::string(missing->empty() ? "" : ", ") + function;
        return false;
    }
    using F = Forwarder<API, Function>;
    if (*slot == reinterpret_cast<void*>(&F::Call)) return true;
    F::s_real = reinterpret_cast<Function>(*slot);
    g_patched.push_back({slot, *slot});
    WriteSlot(slot, reinterpret_cast<void*>(&F::Call));
    return true;
}

}  // namespace

const char* ApiName(Api api) {
    switch (api) {
    case Api::BitBlt: return "BitBlt";
    case Api::AlphaBlend: return "AlphaBlend";
    case Api::DrawTextW: return "DrawTextW";
    case Api::CreateDIBSection: return "CreateDIBSection";
    case Api::CreateCompatibleBitmap: return "CreateCompatibleBitmap";
    case Api::OutputDebugStringW: return "OutputDebugStringW";
    case Api::RegOpenKeyExW: return "RegOpenKeyExW";
    case Api::RegQueryInfoKeyW: return "RegQueryInfoKeyW";
    case Api::RegEnumKeyExW: return "RegEnumKeyExW";
    case Api::RegEnumValueW: return "RegEnumValueW";
    case Api::RegQueryValueExW: return "RegQueryValueExW";
    case Api::RegCloseKey: return "RegCloseKey";
    case Api::Count_: break;
    }
    return "?";
}

CallCounts CurrentCallCounts() {
    CallCounts counts{};
    for (size_t i = 0; i < API_COUNT; ++i) counts[i] = g_calls[i].load(std::memory_order_relaxed);
    return counts;
}

CallTimes CurrentCallTimes() {
    LARGE_INTEGER frequency{};
    QueryPerformanceFrequency(&frequency);
    CallTimes times{};
    for (size_t i = 0; i < API_COUNT; ++i) {
        times[i] = static_cast<double>(g_ticks[i].load(std::memory_order_relaxed)) * 1000.0 /
                   static_cast<double>(frequency.QuadPart);
    }
    return times;
}

CallCounts CallsSince(const CallCounts& before) {
    CallCounts since = CurrentCallCounts();
    for (size_t i = 0; i < API_COUNT; ++i) since[i] -= before[i];
    return since;
}

bool InstallCallCounters(std::string* missing) {
    bool all = true;
    all &= Patch<Api::BitBlt, decltype(&::BitBlt)>("gdi32.dll", "BitBlt", missing);
    all &= Patch<Api::AlphaBlend, decltype(&::GdiAlphaBlend)>("gdi32.dll", "GdiAlphaBlend", missing);
    all &= Patch<Api::DrawTextW, decltype(&::DrawTextW)>("user32.dll", "DrawTextW", missing);
    all &= Patch<Api::CreateDIBSection, decltype(&::CreateDIBSection)>("gdi32.dll", "CreateDIBSection", missing);
    all &= Patch<Api::CreateCompatibleBitmap, decltype(&::CreateCompatibleBitmap)>("gdi32.dll",
                                                                                    "CreateCompatibleBitmap", missing,
                                                                                    /*optional=*/true);
    all &= Patch<Api::OutputDebugStringW, decltype(&::OutputDebugStringW)>("kernel32.dll", "OutputDebugStringW",
                                                                           missing);
    all &= Patch<Api::RegOpenKeyExW, decltype(&::RegOpenKeyExW)>("advapi32.dll", "RegOpenKeyExW", missing);
    all &= Patch<Api::RegQueryInfoKeyW, decltype(&::RegQueryInfoKeyW)>("advapi32.dll", "RegQueryInfoKeyW", missing);
    all &= Patch<Api::RegEnumKeyExW, decltype(&::RegEnumKeyExW)>("advapi32.dll", "RegEnumKeyExW", missing);
    all &= Patch<Api::RegEnumValueW, decltype(&::RegEnumValueW)>("advapi32.dll", "RegEnumValueW", missing);
    all &= Patch<Api::RegQueryValueExW, decltype(&::RegQueryValueExW)>("advapi32.dll", "RegQueryValueExW", missing);
    all &= Patch<Api::RegCloseKey, decltype(&::RegCloseKey)>("advapi32.dll", "RegCloseKey", missing);
    return all;
}

void RemoveCallCounters() {
    for (auto it = g_patched.rbegin(); it != g_patched.rend(); ++it) WriteSlot(it->slot, it->original);
    g_patched.clear();
}

}  // namespace bench
