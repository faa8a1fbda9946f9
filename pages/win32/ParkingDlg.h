#pragma once
// The record settings page: impact sensitivity while driving and while parked, brightness,
// parking mode, motion sensitivity, the parking recording timer and the battery cut-off for
// 12 V and 24 V vehicles. Every change goes into the live record at once. Switching parking
// mode off and switching the low voltage shutdown off each ask for confirmation first.
//
// The low voltage shutdown, parking choice and winter month controls are never laid out: they
// keep zero size, so only the keyboard reaches them, and they still work.

#include <array>

#include "pages/win32/BaseDialog.h"
#include "pages/win32/PageControls.h"
#include "record/SetupConfig.h"
#include "skin/win32/SubSlider.h"

class CParkingDlg : public CBaseDialog {
public:
    CParkingDlg();

    // Shows the live record: slider positions, the parking mode with the sliders it enables,
    // the winter months and the parking choice. The low voltage shutdown radios keep their state.
    void LoadControls() override;

protected:
    BOOL OnInitDialog() override;
    void BuildPage() override;
    int FocusSinkId() const override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    // A slider of the page, its control and the record field it edits.
    struct SliderField {
        CSubSlider* slider;
        int id;
        int32_t SetupConfig::*field;
    };
    std::array<SliderField, 7> Sliders();

    void OnSliderMoved(HWND slider);
    // True when the id is one of the buttons the page handles.
    bool OnButtonClicked(int id);
    void OnParkingMode(int id);
    void OnLowVoltageShutdown(int id);
    void OnParkingChoice(int id);
    void OnWinterMonth(int id);

    // Parking mode off disables the five parking sliders; on enables them, and with `apply`
    // the impact, motion and timer sliders then follow `enable`.
    void EnableParkingControls(bool enable, bool apply);
    // Checks the radio of the stored parking mode and enables the sliders that go with it.
    void ShowParkingMode();
    void EnableWinterMonths(bool enabled);
    // Asks a yes/no question in the skinned pop-up; true for Yes.
    bool AskYesNo(const std::wstring& caption, const std::wstring& message, int width, int height);

    void BuildSensitivityRow(int lowId, CSubSlider& slider, int sliderId, int highId, int top,
                             const pagecontrols::SliderSetup& setup);
    int TimerSliderLeft(HWND label) const;

    CSubSlider m_sliderImpact;         // 1252, continuous mode
    CSubSlider m_sliderParkingImpact;  // 1160
    CSubSlider m_sliderMotion;         // 1161
    CSubSlider m_sliderTimer;          // 1162
    CSubSlider m_sliderVoltage12;      // 1163
    CSubSlider m_sliderVoltage24;      // 1164
    CSubSlider m_sliderBrightness;     // 1008
};
