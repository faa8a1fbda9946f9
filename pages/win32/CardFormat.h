#pragma once
// Formatting the camera's memory card from the memory card page. The card is erased by the
// platform's formatter while the files the camera needs are kept: setup.cfg, default.cfg and
// lang\ver.dat are copied to the program's folder first and back afterwards, and a copy of this
// program is put on the card too. FAT32 for cards up to 60000 MiB, exFAT above.
//
// The sequence: ask the user; ask the PC viewer (which may be reading the card) to stop and wait
// for it; save the files; format on a worker thread while the progress pop-up runs its modal
// loop on the user-interface thread; restore the files; report; tell the viewer about a large
// card. One format at a time: the pop-up is modal and disables the main window.

#include <windows.h>

#include <optional>
#include <string>

#include "pages/CardFormatRules.h"
#include "pages/win32/FormatJob.h"
#include "pages/win32/ViewerHandshake.h"

class CEtcDlg;

// The click on the Format button of the memory card page.
void OnFormatButton(CEtcDlg& page);
// The whole procedure for a page window, which owns the message boxes: the question, the
// viewer handshake, then FormatCard. A viewer that does not stop within viewerTimeoutMs leaves
// the card as it is, and the user gets the failure report ("being used by ... or another
// program").
void RunFormatProcedure(HWND page, const std::wstring& cardRoot, DWORD viewerTimeoutMs = VIEWER_STOP_TIMEOUT_MS);

// Asks the user whether to format (Yes/No); true for Yes.
bool ConfirmFormat(HWND page);

// The procedure on the user-interface thread, from the card root. Returns at once,
// silently, for an empty card root or one that is not on a removable drive. When a camera file
// on the card cannot be saved, the card is not formatted and the failure report is shown.
void FormatCard(HWND page, const std::wstring& cardRoot);

// Whether the drive of the card root is removable and above 60000 MiB.
bool IsLargeCard(const std::wstring& cardRoot);

// The volume label for the format: the live record's model name, or the built-in label when it
// is empty or there is no record.
std::wstring CardVolumeLabel();

// The built-in volume label (string resource IDS_DEFAULT_VOLUME_LABEL); empty when missing.
std::wstring BuiltInVolumeLabel();

// Replaces the card geometry that IsLargeCard reads until destroyed (tests: a card of any size
// on a drive of whatever size the test machine has).
class ScopedCardGeometry {
public:
    explicit ScopedCardGeometry(const cardformat::DiskGeometry& geometry);
    ~ScopedCardGeometry();
    ScopedCardGeometry(const ScopedCardGeometry&) = delete;
    ScopedCardGeometry& operator=(const ScopedCardGeometry&) = delete;

private:
    std::optional<cardformat::DiskGeometry> m_previous;
};
