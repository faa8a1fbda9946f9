#pragma once
// The memory card page: how the camera divides the card between its recording kinds (type A,
// B or C), drawn as five coloured bars with their percentages; the Format button; and for four
// recording kinds whether the camera overwrites the oldest files when their share is full.
// Continuous recording always overwrites: its box is ticked and cannot be changed.

#include <array>

#include "pages/PartitionView.h"
#include "pages/win32/BaseDialog.h"
#include "skin/win32/MemSurface.h"

#include <string>

class CCardSession;

class CEtcDlg : public CBaseDialog {
public:
    // Format works on the session's card; the session outlives the page.
    explicit CEtcDlg(const CCardSession& card);
    // A page without a card: Format leaves every drive alone.
    CEtcDlg();

    // The root of the card that Format works on; empty without a card.
    const std::wstring& CardRoot() const;

    // Shows the overwrite options and the partition type (no radio for a type other than A, B
    // or C) and repaints the partition view.
    void LoadControls() override;

protected:
    void BuildPage() override;
    int FocusSinkId() const override;
    // The partition view, after the header lines.
    void PaintPage(HDC dc) override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void OnPartitionType(int id);
    void OnOverwriteCheck(int id);

    void DrawPartitionView(HDC dc);
    // Paints bar picture i at width i into bar surface i (15 pixels high).
    void BuildPartitionBars(const std::array<int, PARTITION_ROWS>& widths);

    std::array<CMemSurface, PARTITION_ROWS> m_arrBarSurfaces;
    const CCardSession* m_pCard = nullptr;
};
