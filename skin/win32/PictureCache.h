#pragma once
// The program's PNG pictures, each decoded once per process and kept in straight colour for the
// painters, and decoded ahead on a worker thread while the start-up makes its windows.
//
// A picture being decoded (by the worker or another caller) is waited for, never decoded a
// second time, so every caller gets the same pixels whichever thread decoded them. A picture
// that does not decode is not kept: the next request tries again and gets an empty buffer.
//
// Pictures come in sets, one per display scale (skin/PictureScale.h); a set is named by its
// scale in percent, 100 being the resources of type "PNG".

#include <windows.h>

#include <functional>
#include <vector>

#include "skin/PixelBuffer.h"
#include "window/Handles.h"

namespace skin {

// The decoded pixels of picture `id` of the set for `percent` in the program file; an empty
// buffer when it cannot be loaded. A scale between the drawn ones means the drawn set below
// it; a picture that set does not hold comes from the next smaller set that does (at worst
// the 100 % picture), so no caller ever gets an enlarged picture or none for a scale. The
// reference stays valid until ForgetDecodedPictures.
const CPixelBuffer& DecodedPicture(UINT id, int percent = 100);

// The set DecodedPicture(id, percent) reads: the scale of the picture handed out.
int PictureSetHolding(UINT id, int percent);

// How many pictures have been decoded (successfully or not) in this process.
long PictureDecodeCount();

// Drops every kept picture. Only for when no reference handed out is in use any more.
void ForgetDecodedPictures();

// Decodes the given pictures of the set for `percent`, in that order, on a worker thread, then
// runs `then` there (work that needs the pictures, such as composing a surface: its fresh
// memory is then first touched off the user-interface thread). Destroying the object (or
// Finish) waits for the worker.
class CPicturePrefetch {
public:
    explicit CPicturePrefetch(std::vector<UINT> ids, std::function<void()> then = {}, int percent = 100);
    ~CPicturePrefetch();
    CPicturePrefetch(const CPicturePrefetch&) = delete;
    CPicturePrefetch& operator=(const CPicturePrefetch&) = delete;

    // Waits for the worker to end; true when it ended (or never started).
    bool Finish(DWORD timeoutMs = INFINITE);

private:
    static DWORD WINAPI Work(void* self);

    std::vector<UINT> m_arrIds;
    std::function<void()> m_then;
    int m_nScale;
    win32::UniqueHandle m_hThread;
};

}  // namespace skin
