#include "app/win32/SettingDlg.h"

#include <algorithm>

#include "app/win32/CardLocation.h"
#include "app/win32/StartUp.h"
#include "localisation/LanguageSelection.h"
#include "localisation/LanguageTable.h"
#include "pages/win32/BaseDialog.h"
#include "platform/MessageBox.h"
#include "record/CardRoot.h"
#include "record/ClockFile.h"
#include "resources/ResourceIds.h"
#include "skin/win32/NinePatch.h"
#include "skin/PictureScale.h"
#include "window/Font.h"
#include "window/RegistryManager.h"
#include "window/StartUpTrace.h"

namespace {

// The record's language_index; none before a record is loaded.
std::optional<int32_t> RecordLanguageIndex() {
    if (g_pSetupConfig == nullptr) return std::nullopt;
    return g_pSetupConfig->language_index;
}

// Pictures of the window's skin, and the card page's partition bars.
constexpr UINT PICTURE_BACKGROUND = 501;
constexpr UINT PICTURE_FIRST_BAR = 175;
constexpr UINT PICTURE_LAST_BAR = 179;

struct ButtonLayout {
    int id;
    RECT rect;
    UINT normal, hover, pressed, checked;  // checked 0: no checked state
    const wchar_t* textKey;                // null: a picture-only button
};

constexpr RECT TITLE_RECT = {11, 7, 411, 27};

// Tabs, frame buttons and text buttons, in the order they are created.
constexpr ButtonLayout BUTTONS[] = {
    {CSettingDlg::ID_TAB_CARD, {11, 48, 151, 85}, 143, 144, 145, 154, L"IDS_STRING105"},
    {CSettingDlg::ID_TAB_RECORD, {151, 48, 291, 85}, 147, 148, 149, 150, L"IDS_STRING228"},
    {CSettingDlg::ID_TAB_SYSTEM, {291, 48, 431, 85}, 151, 152, 153, 154, L"IDS_STRING213"},
    {CSettingDlg::ID_MINIMISE, {648, 0, 677, 26}, 155, 156, 157, 0, nullptr},
    {CSettingDlg::ID_CLOSE, {677, 0, 706, 26}, 158, 159, 160, 0, nullptr},
    {CSettingDlg::ID_INITIALIZE, {8, 546, 229, 575}, 161, 162, 163, 0, L"IDS_STRING106"},
    {CSettingDlg::ID_CANCEL, {510, 546, 610, 575}, 161, 162, 163, 0, L"IDS_STRING107"},
    {CSettingDlg::ID_SAVE, {614, 546, 714, 575}, 161, 162, 163, 0, L"IDS_STRING108"},
};

// The message for a save that did not end with both files on the card.
const wchar_t* SaveFailureKey(SaveResult saved) {
    switch (saved) {
    case SaveResult::Saved: return L"IDS_STRING412";  // the settings are on the card, time.dat is not
    case SaveResult::NothingToWrite: return L"IDS_STRING401";
    case SaveResult::NotRestored: return L"IDS_STRING402";
    case SaveResult::NotKept: return L"IDS_STRING413";
    case SaveResult::Failed: break;
    }
    return L"IDS_STRING400";
}

bool IsTab(int id) { return id >= CSettingDlg::ID_TAB_RECORD && id <= CSettingDlg::ID_TAB_SYSTEM; }

// The bottom bar's commands are tab stops after the shown page's controls; the tabs are reached
// with Ctrl+Tab and Ctrl+Page Up/Down, the frame buttons with the system's own keys (Alt+F4).
bool IsTabStop(int id) { return id >= CSettingDlg::ID_INITIALIZE && id <= CSettingDlg::ID_SAVE; }

// The frame buttons' names for screen readers, in the interface language.
std::wstring FrameButtonName(int id) {
    return GetLangText(id == CSettingDlg::ID_MINIMISE ? L"IDS_STRING422" : L"IDS_STRING423");
}

TextStyle ButtonTextStyle(int id, const wchar_t* key, win32::CDpiScale scale) {
    TextStyle style;
    style.strText = GetLangText(key);
    if (IsTab(id)) {
        style.crNormal = 0xB19477;
        style.crHover = 0xB19477;
    } else {
        style.crNormal = 0xC8BBB0;
        style.crHover = 0xFFFFFF;
    }
    style.crPressed = 0xFFFFFF;
    style.nFontHeight = scale.Scale(13);
    style.nAlign = 1;
    return style;
}

}  // namespace

CSettingDlg::CSettingDlg()
    : CDialog(IDD_SETTING_DIALOG),
      m_hIcon(static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_PROGRAM_ICON),
                                            IMAGE_ICON, 0, 0, LR_DEFAULTSIZE))) {
    FreeLiveRecord();
    // Before the window is made from its template, so that the pictures are decoded meanwhile.
    // The worker then composes the background at the window's size, so that the first touch of
    // its 1.7 MB (a page fault per 4 KiB, several milliseconds in all) is not the interface
    // thread's; the window takes it once the worker has ended (TakeBackground).
    // The window opens at the system's scale unless the screen is too small for it: the
    // pictures' worker decodes that set and composes the background at that size.
    const win32::CDpiScale expected(win32::SystemDpi());
    m_pStartUp = std::make_unique<CStartUp>(
        SkinPictures(), [this, expected] { ComposeBackground(expected); }, skin::PictureScaleForDpi(expected.Dpi()));
}

CSettingDlg::~CSettingDlg() {
    DestroyPages();
    CWindow::DestroyWindow();
}

CRButton* CSettingDlg::Button(int id) {
    switch (id) {
    case ID_TAB_CARD: return &m_btnTabCard;
    case ID_TAB_RECORD: return &m_btnTabRecord;
    case ID_TAB_SYSTEM: return &m_btnTabSystem;
    case ID_MINIMISE: return &m_btnMinimise;
    case ID_CLOSE: return &m_btnClose;
    case ID_INITIALIZE: return &m_btnInitialize;
    case ID_CANCEL: return &m_btnCancel;
    case ID_SAVE: return &m_btnSave;
    default: return nullptr;
    }
}

BOOL CSettingDlg::OnInitDialog() {
    if (!CStartUp::Run(*this)) PostQuitMessage(0);
    return TRUE;
}

std::vector<UINT> CSettingDlg::SkinPictures() {
    // In the order the window needs them: its background, its buttons, the card page's bars.
    std::vector<UINT> pictures = {PICTURE_BACKGROUND};
    for (const ButtonLayout& layout : BUTTONS) {
        for (UINT id : {layout.normal, layout.hover, layout.pressed, layout.checked}) {
            if (id != 0 && std::find(pictures.begin(), pictures.end(), id) == pictures.end()) pictures.push_back(id);
        }
    }
    for (UINT id = PICTURE_FIRST_BAR; id <= PICTURE_LAST_BAR; ++id) pictures.push_back(id);
    return pictures;
}

void CSettingDlg::CreatePages() {
    m_pages.Create(GetSafeHwnd(), m_scale, m_scale.Scale(PAGE_AREA), m_session,
                   [this] { return m_pStartUp->TakeCatalogue(); });
    m_pages.LoadAll();
}

bool CSettingDlg::RelaunchFromCardIfNeeded() {
    m_strProgramFolder = cardlocation::GetProgramFolder();
    m_strCopyPath.clear();
    if (!cardlocation::IsRunFromRemovableDrive(m_strProgramFolder)) return false;
    cardlocation::CHeldCopy copy = cardlocation::CopySelfToAppData();
    if (!copy.IsReady()) {
        // Working on the card from the card is not an option, and a copy that could not be
        // made whole, or that another program changed, is not started elevated: say so and
        // start nothing. No card file has been read yet, so the language is the viewer's or
        // English.
        SelectLanguage(g_strRegLanguage, {}, std::nullopt);
        ShowMessage(nullptr, L"IDS_STRING414", MB_OK | MB_ICONWARNING | MB_TOPMOST);
        return true;
    }
    m_strCopyPath = copy.Path();
    return cardlocation::LaunchCopy(copy, m_strProgramFolder);
}

// Set once the window has its place and size: measured under Wine, the two icons cost about
// 12 ms of start-up before the window is placed and about 4 ms after.
void CSettingDlg::SetIcons() {
    SendMessageW(GetSafeHwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon.Get()));
    SendMessageW(GetSafeHwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon.Get()));
}

void CSettingDlg::PlaceWindow() {
    // The window is laid out at its monitor's scale, or at the largest drawn scale below it at
    // which it fits the work area whole.
    win32::KeepDialogLayoutOwn(GetSafeHwnd());
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int workWidth = work.right - work.left;
    const int workHeight = work.bottom - work.top;
    m_scale = win32::CDpiScale(win32::FittingDpi(win32::DpiOfWindow(GetSafeHwnd()), SIZE{CLIENT_WIDTH, CLIENT_HEIGHT},
                                                 workWidth, workHeight, skin::PICTURE_SCALES));
    const int width = m_scale.Scale(CLIENT_WIDTH);
    const int height = m_scale.Scale(CLIENT_HEIGHT);
    SetWindowPos(GetSafeHwnd(), HWND_TOPMOST, 0, 0, width, height, SWP_HIDEWINDOW);
    // The frameless window sits in the middle of the screen's work area.
    SetWindowPos(GetSafeHwnd(), nullptr, work.left + (workWidth - width) / 2, work.top + (workHeight - height) / 2, 0,
                 0, SWP_NOSIZE | SWP_NOZORDER | SWP_HIDEWINDOW);
    GetClientRect(GetSafeHwnd(), &m_rcClient);
}

// The session's questions as pop-ups on top of everything (the window is not shown yet), in
// the language that the record so far chooses.
class CSettingDlg::CardPopups : public CardQuestions {
public:
    explicit CardPopups(const CCardSession& session) : m_session(session) {}
    bool StartFromDefaults() override {
        return ShowMessage(nullptr, L"IDS_STRING406", MB_YESNO | MB_ICONWARNING | MB_TOPMOST) == IDYES;
    }
    bool PutBackPreviousSettings() override {
        return ShowMessage(nullptr, L"IDS_STRING403", MB_YESNO | MB_ICONQUESTION | MB_TOPMOST) == IDYES;
    }
    void PreviousSettingsNotPutBack() override {
        ShowMessage(nullptr, L"IDS_STRING404", MB_OK | MB_ICONWARNING | MB_TOPMOST);
    }
    void DefaultsMissing(const std::wstring& factoryFile) override {
        platform::ShowMessage(MissingDefaultsMessage(factoryFile), L"Dash cam setting");
    }
    void CardFilesRead() override { RecordReplaced(); }
    void RecordReplaced() override {
        SelectLanguage(g_strRegLanguage, m_session.VersionFile().m_arrLangCodes, RecordLanguageIndex());
    }

private:
    const CCardSession& m_session;
};

void CSettingDlg::ShowSessionRecord() {
    FreeLiveRecord();  // the pages see the session's record under their old name
    g_pSetupConfig = &m_session.Record();
}

bool CSettingDlg::HasCardRoot() const { return !g_strCardRoot.empty(); }

bool CSettingDlg::StartCardSession() {
    m_session = CCardSession(g_strCardRoot);
    // Saves keep a copy of the card's record in the program's own folder until the new record
    // is proven on the card; in the local application-data folder when the program's folder
    // cannot be written.
    std::vector<std::filesystem::path> copyFolders;
    if (!m_strProgramFolder.empty()) copyFolders.emplace_back(m_strProgramFolder);
    copyFolders.emplace_back(cardlocation::CopyFolder());
    m_session.KeepSaveCopiesIn(std::move(copyFolders));
    CardPopups popups(m_session);
    return m_session.Start(popups);
}

int CSettingDlg::ShowMessage(HWND owner, const std::wstring& key, UINT style) {
    return MessageBoxW(owner, GetLangMessage(key).c_str(), GetLangText(L"IDS_STRING101").c_str(), style);
}

// The window's whole picture: the stretched background with the pages' area white (the pages
// cover it; it shows while they are swapped). No skinned control lies in the pages' area, so
// the pieces they take from it as their own backgrounds are the stretched picture's.
void CSettingDlg::ComposeBackground(win32::CDpiScale scale) {
    m_surfBackground.Destroy();
    m_scaleBackground = scale;
    if (!m_surfBackground.Create(nullptr, scale.Scale(CLIENT_WIDTH), scale.Scale(CLIENT_HEIGHT))) return;
    CNinePatch::ForDpi(scale.Dpi()).Paint(m_surfBackground, PICTURE_BACKGROUND, nullptr);
    const RECT pageArea = scale.Scale(PAGE_AREA);
    FillRect(m_surfBackground.GetDC(), &pageArea, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    GdiFlush();
}

void CSettingDlg::TakeBackground() {
    m_pStartUp->FinishPictures();
    if (m_scaleBackground != m_scale || !m_surfBackground.IsCreated()) {
        ComposeBackground(m_scale);  // no worker, or another scale
    }
}

void CSettingDlg::CreateControls() {
    HWND self = GetSafeHwnd();
    m_title.Create(self, ID_TITLE, m_scale.Scale(TITLE_RECT));
    for (const ButtonLayout& layout : BUTTONS) {
        Button(layout.id)->Create(self, layout.id, m_scale.Scale(layout.rect), IsTabStop(layout.id));
    }
    LayOutControls();
    m_btnTabCard.SetCheck(true);
    m_btnTabRecord.SetCheck(false);
    m_btnTabSystem.SetCheck(false);
    ApplyLanguageTexts();
}

void CSettingDlg::LayOutControls() {
    HDC background = m_surfBackground.GetDC();
    const int dpi = m_scale.Dpi();
    const auto place = [this](HWND control, const RECT& rect96) {
        const RECT rect = m_scale.Scale(rect96);
        RECT now{};
        GetWindowRect(control, &now);
        MapWindowPoints(nullptr, GetSafeHwnd(), reinterpret_cast<POINT*>(&now), 2);
        if (!EqualRect(&now, &rect)) {
            MoveWindow(control, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, FALSE);
        }
    };
    m_hFont = win32::MakeWindowFont(13, FW_BOLD, win32::FontLook::Smooth, m_scale);
    place(m_title.GetSafeHwnd(), TITLE_RECT);
    TextStyle titleStyle;
    titleStyle.strText = GetLangText(L"IDS_STRING101");
    titleStyle.crNormal = 0xE9DFD6;
    titleStyle.crHover = 0xFFFFFF;
    titleStyle.crPressed = 0xFFFFFF;
    titleStyle.nFontHeight = m_scale.Scale(13);
    titleStyle.nAlign = 0;
    m_title.Setup(0, m_hFont.Get(), background, &titleStyle);

    for (const ButtonLayout& layout : BUTTONS) {
        CRButton& button = *Button(layout.id);
        place(button.GetSafeHwnd(), layout.rect);
        button.SetPictureDpi(dpi);
        const UINT normal = layout.normal;
        const UINT hover = layout.hover;
        const UINT pressed = layout.pressed;
        if (layout.textKey) {
            const TextStyle style = ButtonTextStyle(layout.id, layout.textKey, m_scale);
            button.SetImages(normal, hover, pressed, background, &style, 0);
        } else {
            button.SetImagesNatural(normal, hover, pressed, background, 0);
        }
        if (layout.checked) button.SetCheckedImage(layout.checked);
    }
}

void CSettingDlg::OnDpiChanged(int dpi, const RECT& suggested) {
    if (!m_bInitialised) return;
    HWND self = GetSafeHwnd();
    HWND focus = GetFocus();
    m_scale = win32::CDpiScale(dpi);
    // The suggested place, at the size the window has at its new scale (the same up to the
    // system's rounding), so that every scale gives the same picture each time.
    SetWindowPos(self, nullptr, suggested.left, suggested.top, m_scale.Scale(CLIENT_WIDTH),
                 m_scale.Scale(CLIENT_HEIGHT), SWP_NOZORDER | SWP_NOACTIVATE);
    GetClientRect(self, &m_rcClient);
    ComposeBackground(m_scale);
    LayOutControls();
    for (const ButtonLayout& layout : BUTTONS) {
        CRButton& button = *Button(layout.id);
        if (layout.checked) button.SetCheck(button.GetCheck());
        button.Redraw();
    }
    m_pages.Rescale(m_scale, m_scale.Scale(PAGE_AREA));
    if (focus && IsChild(self, focus) && GetFocus() != focus) SetFocus(focus);
    InvalidateRect(self, nullptr, TRUE);
}

void CSettingDlg::ApplyLanguageTexts() {
    SetWindowTextW(GetSafeHwnd(), GetLangText(L"IDS_STRING101").c_str());
    SetWindowTextW(m_title.GetSafeHwnd(), GetLangText(L"IDS_STRING101").c_str());
    for (const ButtonLayout& layout : BUTTONS) {
        const std::wstring text = layout.textKey ? GetLangText(layout.textKey) : FrameButtonName(layout.id);
        SetWindowTextW(Button(layout.id)->GetSafeHwnd(), text.c_str());
    }
}

void CSettingDlg::OnCommandButton(int id) {
    switch (id) {
    case ID_MINIMISE:
        ShowWindow(GetSafeHwnd(), SW_MINIMIZE);
        break;
    case ID_CLOSE:
    case ID_CANCEL:
        CloseWindow();
        break;
    case ID_INITIALIZE: {
        CardPopups popups(m_session);
        m_session.RestoreDefaults(popups);
        m_pages.LoadAll();
        break;
    }
    case ID_SAVE:
        OnSave();
        break;
    default:
        break;
    }
}

void CSettingDlg::OnSave() {
    if (m_session.Root().empty()) return;
    m_pages.ListTimeZones();  // a record without a zone takes the PC's when the list is filled
    const SaveResult saved = m_session.SaveRecord();
    const bool clockWritten = m_session.WriteClock();
    if (saved == SaveResult::Saved && clockWritten) {
        CloseWindow();
        return;
    }
    // Nothing is lost: the window stays open with the changes, so the user can try again
    // (another card slot, write protection off) or leave with Cancel.
    ShowMessage(GetSafeHwnd(), SaveFailureKey(saved), MB_OK | MB_ICONWARNING);
}

void CSettingDlg::CloseWindow() {
    DestroyPages();
    SendMessageW(GetSafeHwnd(), WM_CLOSE, 0, 0);
}

void CSettingDlg::OnCancel() {
    DestroyPages();
    EndDialog(IDCANCEL);
}

void CSettingDlg::DestroyPages() {
    m_pages.Destroy();
    FreeLiveRecord();
}

void CSettingDlg::ShowPage(int tabId) {
    switch (tabId) {
    case ID_TAB_CARD: m_pages.Show(CPageHost::Page::Card); break;
    case ID_TAB_RECORD: m_pages.Show(CPageHost::Page::Record); break;
    case ID_TAB_SYSTEM: m_pages.Show(CPageHost::Page::System); break;
    default: break;
    }
}

void CSettingDlg::OnPaint() {
    win32::PaintDC paint(GetSafeHwnd());
    if (IsIconic(GetSafeHwnd())) {
        const int x = (m_rcClient.right - GetSystemMetrics(SM_CXICON) + 1) / 2;
        const int y = (m_rcClient.bottom - GetSystemMetrics(SM_CYICON) + 1) / 2;
        SendMessageW(GetSafeHwnd(), WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(paint.Get()), 0);
        DrawIcon(paint.Get(), x, y, m_hIcon.Get());
        return;
    }
    if (!m_bInitialised) return;
    // The kept picture is the whole window's: a repaint is one block copy.
    BitBlt(paint.Get(), 0, 0, m_rcClient.right, m_rcClient.bottom, m_surfBackground.GetDC(), 0, 0, SRCCOPY);
}

void CSettingDlg::OnMouseMove(WPARAM flags, LPARAM position) {
    // Dragging by any point of the window's own background (and the title, which passes its
    // mouse messages on) moves the window.
    if (flags & MK_LBUTTON) PostMessageW(GetSafeHwnd(), WM_NCLBUTTONDOWN, HTCAPTION, position);
}

bool CSettingDlg::PreTranslateMessage(MSG& message) {
    if (message.message != WM_KEYDOWN || !m_bInitialised) return false;
    const bool control = GetKeyState(VK_CONTROL) < 0;
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    if (GetKeyState(VK_MENU) < 0) return false;
    if (control && (message.wParam == VK_TAB || message.wParam == VK_NEXT || message.wParam == VK_PRIOR)) {
        m_pages.Switch(message.wParam == VK_PRIOR || (message.wParam == VK_TAB && shift) ? -1 : 1);
        return true;
    }
    if (message.wParam != VK_TAB || control) return false;
    // The dialog manager would also stop at controls that are not laid out (zero size), where
    // the focus would vanish from sight; those are passed over.
    HWND next = win32::NextTabStop(GetSafeHwnd(), GetFocus(), shift);
    if (!next) return false;
    win32::FocusByKeyboard(GetSafeHwnd(), next);
    if (CBaseDialog* page = m_pages.Shown(); page && IsChild(page->GetSafeHwnd(), next)) page->ScrollIntoView(next);
    return true;
}

bool CSettingDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (m_pStartUp->OnMessage(GetSafeHwnd(), message, wParam, [this] { m_pages.ListTimeZones(); })) {
        result = 0;
        return true;
    }
    switch (message) {
    case WM_COMMAND:
        if (lParam != 0 || HIWORD(wParam) != 0) return false;
        if (IsTab(LOWORD(wParam))) {
            ShowPage(LOWORD(wParam));
            return true;
        }
        if (LOWORD(wParam) >= ID_MINIMISE && LOWORD(wParam) <= ID_SAVE) {
            OnCommandButton(LOWORD(wParam));
            return true;
        }
        return false;
    case WM_PAINT:
        OnPaint();
        result = 0;
        return true;
    case WM_DPICHANGED:
        // The new DPI is in both words of wParam, the suggested window rectangle at lParam.
        OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        result = 0;
        return true;
    case WM_QUERYDRAGICON:
        result = reinterpret_cast<LRESULT>(m_hIcon.Get());
        return true;
    case WM_MOUSEMOVE:
        OnMouseMove(wParam, lParam);
        return false;
    case WM_CLOSE:
        DestroyPages();
        EndDialog(IDCANCEL);
        result = 0;
        return true;
    default:
        return false;
    }
}
