#pragma once
// The system settings page: the camera's language, voice guidance, time zone, daylight saving,
// speed unit, speed stamp and safety camera alert, each written into the live record at once.
// It also chooses the date and time that Save writes to the card's clock file (the card
// session's clock request), and writes the request to reset the camera's touch calibration
// through the session.
//
// Some controls are never laid out (language radios, system choice, system level, screen
// auto-off, touch calibration): they keep zero size, only the keyboard reaches them, and they
// still work.

#include "pages/win32/BaseDialog.h"
#include "pages/win32/KeyboardOnlyButton.h"
#include "record/CardSession.h"
#include "skin/win32/SubSlider.h"
#include "timezones/TimeZoneInfoManager.h"

#include <functional>
#include <memory>

class CSystemDlg : public CBaseDialog {
public:
    // Gives the PC's time zone catalogue, once (the window's start-up reads it on a worker).
    using CatalogueSource = std::function<std::unique_ptr<CTimeZoneInfoManager>()>;

    // The language list comes from the card session's version file, the clock request and the
    // touch calibration request go to the session; the session outlives the page. The PC's
    // time zone catalogue is read here, where it is first needed; or, given a source, taken
    // from it once ListTimeZones asks for it.
    explicit CSystemDlg(CCardSession& card, CatalogueSource catalogue = {});

    // Shows the live record. The time zone list is refilled every time and fills in the zone of
    // a record that has none; the language list is filled the first time only. The clock box is
    // unticked, so Save deletes the card's clock file unless the user ticks it again. While a
    // source's catalogue has not been taken yet, the time zone list waits for ListTimeZones.
    void LoadControls() override;
    // Fills the time zone list that LoadControls left waiting for the catalogue (taking it from
    // the source, waiting for its worker if need be). Call it before the page is shown and
    // before the record is saved; does nothing when no list is waiting.
    void ListTimeZones();

    int GetTimeZoneIndex() const { return m_nTimeZoneIndex; }
    // The catalogue the time zone list shows (tests replace it).
    CTimeZoneInfoManager& TimeZoneCatalogue();

protected:
    BOOL OnInitDialog() override;
    void BuildPage() override;
    int FocusSinkId() const override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void FillTimeZoneList();
    void FillLanguageList();
    void EnableClockControls(bool enabled);

    void OnVoiceSlider(HWND slider);
    void OnLanguageSelChange();
    void OnTimeZoneSelChange();
    void OnClockCheck();
    void OnGetCurrentTime();
    void OnTimeChanged();
    void OnDateChanged();
    // The radio buttons: each writes its own value into its field. True when the id is one.
    bool OnRadioClicked(int id);
    void OnResetTouchCalibration();

    CCardSession& m_card;
    CSubSlider m_sliderVoice;  // 1018
    CKeyboardOnlyButton m_btnTouchReset;
    CatalogueSource m_takeCatalogue;
    bool m_bCatalogueDeferred;  // the catalogue comes from a source, once it has read it
    std::unique_ptr<CTimeZoneInfoManager> m_pTimeZones;
    bool m_bZoneListWaiting = false;
    int m_nTimeZoneIndex = -1;
};
