#pragma once
// The slider of the settings pages: the platform's horizontal trackbar (from a dialog template,
// with automatic ticks on both sides and a position tooltip), to which it adds a row of text
// labels under the track and a tooltip that shows the setting's value instead of the raw
// position. The trackbar draws track, ticks and thumb; the labels are drawn after it. Range,
// position and scroll notifications stay the trackbar's own.
//
// Attach it with Subclass(GetDlgItem(page, id)), then SetLabelFont, AddLabels and, where the
// setting needs one, SetTipKind (see skin/SliderText.h for kinds and label flags).

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "skin/win32/AccessibleName.h"
#include "window/Window.h"

class CSubSlider : public win32::CWindow {
public:
    CSubSlider();
    ~CSubSlider() override;

    void SetTipKind(int kind) { m_nTipKind = kind; }
    // The labels' font, made for `dpi`, the DPI the page is laid out at; the slider does not own
    // it. The labels' insets from the slider's sides scale with the same DPI.
    void SetLabelFont(HFONT font, int dpi) {
        m_hLabelFont = font;
        m_nLabelDpi = dpi;
    }
    // Appends the labels, left to right (a list given before stays), and sets the label flags.
    void AddLabels(const std::vector<std::wstring>& labels, int flags);
    // Its name for screen readers: the trackbar shows none (see skin/win32/AccessibleName.h).
    void SetAccessibleName(const std::wstring& name) { m_accName.Set(name); }
    const std::wstring& GetAccessibleName() const { return m_accName.Get(); }
    void ClearLabels() { m_arrLabels.clear(); }

    int GetTipKind() const { return m_nTipKind; }
    int GetLabelFlags() const { return m_nLabelFlags; }
    const std::vector<std::wstring>& GetLabels() const { return m_arrLabels; }
    // The tooltip text for the trackbar's current position.
    std::wstring GetTipText() const;

protected:
    // The tooltip's request for its text (TTN_NEEDTEXTW, tool id 0) reaches the trackbar itself.
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    // The trackbar's custom-draw notification to its parent, offered back to the slider.
    bool OnReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    class CTipHook;

    void HookTooltip();
    LRESULT OnCustomDraw(const NMCUSTOMDRAW& draw);
    void DrawLabels(HDC dc) const;

    int m_nTipKind = 0;
    HFONT m_hLabelFont = nullptr;
    int m_nLabelDpi = 96;
    int m_nLabelFlags = 0;
    std::vector<std::wstring> m_arrLabels;
    std::unique_ptr<CTipHook> m_pTipHook;
    bool m_bTipLookedFor = false;
    skin::CAccessibleName m_accName;
};
