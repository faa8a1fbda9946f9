#pragma once
// The program's PNG pictures, each decoded once per process and kept in straight colour for the
// painters, and decoded ahead on a worker thread while the start-up makes its windows.
//
// A picture being decoded (by the worker or another caller) is waited for, never decoded a
// second time, so every caller gets the same pixels whichever thread decoded them. A picture
// that does not decode is not kept: the next request tries again and gets an empty buffer.

#include <windows.h>

#include <functional>
#include <vector>

#include "skin/PixelBuffer.h"
#include "window/Handles.h"

namespace skin {

// The decoded pixels of PNG resource `id` of the program file; an empty buffer when it cannot
// be loaded. The reference stays valid until ForgetDecodedPictures.
const CPixelBuffer& DecodedPicture(UINT id);

// How many pictures have been decoded (successfully or not) in this process.
long PictureDecodeCount();

// Drops every kept picture. Only for when no reference handed out is in use any more.
void ForgetDecodedPictures();

// Decodes the given pictures, in that order, on a worker thread, then runs `then` there (work
// that needs the pictures, such as composing a surface: its fresh memory is then first touched
// off the user-interface thread). Destroying the object (or Finish) waits for the worker.
class CPicturePrefetch {
public:
    explicit CPicturePrefetch(std::vector<UINT> ids, std::function<void()> then = {});
    ~CPicturePrefetch();
    CPicturePrefetch(const CPicturePrefetch&) = delete;
    CPicturePrefetch& operator=(const CPicturePrefetch&) = delete;

    // Waits for the worker to end; true when it ended (or never started).
    bool Finish(DWORD timeoutMs = INFINITE);

private:
    static DWORD WINAPI Work(void* self);

    std::vector<UINT> m_arrIds;
    std::function<void()> m_then;
    win32::UniqueHandle m_hThread;
};

}  // namespace skin
