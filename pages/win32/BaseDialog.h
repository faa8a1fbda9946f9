#pragma once
// The base of the three settings pages: a child dialog of the main window with a near-white
// background, a fixed 700 x 437 visible area whose taller content scrolls vertically, three
// fonts, the placement helpers every page lays its controls out with, thin lines beside the
// section headers, and a keyboard filter so that neither Enter nor Escape closes a page.
//
// Templates declare every control with zero size; BuildPage places them all in code.

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "skin/win32/AccessibleName.h"
#include "window/Dialog.h"
#include "window/Handles.h"

class CBaseDialog : public win32::CDialog {
public:
    explicit CBaseDialog(UINT templateId);
    ~CBaseDialog() override;

    // Creates the page window as a child of the main window.
    bool CreatePage(HWND parent) { return Create(parent); }

    // Sets every control from the live record.
    virtual void LoadControls() = 0;

    // Swallows key-downs of Enter and Escape on the page and its controls.
    bool PreTranslateMessage(MSG& message) override;
    // Scrolls the page so that `control` (one of its own) is in the visible area, as when the
    // keyboard moves the focus to it.
    void ScrollIntoView(HWND control);

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
    int m_nScrollMax = 0;
    int m_nScrollStep = 0;
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

    void OnVScroll(int request, int thumbPosition);
    void OnMouseWheel(int delta);
    bool OnControlColour(UINT message, HDC dc, LRESULT& result);
};
