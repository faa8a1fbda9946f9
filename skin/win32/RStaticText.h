#pragma once
// One line of text with smooth edges over the owner's background, optionally over a
// stretched picture: the main window's title. It does not react to the mouse itself but hands
// mouse moves and left-button presses and releases on to its parent (unchanged, so the
// coordinates are its own), so that the owner can drag its window by the text too.

#include <windows.h>

#include <string>

#include "skin/win32/MemSurface.h"
#include "skin/win32/TextStyle.h"
#include "window/Window.h"

class CRStaticText : public win32::CWindow {
public:
    CRStaticText() = default;
    ~CRStaticText() override;

    // Creates the control as a visible child of `parent` at `rect` (parent client coordinates).
    bool Create(HWND parent, UINT id, const RECT& rect);

    // Takes the owner's background under the control from `ownerBackground` (a context in the
    // owner's client coordinates, or null), blends the nine-patch PNG `pictureId` over it when
    // not 0 (its content area then holds the text), and takes text, colour, alignment and
    // `font` (not owned) from `textStyle`; without a style there is no text. Repaints at once.
    void Setup(UINT pictureId, HFONT font, HDC ownerBackground, const TextStyle* textStyle);

    const std::wstring& GetText() const { return m_strText; }
    // Where the text goes: the picture's content area, or the client rectangle.
    const RECT& GetTextRect() const { return m_rcText; }
    // How many pictures the control has composed; a repaint without a change composes none.
    int GetCompositionCount() const { return m_nCompositions; }

protected:
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void RepaintNow();
    void PaintTo(HDC target);
    void Compose();

    CMemSurface m_surfCompose;  // the kept picture: background and text
    bool m_bDirty = true;
    RECT m_rcClient{};
    RECT m_rcText{};
    CMemSurface m_surfBackground;
    HFONT m_hFont = nullptr;
    std::wstring m_strText;
    COLORREF m_crText = 0;  // the style's normal colour; a static text has no other state
    int m_nAlign = 0;
    int m_nCompositions = 0;
};
