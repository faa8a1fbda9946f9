#include "pages/win32/ParkingDlg.h"

#include <utility>

#include "localisation/LanguageTable.h"
#include "pages/PageChoices.h"
#include "pages/PageControlIds.h"
#include "pages/win32/PageControls.h"
#include "pages/win32/PopupDialogs.h"
#include "resources/ResourceIds.h"
#include "skin/SliderText.h"

using namespace pagecontrols;

namespace {

constexpr int SLIDER_WIDTH = 350;
constexpr int SLIDER_HEIGHT = 55;
constexpr int BRIGHTNESS_SLIDER_HEIGHT = 48;

constexpr std::initializer_list<int> PARKING_RADIOS = {IDC_REC_PARKING_ON, IDC_REC_PARKING_THIRD, IDC_REC_PARKING_OFF};
// The sliders that only matter while the car is parked.
constexpr int PARKING_SLIDERS[] = {IDC_REC_PARKING_IMPACT_SLIDER, IDC_REC_MOTION_SLIDER, IDC_REC_TIMER_SLIDER,
                                   IDC_REC_VOLTAGE_12V_SLIDER, IDC_REC_VOLTAGE_24V_SLIDER};
// Those of them that the parking mode switches on its own; the cut-off voltages also serve the
// low voltage shutdown.
constexpr int PARKING_MODE_SLIDERS[] = {IDC_REC_TIMER_SLIDER, IDC_REC_PARKING_IMPACT_SLIDER, IDC_REC_MOTION_SLIDER};

// Impact sensitivity 1 (insensitive) to 5, starting in the middle.
SliderSetup ImpactSlider(HFONT font) {
    return {font, {L"1", L"2", L"3", L"4", L"5"}, skin::SLIDER_LABEL_ENDS | skin::SLIDER_LABEL_LOWER_MIDDLE,
            1, 5, 1, 3, skin::SLIDER_TIP_POSITION};
}

constexpr int PARKING_POPUP_WIDTH = 490;
constexpr int SHUTDOWN_POPUP_WIDTH = 330;
constexpr int POPUP_HEIGHT = 170;

}  // namespace

CParkingDlg::CParkingDlg() : CBaseDialog(IDD_PAGE_RECORD) {
    m_nScrollMax = 500;
    m_nScrollStep = 80;
}

int CParkingDlg::FocusSinkId() const { return IDC_REC_FOCUS_SINK; }

std::array<CParkingDlg::SliderField, 7> CParkingDlg::Sliders() {
    return {{
        {&m_sliderImpact, IDC_REC_IMPACT_SLIDER, &SetupConfig::impact_sensitivity_continuous},
        {&m_sliderParkingImpact, IDC_REC_PARKING_IMPACT_SLIDER, &SetupConfig::impact_sensitivity_parking},
        {&m_sliderMotion, IDC_REC_MOTION_SLIDER, &SetupConfig::motion_sensitivity},
        {&m_sliderTimer, IDC_REC_TIMER_SLIDER, &SetupConfig::parking_timer_hours},
        {&m_sliderVoltage12, IDC_REC_VOLTAGE_12V_SLIDER, &SetupConfig::low_voltage_12v},
        {&m_sliderVoltage24, IDC_REC_VOLTAGE_24V_SLIDER, &SetupConfig::low_voltage_24v},
        {&m_sliderBrightness, IDC_REC_BRIGHTNESS_SLIDER, &SetupConfig::brightness},
    }};
}

BOOL CParkingDlg::OnInitDialog() {
    for (const SliderField& entry : Sliders()) entry.slider->Subclass(GetDlgItem(GetSafeHwnd(), entry.id));
    return CBaseDialog::OnInitDialog();
}

// --- layout ---

// Insensitive label, slider, sensitive label on one row; the labels sit level with the
// slider's tick labels.
void CParkingDlg::BuildSensitivityRow(int lowId, CSubSlider& slider, int sliderId, int highId, int top,
                                      const SliderSetup& setup) {
    HWND page = GetSafeHwnd();
    HFONT text = m_hFontText.Get();
    const int labelTop = top + 42;
    const SIZE low = PlaceLabel(page, lowId, GetLangText(L"IDS_STRING127"), text, 60, labelTop);
    PlaceControl(page, sliderId, low.cx + 60, top, SLIDER_WIDTH, SLIDER_HEIGHT);
    PlaceLabel(page, highId, GetLangText(L"IDS_STRING128"), text, low.cx + 60 + SLIDER_WIDTH + 20, labelTop);
    SetUpSlider(slider, setup, m_scale);
}

// The timer label sits left of the slider, level with its tick labels. A label that reaches
// past the start of the slider's channel at this scale moves the slider right, clear of it;
// every label that fits keeps the slider where it always was.
int CParkingDlg::TimerSliderLeft(HWND label) const {
    constexpr int LABEL_LEFT = 55;
    constexpr int SLIDER_LEFT = 110;
    constexpr int CHANNEL_INSET = 8;  // a trackbar draws its channel this far in from its left side
    RECT placed{};
    if (!label || !GetWindowRect(label, &placed)) return SLIDER_LEFT;
    const int labelRight = m_scale.Scale(LABEL_LEFT) + (placed.right - placed.left);
    int left = SLIDER_LEFT;
    while (m_scale.Scale(left) + m_scale.Scale(CHANNEL_INSET) < labelRight) ++left;
    return left;
}

void CParkingDlg::BuildPage() {
    HWND page = GetSafeHwnd();
    HFONT text = m_hFontText.Get();
    HFONT bold = m_hFontBold.Get();

    PlaceHeader(IDC_REC_IMPACT_HEADER, GetLangText(L"IDS_STRING216"), 15, 20);
    BuildSensitivityRow(IDC_REC_IMPACT_LOW, m_sliderImpact, IDC_REC_IMPACT_SLIDER, IDC_REC_IMPACT_HIGH, 55,
                        ImpactSlider(text));

    PlaceHeader(IDC_REC_BRIGHTNESS_HEADER, GetLangText(L"IDS_STRING215"), 15, 147);
    PlaceControl(page, IDC_REC_BRIGHTNESS_SLIDER, 110, 177, SLIDER_WIDTH, BRIGHTNESS_SLIDER_HEIGHT);
    PlaceLabel(page, IDC_REC_BRIGHTNESS_DARK, GetLangText(L"IDS_STRING112"), text, 75, 222);
    PlaceLabel(page, IDC_REC_BRIGHTNESS_LIGHT, GetLangText(L"IDS_STRING113"), text, 460, 222);
    SetUpSlider(m_sliderBrightness, {nullptr, {}, 0, 0, 2, 1, std::nullopt, skin::SLIDER_TIP_POSITION}, m_scale);

    PlaceHeader(IDC_REC_PARKING_HEADER, GetLangText(L"IDS_STRING104"), 15, 252);
    PlaceLabel(page, IDC_REC_PARKING_ON, GetLangText(L"IDS_STRING135"), text, 25, 282);
    PlaceLabel(page, IDC_REC_PARKING_OFF, GetLangText(L"IDS_STRING136"), text, 25, 312);

    PlaceHeader(IDC_REC_PARKING_IMPACT_HEADER, GetLangText(L"IDS_STRING222"), 15, 352);
    BuildSensitivityRow(IDC_REC_PARKING_IMPACT_LOW, m_sliderParkingImpact, IDC_REC_PARKING_IMPACT_SLIDER,
                        IDC_REC_PARKING_IMPACT_HIGH, 387, ImpactSlider(text));

    PlaceHeader(IDC_REC_MOTION_HEADER, GetLangText(L"IDS_STRING251"), 15, 499);
    // The motion slider reads as levels, not as raw positions; asked for a position past its
    // end, it starts at the last one.
    BuildSensitivityRow(IDC_REC_MOTION_LOW, m_sliderMotion, IDC_REC_MOTION_SLIDER, IDC_REC_MOTION_HIGH, 534,
                        {text, pagechoices::SliderLabelsOf(&SetupConfig::motion_sensitivity),
                         skin::SLIDER_LABEL_ALL, 0, 3, 1, 4, skin::SLIDER_TIP_MOTION_LEVEL});

    PlaceHeader(IDC_REC_TIMER_HEADER, GetLangText(L"IDS_STRING140"), 15, 646);
    PlaceLabel(page, IDC_REC_TIMER_LABEL, GetLangText(L"IDS_STRING141"), text, 55, 723);
    PlaceControl(page, IDC_REC_TIMER_SLIDER, TimerSliderLeft(GetDlgItem(page, IDC_REC_TIMER_LABEL)), 681, SLIDER_WIDTH,
                 SLIDER_HEIGHT);
    SetUpSlider(m_sliderTimer, {text, pagechoices::SliderLabelsOf(&SetupConfig::parking_timer_hours),
                                skin::SLIDER_LABEL_ALL, 0, 3, 1, 4, skin::SLIDER_TIP_PARKING_HOURS}, m_scale);

    PlaceHeader(IDC_REC_VOLTAGE_HEADER, GetLangText(L"IDS_STRING142"), 15, 793);
    const SIZE label12 = PlaceLabel(page, IDC_REC_VOLTAGE_12V_LABEL, GetLangText(L"IDS_STRING143"), bold, 30, 828);
    PlaceControl(page, IDC_REC_VOLTAGE_12V_SLIDER, label12.cx + 30, 828, SLIDER_WIDTH, SLIDER_HEIGHT);
    SetUpSlider(m_sliderVoltage12, {text, pagechoices::SliderLabelsOf(&SetupConfig::low_voltage_12v),
                                    skin::SLIDER_LABEL_ENDS | skin::SLIDER_LABEL_UPPER_MIDDLE, 0, 7, 1, 4,
                                    skin::SLIDER_TIP_VOLTS_12}, m_scale);
    const SIZE label24 = PlaceLabel(page, IDC_REC_VOLTAGE_24V_LABEL, GetLangText(L"IDS_STRING144"), bold, 30, 928);
    PlaceControl(page, IDC_REC_VOLTAGE_24V_SLIDER, label24.cx + 30, 928, SLIDER_WIDTH, SLIDER_HEIGHT);
    SetUpSlider(m_sliderVoltage24, {text, pagechoices::SliderLabelsOf(&SetupConfig::low_voltage_24v),
                                    skin::SLIDER_LABEL_ENDS | skin::SLIDER_LABEL_UPPER_MIDDLE, 0, 7, 1, 4,
                                    skin::SLIDER_TIP_VOLTS_24}, m_scale);

    // The sliders show no text of their own: screen readers name them after the label beside
    // them, the section header or, for the two cut-off voltages, the vehicle voltage.
    const std::pair<CSubSlider*, const wchar_t*> names[] = {
        {&m_sliderImpact, L"IDS_STRING216"}, {&m_sliderBrightness, L"IDS_STRING215"},
        {&m_sliderParkingImpact, L"IDS_STRING222"}, {&m_sliderMotion, L"IDS_STRING251"},
        {&m_sliderTimer, L"IDS_STRING140"}, {&m_sliderVoltage12, L"IDS_STRING143"},
        {&m_sliderVoltage24, L"IDS_STRING144"}};
    for (const auto& [slider, key] : names) slider->SetAccessibleName(GetLangText(key));

    m_nScrollMax = 561;
}

// --- showing the record ---

void CParkingDlg::LoadControls() {
    const SetupConfig* record = g_pSetupConfig;
    if (!record) return;
    HWND page = GetSafeHwnd();
    using pagechoices::SliderPosition;

    SetSliderPosition(page, IDC_REC_IMPACT_SLIDER,
                      SliderPosition(*record, &SetupConfig::impact_sensitivity_continuous));
    ShowParkingMode();
    SetSliderPosition(page, IDC_REC_PARKING_IMPACT_SLIDER,
                      SliderPosition(*record, &SetupConfig::impact_sensitivity_parking));
    SetSliderPosition(page, IDC_REC_MOTION_SLIDER, SliderPosition(*record, &SetupConfig::motion_sensitivity));
    SetSliderPosition(page, IDC_REC_TIMER_SLIDER, SliderPosition(*record, &SetupConfig::parking_timer_hours));
    SetSliderPosition(page, IDC_REC_VOLTAGE_12V_SLIDER, SliderPosition(*record, &SetupConfig::low_voltage_12v));
    SetSliderPosition(page, IDC_REC_VOLTAGE_24V_SLIDER, SliderPosition(*record, &SetupConfig::low_voltage_24v));
    for (int id = IDC_REC_WINTER_FIRST; id <= IDC_REC_WINTER_LAST; ++id) {
        SetChecked(page, id, (record->winter_months >> (id - IDC_REC_WINTER_FIRST)) & 1u);
    }
    CheckOnly(page, {IDC_REC_CHOICE_ON, IDC_REC_CHOICE_OFF},
              pagechoices::ShownOption(*record, &SetupConfig::parking_choice));
    SetSliderPosition(page, IDC_REC_BRIGHTNESS_SLIDER, SliderPosition(*record, &SetupConfig::brightness));
}

void CParkingDlg::ShowParkingMode() {
    HWND page = GetSafeHwnd();
    const int shown = pagechoices::ShownOption(*g_pSetupConfig, &SetupConfig::parking_mode);
    CheckOnly(page, PARKING_RADIOS, shown);
    EnableParkingControls(shown != IDC_REC_PARKING_OFF, true);
    if (shown == IDC_REC_PARKING_THIRD) Enable(page, IDC_REC_MOTION_SLIDER, false);
}

void CParkingDlg::EnableParkingControls(bool enable, bool apply) {
    HWND page = GetSafeHwnd();
    const bool parkingOn = g_pSetupConfig->parking_mode != 0;
    if (parkingOn) {
        for (int id : PARKING_SLIDERS) Enable(page, id, true);
    }
    if (apply) {
        for (int id : PARKING_MODE_SLIDERS) Enable(page, id, enable);
    }
    if (!parkingOn) {
        for (int id : PARKING_SLIDERS) Enable(page, id, false);
    }
}

void CParkingDlg::EnableWinterMonths(bool enabled) {
    for (int id = IDC_REC_WINTER_FIRST; id <= IDC_REC_WINTER_LAST; ++id) Enable(GetSafeHwnd(), id, enabled);
}

// --- notifications ---

bool CParkingDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message == WM_HSCROLL && lParam != 0) {
        // Every notification, also those of a drag in progress: the record follows the thumb.
        OnSliderMoved(reinterpret_cast<HWND>(lParam));
        return false;
    }
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED && OnButtonClicked(LOWORD(wParam))) {
        result = 0;
        return true;
    }
    return CBaseDialog::OnMessage(message, wParam, lParam, result);
}

void CParkingDlg::OnSliderMoved(HWND slider) {
    if (!g_pSetupConfig) return;
    const int id = GetDlgCtrlID(slider);
    for (const SliderField& entry : Sliders()) {
        if (entry.id != id) continue;
        g_pSetupConfig->*entry.field = pagechoices::SliderValue(entry.field, GetSliderPosition(slider));
        return;
    }
}

bool CParkingDlg::OnButtonClicked(int id) {
    if (!g_pSetupConfig) return false;
    switch (id) {
    case IDC_REC_PARKING_ON:
    case IDC_REC_PARKING_THIRD:
    case IDC_REC_PARKING_OFF:
        OnParkingMode(id);
        return true;
    case IDC_REC_SHUTDOWN_ON:
    case IDC_REC_SHUTDOWN_OFF:
        OnLowVoltageShutdown(id);
        return true;
    case IDC_REC_CHOICE_ON:
    case IDC_REC_CHOICE_OFF:
        OnParkingChoice(id);
        return true;
    default:
        if (id >= IDC_REC_WINTER_FIRST && id <= IDC_REC_WINTER_LAST) {
            OnWinterMonth(id);
            return true;
        }
        return false;
    }
}

// Enabled and the third mode take effect at once; disabled only after the user confirms.
void CParkingDlg::OnParkingMode(int id) {
    HWND page = GetSafeHwnd();
    SetupConfig& record = *g_pSetupConfig;
    if (id != IDC_REC_PARKING_OFF) {
        record.parking_mode = pagechoices::OptionValue(&SetupConfig::parking_mode, id).value_or(1);
        EnableParkingControls(true, true);
        if (id == IDC_REC_PARKING_THIRD) Enable(page, IDC_REC_MOTION_SLIDER, false);
        return;
    }
    if (!IsChecked(page, IDC_REC_PARKING_OFF) || record.parking_mode == 0) return;

    const std::wstring message = GetLangLines({L"IDS_STRING177", L"IDS_STRING1770"});
    if (AskYesNo(GetLangText(L"IDS_STRING104"), message, PARKING_POPUP_WIDTH, POPUP_HEIGHT)) {
        // The pop-up's loop may have run other handlers; the record is read again.
        if (!g_pSetupConfig) return;
        g_pSetupConfig->parking_mode = 0;
        EnableParkingControls(false, true);
        Enable(page, IDC_REC_MOTION_SLIDER, false);
        return;
    }
    if (!g_pSetupConfig) return;
    // No: the page goes back to the mode the record keeps.
    ShowParkingMode();
    const int shown = pagechoices::ShownOption(*g_pSetupConfig, &SetupConfig::parking_mode);
    if (shown != 0) SetFocus(GetDlgItem(page, shown));
}

// On takes effect at once; off only after the user confirms, because an empty car battery is
// the price of a mistake.
void CParkingDlg::OnLowVoltageShutdown(int id) {
    HWND page = GetSafeHwnd();
    if (id == IDC_REC_SHUTDOWN_ON) {
        g_pSetupConfig->low_voltage_shutdown = 1;
        EnableParkingControls(true, false);
        EnableWinterMonths(true);
        return;
    }
    if (g_pSetupConfig->low_voltage_shutdown == 0) return;

    const std::wstring message = GetLangLines({L"IDS_STRING247", L"IDS_STRING248"}) + GetLangText(L"IDS_STRING249");
    const bool confirmed = AskYesNo(GetLangText(L"IDS_STRING246"), message, SHUTDOWN_POPUP_WIDTH, POPUP_HEIGHT);
    if (!g_pSetupConfig) return;
    if (confirmed) {
        g_pSetupConfig->low_voltage_shutdown = 0;
        EnableParkingControls(false, false);
        EnableWinterMonths(false);
        return;
    }
    g_pSetupConfig->low_voltage_shutdown = 1;
    CheckOnly(page, {IDC_REC_SHUTDOWN_ON, IDC_REC_SHUTDOWN_OFF}, IDC_REC_SHUTDOWN_ON);
    SetFocus(GetDlgItem(page, IDC_REC_SHUTDOWN_ON));
    EnableParkingControls(true, false);
    EnableWinterMonths(true);
}

void CParkingDlg::OnParkingChoice(int id) {
    g_pSetupConfig->parking_choice = pagechoices::OptionValue(&SetupConfig::parking_choice, id).value_or(0);
}

void CParkingDlg::OnWinterMonth(int id) {
    const uint32_t bit = 1u << (id - IDC_REC_WINTER_FIRST);
    if (IsChecked(GetSafeHwnd(), id)) {
        g_pSetupConfig->winter_months |= bit;
    } else {
        g_pSetupConfig->winter_months &= ~bit;
    }
}

// The pop-up belongs to the main window, which it keeps disabled while it asks, so the page
// cannot be changed behind an open question.
bool CParkingDlg::AskYesNo(const std::wstring& caption, const std::wstring& message, int width, int height) {
    CMsgPopupDlg popup;
    popup.SetContent(caption, message, width, height);
    return popup.DoModal(GetAncestor(GetSafeHwnd(), GA_ROOT)) == IDOK;
}
