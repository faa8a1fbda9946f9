#pragma once
// A page command that has no place in the layout and that only the keyboard reaches (Tab
// stops at it although it has no area). Its window text is its name, as for any push button;
// while it has the keyboard focus it shows itself at a given place, sized to that text with
// the system's focus outline, so the user sees where the focus is and what Space will do. It
// takes no area again once the focus leaves.

#include <windows.h>

#include <string>

#include "window/Window.h"

class CKeyboardOnlyButton : public win32::CWindow {
public:
    // Subclasses the template's button, gives it its name and font and the top left corner
    // (page coordinates) where it shows while focused. It keeps zero size until then.
    bool Configure(HWND button, const std::wstring& name, HFONT font, POINT shownAt);
    // The rectangle it takes while focused, in page coordinates.
    RECT ShownRect() const;

protected:
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void Show(bool shown);

    HFONT m_hFont = nullptr;
    POINT m_ptShownAt{};
};
