#pragma once
// Names for screen readers of controls that show no text of their own (sliders, lists, date
// pickers, a check box whose label stands beside it): the system's own accessibility object of
// the control answers, annotated with the name (the dynamic annotation of the accessibility
// layer's property services), so that no accessibility object of our own is needed.
//
// The annotation is made when a client first asks the control for its object (WM_GETOBJECT),
// not when the control is made: a session without a screen reader pays nothing, not even
// COM's start. Without COM or the property services nothing is annotated, and the system's
// object answers alone.

#include <windows.h>

#include <string>

#include "window/Window.h"

namespace skin {

// The name a control gives screen readers, for a window whose procedure the caller sees.
class CAccessibleName {
public:
    // The name; a later one replaces it at the next question.
    void Set(const std::wstring& name);
    const std::wstring& Get() const { return m_strName; }

    // Call for every WM_GETOBJECT of the window: annotates it at the first question for its
    // client object.
    void OnGetObject(HWND window, LPARAM objectId);
    // Call at WM_DESTROY: removes the annotation.
    void OnDestroy(HWND window);

private:
    std::wstring m_strName;
    bool m_bAnnotated = false;
};

// A standard control (one the system made from a template) given a name: subclasses it and
// annotates it as above.
class CNamedControl : public win32::CWindow {
public:
    bool Name(HWND control, const std::wstring& name);
    const std::wstring& GetName() const { return m_name.Get(); }

protected:
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    CAccessibleName m_name;
};

}  // namespace skin
