// What a screen reader hears for the page controls that show no text of their own (sliders,
// lists, date pickers, the clock check box) and for the touch calibration command that only the
// keyboard reaches, in more than one language.

#include <windows.h>
#include <oleacc.h>

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "localisation/LanguageTable.h"
#include "pages/PageControlIds.h"
#include "pages/win32/ParkingDlg.h"
#include "pages/win32/SystemDlg.h"
#include "record/SetupConfig.h"
#include "tests/support/RecordBuilder.h"
#include "tests/support/TestFiles.h"
#include "tests/win32/TestWindows.h"

namespace {

// The name the system's accessibility object of a window gives, as a screen reader asks for it.
std::wstring AccessibleName(HWND window) {
    IAccessible* accessible = nullptr;
    if (FAILED(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                          reinterpret_cast<void**>(&accessible))) ||
        !accessible) {
        return L"<no object>";
    }
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    accessible->get_accName(self, &name);
    std::wstring text = name ? name : L"";
    SysFreeString(name);
    accessible->Release();
    return text;
}

struct NamedControl {
    int id;
    const wchar_t* name;
};

struct LanguageCase {
    const wchar_t* language;
    std::vector<NamedControl> record;  // the record page's
    std::vector<NamedControl> system;  // the system page's
    const wchar_t* touchReset;
};

void PrintTo(const LanguageCase& c, std::ostream* out) { *out << testing::PrintToString(c.language); }

class AccessibleNames : public ::testing::TestWithParam<LanguageCase> {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        ASSERT_TRUE(LoadLanguage(GetParam().language));
        ReplaceLiveRecord(std::make_unique<SetupConfig>(testsupport::SampleRecord()));
        ASSERT_TRUE(m_parent.Create(760, 540));
    }
    void TearDown() override {
        FreeLiveRecord();
        LoadLanguage(L"english");
        CoUninitialize();
    }

    // Shows the page and checks what each control is called, through the accessibility layer
    // where it answers and as the control was named where it does not.
    template <typename Page>
    void ExpectNames(Page& page, const std::vector<NamedControl>& controls,
                     std::wstring (*given)(const Page&, int)) {
        ASSERT_TRUE(page.CreatePage(m_parent.Handle()));
        ShowWindow(page.GetSafeHwnd(), SW_SHOWNOACTIVATE);
        page.LoadControls();
        testsupport::PumpMessages();
        for (const NamedControl& control : controls) {
            SCOPED_TRACE(testing::Message() << "control " << control.id);
            EXPECT_EQ(given(page, control.id), control.name);
            const std::wstring heard = AccessibleName(GetDlgItem(page.GetSafeHwnd(), control.id));
            if (!testsupport::RunsUnderWine()) {
                EXPECT_EQ(heard, control.name);
            } else if (heard != control.name) {
                // Wine's accessibility layer ignores annotations and answers the window text.
                EXPECT_EQ(heard, testsupport::WindowText(GetDlgItem(page.GetSafeHwnd(), control.id)));
            }
        }
    }

    testsupport::TestParentWindow m_parent;
};

TEST_P(AccessibleNames, RecordPageSlidersAreNamedAfterTheirLabels) {
    CParkingDlg page;
    ExpectNames<CParkingDlg>(page, GetParam().record, [](const CParkingDlg& p, int id) {
        return static_cast<const CSubSlider*>(win32::CWindow::FromHandle(GetDlgItem(p.GetSafeHwnd(), id)))
            ->GetAccessibleName();
    });
}

TEST_P(AccessibleNames, SystemPageControlsAreNamedAfterTheirLabels) {
    testsupport::TempFolder folder;
    CCardSession card{folder.CardRoot()};
    CSystemDlg page(card);
    ExpectNames<CSystemDlg>(page, GetParam().system, [](const CSystemDlg& p, int id) {
        if (id == IDC_SYS_VOICE_SLIDER) {
            return static_cast<const CSubSlider*>(win32::CWindow::FromHandle(GetDlgItem(p.GetSafeHwnd(), id)))
                ->GetAccessibleName();
        }
        return p.ControlName(id);
    });

    // The touch calibration command: named by its text, and shown with the focus only.
    HWND reset = GetDlgItem(page.GetSafeHwnd(), IDC_SYS_TOUCH_RESET);
    EXPECT_EQ(testsupport::WindowText(reset), GetParam().touchReset);
    EXPECT_EQ(AccessibleName(reset), GetParam().touchReset);
    EXPECT_EQ(testsupport::ChildRect(page.GetSafeHwnd(), IDC_SYS_TOUCH_RESET).right -
                  testsupport::ChildRect(page.GetSafeHwnd(), IDC_SYS_TOUCH_RESET).left,
              0);
    SetFocus(reset);
    const RECT shown = testsupport::ChildRect(page.GetSafeHwnd(), IDC_SYS_TOUCH_RESET);
    const RECT alertOff = testsupport::ChildRect(page.GetSafeHwnd(), IDC_SYS_ALERT_OFF);
    EXPECT_GT(shown.right - shown.left, 40) << "it shows while it has the focus";
    EXPECT_GT(shown.left, alertOff.right) << "beside the last choices";
    SetFocus(GetDlgItem(page.GetSafeHwnd(), IDC_SYS_ALERT_OFF));
    const RECT hidden = testsupport::ChildRect(page.GetSafeHwnd(), IDC_SYS_TOUCH_RESET);
    EXPECT_EQ(hidden.right - hidden.left, 0) << "and takes no area once the focus leaves";
}

INSTANTIATE_TEST_SUITE_P(
    Languages, AccessibleNames,
    ::testing::Values(
        LanguageCase{L"english",
                     {{IDC_REC_IMPACT_SLIDER, L"Impact sensitivity at continuous mode"},
                      {IDC_REC_BRIGHTNESS_SLIDER, L"Brightness"},
                      {IDC_REC_PARKING_IMPACT_SLIDER, L"Impact sensitivity at parking mode"},
                      {IDC_REC_MOTION_SLIDER, L"Motion Sensitivity"},
                      {IDC_REC_TIMER_SLIDER, L"Timer setting for stop recording"},
                      {IDC_REC_VOLTAGE_12V_SLIDER, L"Vehicle voltage 12V"},
                      {IDC_REC_VOLTAGE_24V_SLIDER, L"Vehicle voltage 24V"}},
                     {{IDC_SYS_LANGUAGE_LIST, L"Language"},
                      {IDC_SYS_VOICE_SLIDER, L"Voice guidance"},
                      {IDC_SYS_ZONE_LIST, L"Time zone"},
                      {IDC_SYS_CLOCK_CHECK, L"Date / Time"},
                      {IDC_SYS_CLOCK_DATE, L"Date / Time"},
                      {IDC_SYS_CLOCK_TIME, L"Date / Time"}},
                     L"Initialize touch calibration"},
        LanguageCase{L"german",
                     {{IDC_REC_IMPACT_SLIDER, L"Sto\u00dfempfindlichkeit im Dauermodus"},
                      {IDC_REC_BRIGHTNESS_SLIDER, L"Helligkeit"},
                      {IDC_REC_PARKING_IMPACT_SLIDER, L"Sto\u00dfempfindlichkeit im Parkmodus"},
                      {IDC_REC_MOTION_SLIDER, L"Bewegungsempfindlichkeit"},
                      {IDC_REC_TIMER_SLIDER, L"Timer f\u00fcr Aufnahmestopp"},
                      {IDC_REC_VOLTAGE_12V_SLIDER, L"Bordspannung 12\u00a0V"},
                      {IDC_REC_VOLTAGE_24V_SLIDER, L"Bordspannung 24\u00a0V"}},
                     {{IDC_SYS_LANGUAGE_LIST, L"Sprache"},
                      {IDC_SYS_VOICE_SLIDER, L"Sprachansagen"},
                      {IDC_SYS_ZONE_LIST, L"Zeitzone"},
                      {IDC_SYS_CLOCK_CHECK, L"Datum / Uhrzeit"},
                      {IDC_SYS_CLOCK_DATE, L"Datum / Uhrzeit"},
                      {IDC_SYS_CLOCK_TIME, L"Datum / Uhrzeit"}},
                     L"Touchscreen-Kalibrierung zur\u00fccksetzen"}));

}  // namespace
