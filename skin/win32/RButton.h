#pragma once
// The skinned push button: page tabs (with a checked state the owner keeps exclusive), the
// text buttons of the bottom bar, and the minimise and close buttons of the window frame.
//
// The owner creates it as a plain visible child with a control id and a rectangle and
// configures it once with PNG resources. The button composes one picture per state in
// advance; on a change of state it blends that state's picture over the piece of the owner's
// background it covers, keeps the result, and repaints it at once; any later repaint is one
// block copy of the kept picture. A text goes on top, drawn by alignment.
//
// States and what moves them (the button never captures the mouse):
//
//   mouse move         normal -> hover, and asks for a mouse-leave notification (also when
//                      checked, without a change of picture)
//   left button down   any -> pressed
//   left button up     posts WM_COMMAND (id, BN_CLICKED, no window) to the parent, then
//                      -> hover, except that a checked button stays as it is until the owner
//                      calls SetCheck again
//   mouse leave        -> normal unless checked
//   disabled           -> disabled, only when a disabled picture was given
//   enabled            disabled -> normal
//   SetCheck           true: -> checked; false: -> normal
//
// From the keyboard (when the button has the focus) it acts as a click does: Space presses it
// on key-down and clicks on key-up, Enter clicks at once; BM_CLICK (what accessibility tools
// send) clicks too. A focused button shows a thin outline in its highlight colour, only while
// the window's UI state does not hide focus cues (the keyboard moved the focus); the outline is
// part of the kept picture, so a repaint stays one block copy.
//
// Its window text is its name for screen readers and, for a button with text, the label it
// draws: setting the window text changes the label. Accessibility tools get the system's
// standard object for the window, annotated with the role of a push button (page tab for a
// button with a checked picture).

#include <windows.h>

#include <array>
#include <string>

#include "skin/win32/MemSurface.h"
#include "skin/win32/TextStyle.h"
#include "window/Handles.h"
#include "window/Window.h"

class CRButton : public win32::CWindow {
public:
    enum State { STATE_NORMAL = 0, STATE_HOVER = 1, STATE_PRESSED = 2, STATE_CHECKED = 3, STATE_DISABLED = 4 };

    CRButton() = default;
    ~CRButton() override;

    // Creates the button as a visible child of `parent` at `rect` (parent client coordinates);
    // a tab stop (WS_TABSTOP) when `tabStop`.
    bool Create(HWND parent, UINT id, const RECT& rect, bool tabStop = false);

    // Configuration, once after Create; none of these repaints. `ownerBackground` is a context
    // holding the owner's background in the owner's client coordinates (or null); the piece
    // under the button is copied from it. Pictures are nine-patch PNG resources painted at the
    // button's size; a `textStyle` gives the text, its colours and the height of its bold
    // Tahoma font, placed in the normal picture's content area; the text becomes the window
    // text. A disabled id of 0 means the button keeps its picture when disabled.
    void SetImages(UINT normalId, UINT hoverId, UINT pressedId, HDC ownerBackground, const TextStyle* textStyle,
                   UINT disabledId = 0);
    // The same with pictures drawn unscaled at the top left, for pictures made at the
    // button's size; no text.
    void SetImagesNatural(UINT normalId, UINT hoverId, UINT pressedId, HDC ownerBackground, UINT disabledId = 0);
    // The nine-patch picture of the checked state (tabs).
    void SetCheckedImage(UINT id);
    // The display DPI whose picture set the configuration calls above paint from (96: the
    // 100 % pictures); the text's font height comes in the text style, already at that scale.
    void SetPictureDpi(int dpi) { m_nPictureDpi = dpi; }

    // Checked: state checked and sticky; unchecked: state normal. Repaints at once.
    void SetCheck(bool checked);
    // Composes the picture again and repaints at once.
    void Redraw();

    int GetState() const { return m_nState; }
    bool GetCheck() const { return m_bChecked; }
    // The text rectangle: the normal picture's content area, in picture coordinates.
    const RECT& GetTextRect() const { return m_rcText; }
    // How many pictures the button has composed; a repaint without a change of state composes
    // none.
    int GetCompositionCount() const { return m_nCompositions; }
    // Whether the keyboard focus outline is shown (and part of the kept picture).
    bool IsFocusCueShown() const { return m_bCueShown; }

protected:
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    // Starts a configuration: the client size, and the owner's background under the button.
    SIZE BeginConfiguration(HDC ownerBackground);
    bool CreatePicture(int state, SIZE size);
    void ChangeState(int state);
    void RepaintNow();
    void PaintTo(HDC target);
    void Compose();
    void DrawLabel(HDC target) const;
    void FreePictures();

    void OnMouseMove();
    void OnLeftButtonUp();
    void OnMouseLeave();
    void OnEnable(bool enabled);
    // Posts the click command to the parent, as a mouse release over the button does.
    void PostClick();
    void OnKeyDown(WPARAM key, LPARAM flags);
    void OnKeyUp(WPARAM key);
    void OnTextChanged();
    // Shows or hides the focus outline after a change of focus or of the UI state.
    void UpdateFocusCue();
    void DrawFocusCue(HDC target) const;
    void OnUpdateUiState(WORD action, WORD flags);
    // Gives the window an accessibility role (0: removes it).
    void AnnotateRole(LONG role);

    CMemSurface m_surfCompose;  // the kept picture: background and the state's picture
    CMemSurface m_surfBackground;
    std::array<CMemSurface, 5> m_arrPictures;  // by state
    bool m_bDirty = true;
    bool m_bTracking = false;
    bool m_bFocused = false;
    bool m_bCueShown = false;
    bool m_bHideFocus = true;
    bool m_bRoleAnnotated = false;
    bool m_bSpaceDown = false;
    int m_nState = STATE_NORMAL;
    bool m_bHasText = false;
    std::wstring m_strText;
    COLORREF m_crNormal = 0;
    COLORREF m_crHover = 0;
    COLORREF m_crPressed = 0;
    int m_nFontHeight = 0;
    int m_nPictureDpi = 96;
    int m_nAlign = 0;
    bool m_bChecked = false;
    bool m_bHasBackground = false;
    RECT m_rcText{};
    win32::UniqueFont m_hFont;
    int m_nCompositions = 0;
};
