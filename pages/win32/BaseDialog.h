#pragma once
// The base of the three settings pages: a child dialog of the main window with a near-white
// background, a fixed 700 x 437 visible area whose taller content scrolls vertically, three
// fonts, the placement helpers every page lays its controls out with, thin lines beside the
// section headers, and a keyboard filter so that neither Enter nor Escape closes a page.
//
// Templates declare every control with zero size; BuildPage places them all in code. Its
// numbers are 96-DPI pixels: the placement helpers scale positions and sizes to the page's
// display scale, measure texts in fonts made for it, and give sizes back in 96-DPI pixels
// (rounded up, so that what follows a measured text stays clear of it).

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "skin/win32/AccessibleName.h"
#include "window/Dialog.h"
#include "window/DpiScale.h"
#include "window/Handles.h"

class CBaseDialog : public win32::CDialog {
public:
    explicit CBaseDialog(UINT templateId);
    ~CBaseDialog() override;

    // Creates the page window as a child of the main window, laid out at `scale`.
    bool CreatePage(HWND parent, win32::CDpiScale scale = win32::CDpiScale()) {
        m_scale = scale;
        return Create(parent);
    }
    // Lays the page out again at another scale: fonts made anew, every control placed again,
    // the scroll position kept in proportion; values, slider positions and the focus stay.
    void Rescale(win32::CDpiScale scale);
    win32::CDpiScale Scale() const { return m_scale; }

    // Sets every control from the live record.
    virtual void LoadControls() = 0;

    // Swallows key-downs of Enter and Escape on the page and its controls.
    bool PreTranslateMessage(MSG& message) override;
    // Scrolls the page so that `control` (one of its own) is in the visible area, as when the
    // keyboard moves the focus to it.
    void ScrollIntoView(HWND control);

    // The scroll position and its largest value, in the page's pixels.
    int GetScrollPos() const { return m_nScrollPos; }
    int GetScrollMax() const { return m_nScrollMax; }
    const std::vector<int>& HeaderIds() const { return m_arrHeaderIds; }
    // The name given to a control that shows no text of its own (empty for none).
    std::wstring ControlName(int id) const;

    // Layout helpers (public so that tests can measure them against real controls).
    SIZE PlaceLabel(HWND parent, int id, const std::wstring& text, HFONT font, int x, int y);
    SIZE PlaceControl(HWND parent, int id, int x, int y, int cx, int cy);
    int GetTextWidth(const std::wstring& text, HFONT font) const;
    // The extent of a text in the font a control's device context starts with (the system
    // font), which is what a label's height is taken from.
    SIZE GetDefaultFontExtent(const std::wstring& text) const;
    void PlaceTextCtrl(int id, HFONT font, const std::wstring& text, int x, int y, int cx, int cy, bool autoWidth);
    void PlaceFontCtrl(int id, HFONT font, const std::wstring& text, int x, int y, int cx, int cy, bool autoWidth);

protected:
    // Places every control, fills m_arrHeaderIds and sets the final m_nScrollMax.
    virtual void BuildPage() = 0;
    // The hidden push button that takes the focus when the page itself is clicked.
    virtual int FocusSinkId() const = 0;
    // Paints what the page adds after the header lines.
    virtual void PaintPage(HDC dc);

    // Places a section header in the title font and remembers it for its line.
    SIZE PlaceHeader(int id, const std::wstring& text, int x, int y);
    // Names a control that shows no text of its own (a list, a date picker, a check box whose
    // label stands beside it) for screen readers, after the label beside it. Sliders take
    // their names themselves (CSubSlider::SetAccessibleName).
    void NameControl(int id, const std::wstring& name);
    void CreatePageFonts();
    void DrawHeaderLines(HDC dc);
    // Fonts, BuildPage and the scroll bar at the page's scale, scrolled to the top.
    void LayOutPage();

    BOOL OnInitDialog() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    // Enter and Escape reach the page as commands too; neither closes it.
    void OnOK() override {}
    void OnCancel() override {}
    // Moves the page content by d pixels of scroll offset.
    void ScrollBy(int d);

    COLORREF m_crBackground;
    win32::UniqueBrush m_brBackground;
    int m_nScrollPos = 0;
    // Set by the pages in 96-DPI pixels; after BuildPage, m_nScrollMax is in the page's pixels.
    int m_nScrollMax = 0;
    int m_nScrollStep = 0;
    win32::CDpiScale m_scale;
    std::vector<int> m_arrHeaderIds;
    win32::UniqueFont m_hFontTitle;
    win32::UniqueFont m_hFontBold;
    win32::UniqueFont m_hFontText;

private:
    std::map<int, std::unique_ptr<skin::CNamedControl>> m_mapNamedControls;
    // One memory device context for every text measurement of the page, made when first
    // needed: it starts with the same system font as a control's own device context, and
    // saves making and releasing a device context for each label.
    HDC MeasureDC() const;
    mutable win32::UniqueMemoryDC m_measureDC;
    // The DPI the system font of a fresh device context is made for.
    int m_nSystemFontDpi = win32::BASE_DPI;

    void OnVScroll(int request, int thumbPosition);
    void OnMouseWheel(int delta);
    bool OnControlColour(UINT message, HDC dc, LRESULT& result);
};
