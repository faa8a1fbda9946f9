#pragma once
// The program's only top-level window: a fixed-size, skinned, modal dialog with a title, three
// tabs that switch the settings pages, minimise and close buttons, and "Initialize", "Cancel"
// and "Save". Its initialisation is the program's start-up (CStartUp runs the steps in order):
// finding the card, reading the card files, choosing the language and building the window. Its
// page host holds the three pages.

#include <memory>
#include <string>

#include "app/win32/PageHost.h"
#include "app/win32/StartUp.h"
#include "record/CardSession.h"
#include "skin/win32/RButton.h"
#include "skin/win32/MemSurface.h"
#include "skin/win32/RStaticText.h"
#include "window/Dialog.h"
#include "window/DpiScale.h"
#include "window/Handles.h"

class CSettingDlg : public win32::CDialog {
public:
    // Control ids of the window's own controls.
    enum : int {
        ID_TITLE = 2001,
        ID_TAB_RECORD = 2202,
        ID_TAB_CARD = 2203,
        ID_TAB_SYSTEM = 2204,
        ID_MINIMISE = 2300,
        ID_CLOSE = 2301,
        ID_INITIALIZE = 2302,
        ID_CANCEL = 2303,
        ID_SAVE = 2304,
    };
    static constexpr int CLIENT_WIDTH = 722;
    static constexpr int CLIENT_HEIGHT = 587;
    static constexpr RECT PAGE_AREA = {11, 85, 711, 522};

    CSettingDlg();
    ~CSettingDlg() override;

    // Shows the page of this tab, as a click on the tab does.
    void ShowPage(int tabId);

    // Tab and Shift+Tab through the shown page and the bottom bar's commands; Ctrl+Tab,
    // Ctrl+Shift+Tab, Ctrl+Page Down and Ctrl+Page Up switch pages as the tabs do.
    bool PreTranslateMessage(MSG& message) override;

    // The display scale the window is laid out at.
    win32::CDpiScale Scale() const { return m_scale; }

    // Sets the window's and every skinned control's text from the language table: the labels
    // the buttons draw, and the names screen readers read out.
    void ApplyLanguageTexts();

protected:
    BOOL OnInitDialog() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    // Enter must not close the window behind the user's back; Escape and the system close
    // command act as "Cancel".
    void OnOK() override {}
    void OnCancel() override;

private:
    // Start-up steps; CStartUp runs them in order.
    friend class CStartUp;
    // The pictures the window and its pages need first, in that order.
    static std::vector<UINT> SkinPictures();
    bool RelaunchFromCardIfNeeded();
    void SetIcons();
    void PlaceWindow();
    bool HasCardRoot() const;
    // Opens the card session on the card root and starts it: reads the card files, chooses the
    // language and asks what the card's state asks. False when the user chose to leave the
    // card as it is.
    bool StartCardSession();
    // The card session's questions, asked with the window's pop-ups.
    class CardPopups;
    // The pages see the session's record as g_pSetupConfig.
    void ShowSessionRecord();
    static int ShowMessage(HWND owner, const std::wstring& key, UINT style);
    // Composes the window's picture at this size (the pictures' worker does so at the window's
    // usual size while the window is made); TakeBackground waits for it and composes it again
    // here only when the window's size differs.
    void ComposeBackground(win32::CDpiScale scale);
    void TakeBackground();
    void CreateControls();
    // Gives the title and the buttons their places, pictures and fonts at the window's scale.
    void LayOutControls();
    // The window moved to a monitor of another scale: it takes the suggested place, and lays
    // itself and its pages out again at the new scale, keeping every value, the focus and the
    // shown page.
    void OnDpiChanged(int dpi, const RECT& suggested);
    // Makes the pages and shows the record on them.
    void CreatePages();

    CRButton* Button(int id);
    // Destroys the pages and lets go of the live record.
    void DestroyPages();
    void OnCommandButton(int id);
    void OnSave();
    void CloseWindow();
    void OnPaint();
    void OnMouseMove(WPARAM flags, LPARAM position);

    win32::UniqueIcon m_hIcon;
    win32::UniqueFont m_hFont;
    CMemSurface m_surfBackground;
    win32::CDpiScale m_scaleBackground;  // the scale m_surfBackground was composed at
    win32::CDpiScale m_scale;
    RECT m_rcClient{};
    int m_bInitialised = 0;
    std::wstring m_strProgramFolder;
    std::wstring m_strCopyPath;
    CCardSession m_session;

    CRStaticText m_title;
    CRButton m_btnTabCard;
    CRButton m_btnTabRecord;
    CRButton m_btnTabSystem;
    CRButton m_btnMinimise;
    CRButton m_btnClose;
    CRButton m_btnInitialize;
    CRButton m_btnCancel;
    CRButton m_btnSave;

    // After the surfaces (its pictures' worker composes the background) and before the pages
    // (the system page takes its catalogue from it).
    std::unique_ptr<CStartUp> m_pStartUp;

    CPageHost m_pages{m_btnTabCard, m_btnTabRecord, m_btnTabSystem};
};
