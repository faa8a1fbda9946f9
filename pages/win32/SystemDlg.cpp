#include "pages/win32/SystemDlg.h"

#include <algorithm>

#include <commctrl.h>

#include "localisation/LanguageCodeTable.h"
#include "localisation/LanguageTable.h"
#include "pages/PageChoices.h"
#include "pages/PageControlIds.h"
#include "pages/SystemPageRules.h"
#include "pages/win32/PageControls.h"
#include "record/ClockFile.h"
#include "record/SettingFields.h"
#include "resources/ResourceIds.h"
#include "skin/SliderText.h"
#include "window/Handles.h"

using namespace pagecontrols;

namespace {

// The time zone list is as wide as seventy characters of the page's text font.
constexpr const wchar_t* ZONE_LIST_SAMPLE_TEXT =
    L"123456789 123456789 123456789 123456789 123456789 123456789 123456789 ";
constexpr const wchar_t* TIME_FORMAT = L"hh:mm:ss tt";
// How many items an opened list shows before it scrolls.
constexpr int LIST_ROWS = 12;

constexpr std::initializer_list<int> CLOCK_CONTROLS = {IDC_SYS_CLOCK_TIME, IDC_SYS_CLOCK_DATE, IDC_SYS_CLOCK_NOW};

// The fields written by the page's radio groups; each button's value comes from the field table.
constexpr int32_t SetupConfig::*RADIO_FIELDS[] = {
    &SetupConfig::daylight_saving, &SetupConfig::speed_unit,    &SetupConfig::speed_stamp,
    &SetupConfig::safety_camera_alert, &SetupConfig::system_choice, &SetupConfig::lcd_auto_off_ms,
};

SYSTEMTIME PickerTime(HWND page, int id) {
    SYSTEMTIME time{};
    SendDlgItemMessageW(page, id, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time));
    return time;
}

void SetPickerTime(HWND page, int id, const SYSTEMTIME& time) {
    SendDlgItemMessageW(page, id, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&time));
}

void TakeClockDate(ClockTime& clock, const SYSTEMTIME& time) {
    clock.wYear = time.wYear;
    clock.wMonth = time.wMonth;
    clock.wDayOfWeek = time.wDayOfWeek;
    clock.wDay = time.wDay;
}

void TakeClockTimeOfDay(ClockTime& clock, const SYSTEMTIME& time) {
    clock.wHour = time.wHour;
    clock.wMinute = time.wMinute;
    clock.wSecond = time.wSecond;
    clock.wMilliseconds = time.wMilliseconds;
}

}  // namespace

CSystemDlg::CSystemDlg(CCardSession& card, CatalogueSource catalogue)
    : CBaseDialog(IDD_PAGE_SYSTEM), m_card(card), m_takeCatalogue(std::move(catalogue)),
      m_bCatalogueDeferred(static_cast<bool>(m_takeCatalogue)) {
    m_nScrollMax = 250;
    m_nScrollStep = 100;
    if (!m_takeCatalogue) m_takeCatalogue = [] { return std::make_unique<CTimeZoneInfoManager>(); };
}

CTimeZoneInfoManager& CSystemDlg::TimeZoneCatalogue() {
    if (!m_pTimeZones) m_pTimeZones = m_takeCatalogue();
    return *m_pTimeZones;
}

int CSystemDlg::FocusSinkId() const { return IDC_SYS_FOCUS_SINK; }

BOOL CSystemDlg::OnInitDialog() {
    m_sliderVoice.Subclass(GetDlgItem(GetSafeHwnd(), IDC_SYS_VOICE_SLIDER));
    // The touch calibration reset has no place in the layout: the keyboard focus is its only
    // way in, so Tab must not pass it over for having no area.
    win32::SetKeyboardReachable(GetDlgItem(GetSafeHwnd(), IDC_SYS_TOUCH_RESET), true);
    return CBaseDialog::OnInitDialog();
}

// --- layout ---

void CSystemDlg::BuildPage() {
    HWND page = GetSafeHwnd();
    HFONT text = m_hFontText.Get();

    // Controls without a text of their own are named for screen readers after the label
    // beside them: here the section header.
    PlaceHeader(IDC_SYS_LANGUAGE_HEADER, GetLangText(L"IDS_STRING193"), 15, 20);
    PlaceFontCtrl(IDC_SYS_LANGUAGE_LIST, text, L"", 25, 45, 250, 25, false);
    SetDropDownRows(page, IDC_SYS_LANGUAGE_LIST, LIST_ROWS);
    NameControl(IDC_SYS_LANGUAGE_LIST, GetLangText(L"IDS_STRING193"));

    PlaceHeader(IDC_SYS_VOICE_HEADER, GetLangText(L"IDS_STRING217"), 15, 85);
    PlaceControl(page, IDC_SYS_VOICE_SLIDER, 150, 130, 350, 55);
    PlaceLabel(page, IDC_SYS_VOICE_LABEL, GetLangText(L"IDS_STRING117"), text, 60, 172);
    SetUpSlider(m_sliderVoice, {text, {L"OFF", L"1", L"2", L"3"}, skin::SLIDER_LABEL_ALL, 0, 3, 0, 2,
                                skin::SLIDER_TIP_POSITION}, m_scale);
    m_sliderVoice.SetAccessibleName(GetLangText(L"IDS_STRING217"));

    PlaceHeader(IDC_SYS_ZONE_HEADER, GetLangText(L"IDS_STRING185"), 15, 217);
    PlaceFontCtrl(IDC_SYS_ZONE_LIST, text, ZONE_LIST_SAMPLE_TEXT, 25, 252, 0, 25, true);
    SetDropDownRows(page, IDC_SYS_ZONE_LIST, LIST_ROWS);
    NameControl(IDC_SYS_ZONE_LIST, GetLangText(L"IDS_STRING185"));

    PlaceHeader(IDC_SYS_CLOCK_HEADER, GetLangText(L"IDS_STRING182"), 15, 292);
    for (int id : {IDC_SYS_CLOCK_CHECK, IDC_SYS_CLOCK_DATE, IDC_SYS_CLOCK_TIME}) {
        NameControl(id, GetLangText(L"IDS_STRING182"));
    }
    const int box = PlaceLabel(page, IDC_SYS_CLOCK_CHECK, L"", text, 25, 322).cx;
    PlaceFontCtrl(IDC_SYS_CLOCK_DATE, text, L"", box + 40, 322, 90, 25, false);
    PlaceFontCtrl(IDC_SYS_CLOCK_TIME, text, L"", box + 140, 322, 100, 25, false);
    SendDlgItemMessageW(page, IDC_SYS_CLOCK_TIME, DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(TIME_FORMAT));
    PlaceTextCtrl(IDC_SYS_CLOCK_NOW, text, GetLangText(L"IDS_STRING184"), box + 250, 322, 0, 25, true);
    SetChecked(page, IDC_SYS_CLOCK_CHECK, m_card.Clock().write);
    EnableClockControls(m_card.Clock().write);

    PlaceHeader(IDC_SYS_DST_HEADER, GetLangText(L"IDS_STRING196"), 15, 367);
    PlaceLabel(page, IDC_SYS_DST_ON, GetLangText(L"IDS_STRING115"), text, 25, 397);
    PlaceLabel(page, IDC_SYS_DST_OFF, GetLangText(L"IDS_STRING116"), text, 25, 427);

    PlaceHeader(IDC_SYS_SPEED_HEADER, GetLangText(L"IDS_STRING190"), 15, 472);
    PlaceLabel(page, IDC_SYS_SPEED_KMH, GetLangText(L"IDS_STRING191"), text, 25, 502);
    PlaceLabel(page, IDC_SYS_SPEED_MPH, GetLangText(L"IDS_STRING192"), text, 125, 502);

    PlaceHeader(IDC_SYS_STAMP_HEADER, GetLangText(L"IDS_STRING309"), 15, 542);
    PlaceLabel(page, IDC_SYS_STAMP_ON, GetLangText(L"IDS_STRING115"), text, 25, 582);
    PlaceLabel(page, IDC_SYS_STAMP_OFF, GetLangText(L"IDS_STRING116"), text, 25, 607);

    PlaceHeader(IDC_SYS_ALERT_HEADER, GetLangText(L"IDS_STRING119"), 15, 647);
    const SIZE alertOn = PlaceLabel(page, IDC_SYS_ALERT_ON, GetLangText(L"IDS_STRING115"), text, 25, 687);
    const SIZE alertOff = PlaceLabel(page, IDC_SYS_ALERT_OFF, GetLangText(L"IDS_STRING116"), text, 25, 712);

    // The touch calibration reset shows beside the last choices while it has the focus.
    m_btnTouchReset.Configure(GetDlgItem(page, IDC_SYS_TOUCH_RESET), GetLangText(L"IDS_STRING424"), text,
                              POINT{25 + std::max(alertOn.cx, alertOff.cx) + 40, 700});

    m_nScrollMax = 305;
}

void CSystemDlg::EnableClockControls(bool enabled) {
    for (int id : CLOCK_CONTROLS) Enable(GetSafeHwnd(), id, enabled);
}

// --- showing the record ---

void CSystemDlg::LoadControls() {
    if (!g_pSetupConfig) return;
    HWND page = GetSafeHwnd();

    // The window starts the catalogue's worker once it is painted; until its catalogue is
    // taken, the list (on this page, hidden until then) waits, and everything else is shown now.
    m_bZoneListWaiting = !m_pTimeZones && m_bCatalogueDeferred;
    if (!m_bZoneListWaiting) FillTimeZoneList();
    const SetupConfig& record = *g_pSetupConfig;
    SetSliderPosition(page, IDC_SYS_VOICE_SLIDER, VoiceSliderPosition(record));
    CheckOnly(page, {IDC_SYS_CHOICE_1, IDC_SYS_CHOICE_2, IDC_SYS_CHOICE_3, IDC_SYS_CHOICE_0},
              pagechoices::ShownOption(record, &SetupConfig::system_choice));

    m_card.Clock().write = false;
    SetChecked(page, IDC_SYS_CLOCK_CHECK, false);
    EnableClockControls(false);

    int languageRadio = 0;
    for (const auto& [id, index] : LANGUAGE_RADIO_INDEXES) {
        if (record.language_index == index) languageRadio = id;
    }
    CheckOnly(page, {IDC_SYS_LANGUAGE_0, IDC_SYS_LANGUAGE_1, IDC_SYS_LANGUAGE_4}, languageRadio);
    FillLanguageList();
    SelectComboItem(page, IDC_SYS_LANGUAGE_LIST, record.language_index);

    CheckOnly(page, {IDC_SYS_DST_ON, IDC_SYS_DST_OFF}, pagechoices::ShownOption(record, &SetupConfig::daylight_saving));
    CheckOnly(page, {IDC_SYS_SPEED_KMH, IDC_SYS_SPEED_MPH}, pagechoices::ShownOption(record, &SetupConfig::speed_unit));
    SetSliderPosition(page, IDC_SYS_LEVEL_SLIDER, pagechoices::SliderPosition(record, &SetupConfig::system_level));
    CheckOnly(page, {IDC_SYS_AUTO_OFF_30S, IDC_SYS_AUTO_OFF_10MIN, IDC_SYS_AUTO_OFF_NEVER},
              pagechoices::ShownOption(record, &SetupConfig::lcd_auto_off_ms));
    CheckOnly(page, {IDC_SYS_ALERT_ON, IDC_SYS_ALERT_OFF},
              pagechoices::ShownOption(record, &SetupConfig::safety_camera_alert));
    CheckOnly(page, {IDC_SYS_STAMP_ON, IDC_SYS_STAMP_OFF}, pagechoices::ShownOption(record, &SetupConfig::speed_stamp));
}

void CSystemDlg::ListTimeZones() {
    if (!m_bZoneListWaiting || !g_pSetupConfig) return;
    m_bZoneListWaiting = false;
    FillTimeZoneList();
}

void CSystemDlg::FillTimeZoneList() {
    std::vector<std::wstring> names;
    CTimeZoneInfoManager& catalogue = TimeZoneCatalogue();
    names.reserve(static_cast<size_t>(catalogue.GetCount()));
    for (int i = 0; i < catalogue.GetCount(); ++i) names.emplace_back(catalogue.GetAt(i)->m_szDisplay);
    FillComboBox(GetSafeHwnd(), IDC_SYS_ZONE_LIST, names);

    const int currentZone = catalogue.GetCount() > 0 ? catalogue.FindCurrentZone() : 0;
    m_nTimeZoneIndex = SelectRecordZone(*g_pSetupConfig, catalogue, currentZone);
    SelectComboItem(GetSafeHwnd(), IDC_SYS_ZONE_LIST, m_nTimeZoneIndex);
}

// The card's language list does not change while the program runs, so it is filled once.
void CSystemDlg::FillLanguageList() {
    if (GetComboCount(GetSafeHwnd(), IDC_SYS_LANGUAGE_LIST) > 0) return;
    FillComboBox(GetSafeHwnd(), IDC_SYS_LANGUAGE_LIST, LanguageListNames(m_card.VersionFile().m_arrLangCodes));
}

// --- notifications ---

bool CSystemDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case WM_HSCROLL:
        if (lParam != 0) OnVoiceSlider(reinterpret_cast<HWND>(lParam));
        return false;
    case WM_DESTROY:
        win32::SetKeyboardReachable(GetDlgItem(GetSafeHwnd(), IDC_SYS_TOUCH_RESET), false);
        break;
    case WM_COMMAND:
        if (!g_pSetupConfig) break;
        if (HIWORD(wParam) == CBN_SELCHANGE) {
            if (LOWORD(wParam) == IDC_SYS_LANGUAGE_LIST) OnLanguageSelChange();
            if (LOWORD(wParam) == IDC_SYS_ZONE_LIST) OnTimeZoneSelChange();
            result = 0;
            return true;
        }
        if (HIWORD(wParam) != BN_CLICKED) break;
        switch (LOWORD(wParam)) {
        case IDC_SYS_CLOCK_CHECK: OnClockCheck(); break;
        case IDC_SYS_CLOCK_NOW: OnGetCurrentTime(); break;
        case IDC_SYS_TOUCH_RESET: OnResetTouchCalibration(); break;
        default:
            if (!OnRadioClicked(LOWORD(wParam))) return CBaseDialog::OnMessage(message, wParam, lParam, result);
        }
        result = 0;
        return true;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (!header || header->code != static_cast<UINT>(DTN_DATETIMECHANGE)) break;
        if (header->idFrom == IDC_SYS_CLOCK_TIME) OnTimeChanged();
        if (header->idFrom == IDC_SYS_CLOCK_DATE) OnDateChanged();
        result = 0;
        return true;
    }
    default:
        break;
    }
    return CBaseDialog::OnMessage(message, wParam, lParam, result);
}

void CSystemDlg::OnVoiceSlider(HWND slider) {
    if (!g_pSetupConfig) return;
    const int position = GetSliderPosition(slider);
    switch (GetDlgCtrlID(slider)) {
    case IDC_SYS_VOICE_SLIDER: StoreVoicePosition(*g_pSetupConfig, position); break;
    case IDC_SYS_LEVEL_SLIDER: g_pSetupConfig->system_level = position; break;
    default: break;
    }
}

void CSystemDlg::OnLanguageSelChange() {
    const int index = GetComboSelection(GetSafeHwnd(), IDC_SYS_LANGUAGE_LIST);
    if (index != CB_ERR) g_pSetupConfig->language_index = index;
}

void CSystemDlg::OnTimeZoneSelChange() {
    const int index = GetComboSelection(GetSafeHwnd(), IDC_SYS_ZONE_LIST);
    const CRegTimeZoneInfo* zone = TimeZoneCatalogue().GetAt(index);
    if (!zone) return;
    m_nTimeZoneIndex = index;
    StoreTimeZone(*g_pSetupConfig, *zone);
}

bool CSystemDlg::OnRadioClicked(int id) {
    for (const auto& [languageId, index] : LANGUAGE_RADIO_INDEXES) {
        if (id != languageId) continue;
        g_pSetupConfig->language_index = index;
        return true;
    }
    for (int32_t SetupConfig::*field : RADIO_FIELDS) {
        if (const std::optional<int32_t> value = pagechoices::OptionValue(field, id)) {
            g_pSetupConfig->*field = *value;
            return true;
        }
    }
    return false;
}

// --- clock ---

// Ticking the box makes Save write the clock file with what the two pickers show.
void CSystemDlg::OnClockCheck() {
    HWND page = GetSafeHwnd();
    const bool checked = IsChecked(page, IDC_SYS_CLOCK_CHECK);
    EnableClockControls(checked);
    ClockRequest& clock = m_card.Clock();
    clock.write = checked;
    if (!checked) return;
    TakeClockDate(clock.time, PickerTime(page, IDC_SYS_CLOCK_DATE));
    TakeClockTimeOfDay(clock.time, PickerTime(page, IDC_SYS_CLOCK_TIME));
}

void CSystemDlg::OnTimeChanged() {
    ClockRequest& clock = m_card.Clock();
    if (clock.write) TakeClockTimeOfDay(clock.time, PickerTime(GetSafeHwnd(), IDC_SYS_CLOCK_TIME));
}

void CSystemDlg::OnDateChanged() {
    ClockRequest& clock = m_card.Clock();
    if (clock.write) TakeClockDate(clock.time, PickerTime(GetSafeHwnd(), IDC_SYS_CLOCK_DATE));
}

// The PC's local time to the second, into both pickers.
void CSystemDlg::OnGetCurrentTime() {
    HWND page = GetSafeHwnd();
    SYSTEMTIME now{};
    GetLocalTime(&now);
    now.wMilliseconds = 0;
    SetPickerTime(page, IDC_SYS_CLOCK_DATE, now);
    SetPickerTime(page, IDC_SYS_CLOCK_TIME, now);
    ClockRequest& clock = m_card.Clock();
    if (!clock.write) return;
    const SYSTEMTIME shown = PickerTime(page, IDC_SYS_CLOCK_TIME);
    TakeClockDate(clock.time, shown);
    TakeClockTimeOfDay(clock.time, shown);
}

// --- touch calibration ---

// An empty set_touch_cal.txt in the root of the card's drive asks the camera to reset its
// touch calibration. The user is told it is done only once the file exists, and told when it
// could not be made.
void CSystemDlg::OnResetTouchCalibration() {
    HWND page = GetSafeHwnd();
    const std::wstring title = GetLangText(L"IDS_STRING219");
    const std::wstring question = GetLangText(L"IDS_STRING220") + L"\n" + GetLangText(L"IDS_STRING2200");
    if (MessageBoxW(page, question.c_str(), title.c_str(), MB_YESNO) != IDYES) return;

    if (!m_card.WriteTouchCalibrationRequest()) {
        MessageBoxW(page, GetLangMessage(L"IDS_STRING407").c_str(), title.c_str(), MB_OK | MB_ICONWARNING);
        return;
    }
    MessageBoxW(page, GetLangText(L"IDS_STRING221").c_str(), title.c_str(), MB_OK);
}
