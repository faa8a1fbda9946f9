#include "skin/win32/PictureCache.h"

#include <condition_variable>
#include <map>
#include <mutex>

#include "skin/PictureScale.h"
#include "skin/PngImage.h"

namespace skin {
namespace {

struct Entry {
    bool decoding = false;  // someone decodes it now; wait for them
    bool decoded = false;
    CPixelBuffer pixels;
};

struct Cache {
    std::mutex lock;
    std::condition_variable changed;
    std::map<std::pair<int, UINT>, Entry> entries;  // by (set, id); nodes stay put, so references
                                                    // to pixels stay valid
    long decodes = 0;
};

Cache& TheCache() {
    static Cache cache;
    return cache;
}

const CPixelBuffer& Empty() {
    static const CPixelBuffer empty;
    return empty;
}

HRSRC FindPicture(UINT id, int percent) {
    return FindResourceW(nullptr, MAKEINTRESOURCEW(id), PictureResourceType(percent));
}

// Decodes straight from the program file's resource bytes, which stay mapped for the life of
// the process.
CPixelBuffer Decode(UINT id, int percent) {
    HRSRC resource = FindPicture(id, percent);
    if (!resource) return {};
    const DWORD size = SizeofResource(nullptr, resource);
    HGLOBAL loaded = size ? LoadResource(nullptr, resource) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes) return {};
    return DecodePng(static_cast<const uint8_t*>(bytes), size);
}

}  // namespace

int PictureSetHolding(UINT id, int percent) {
    int scale = PictureScaleAtOrBelow(percent);
    while (scale > PICTURE_SCALES[0] && !FindPicture(id, scale)) scale = NextSmallerPictureScale(scale);
    return scale;
}

const CPixelBuffer& DecodedPicture(UINT id, int percent) {
    // The 100 % set is looked up directly, as it always was; only other sets need the search.
    const int scale = percent == 100 ? 100 : PictureSetHolding(id, percent);
    Cache& cache = TheCache();
    std::unique_lock<std::mutex> held(cache.lock);
    Entry& entry = cache.entries[{scale, id}];
    cache.changed.wait(held, [&entry] { return !entry.decoding; });
    if (entry.decoded) return entry.pixels;

    entry.decoding = true;
    held.unlock();
    CPixelBuffer pixels = Decode(id, scale);
    held.lock();
    ++cache.decodes;
    entry.decoding = false;
    entry.decoded = !pixels.IsEmpty();
    entry.pixels = std::move(pixels);
    cache.changed.notify_all();
    return entry.decoded ? entry.pixels : Empty();
}

long PictureDecodeCount() {
    Cache& cache = TheCache();
    std::lock_guard<std::mutex> held(cache.lock);
    return cache.decodes;
}

void ForgetDecodedPictures() {
    Cache& cache = TheCache();
    std::lock_guard<std::mutex> held(cache.lock);
    std::erase_if(cache.entries, [](const auto& item) { return !item.second.decoding; });
}

CPicturePrefetch::CPicturePrefetch(std::vector<UINT> ids, std::function<void()> then, int percent)
    : m_arrIds(std::move(ids)), m_then(std::move(then)), m_nScale(percent) {
    // Without a worker every picture is simply decoded where it is first needed.
    m_hThread.Reset(CreateThread(nullptr, 0, Work, this, 0, nullptr));
}

CPicturePrefetch::~CPicturePrefetch() { Finish(); }

bool CPicturePrefetch::Finish(DWORD timeoutMs) {
    if (!m_hThread) return true;
    if (WaitForSingleObject(m_hThread.Get(), timeoutMs) != WAIT_OBJECT_0) return false;
    m_hThread.Reset();
    return true;
}

DWORD WINAPI CPicturePrefetch::Work(void* self) {
    auto* prefetch = static_cast<CPicturePrefetch*>(self);
    for (UINT id : prefetch->m_arrIds) DecodedPicture(id, prefetch->m_nScale);
    if (prefetch->m_then) prefetch->m_then();
    return 0;
}

}  // namespace skin
