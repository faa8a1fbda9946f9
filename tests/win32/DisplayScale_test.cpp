// The display scale: the one rounding rule, the scale a too small screen gets, every page laid
// out at every drawn scale in every language (each text fits its control, nothing overlaps
// that did not at 96 DPI), and the real main window moved to a monitor of another scale and
// back.

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "localisation/LanguageTable.h"
#include "pages/PageControlIds.h"
#include "pages/win32/EtcDlg.h"
#include "pages/win32/ParkingDlg.h"
#include "pages/win32/SystemDlg.h"
#include "record/CardSession.h"
#include "skin/PictureScale.h"
#include "skin/PixelBuffer.h"
#include "tests/support/RecordBuilder.h"
#include "tests/win32/MainWindowDriver.h"
#include "tests/win32/SkinTestSupport.h"
#include "window/DpiScale.h"
#include "window/Handles.h"

using namespace testsupport;
using win32::CDpiScale;

namespace {

// --- the rule ---

struct ScaleCase {
    int dpi;
    int px96;
    int scaled;
};

TEST(DpiScale, ScalesWithOneRoundingRule) {
    const ScaleCase cases[] = {
        {96, 722, 722}, {96, -15, -15}, {96, 0, 0},                     // unchanged at 96
        {120, 722, 903}, {120, 13, 16}, {120, 2, 3},                    // 902.5, 16.25, 2.5 up
        {144, 1, 2}, {144, 3, 5}, {144, -1, -2}, {144, 587, 881},       // halves away from zero
        {168, 13, 23}, {192, 437, 874}, {240, 13, 33}, {288, 700, 2100},
    };
    for (const ScaleCase& c : cases) {
        EXPECT_EQ(CDpiScale(c.dpi).Scale(c.px96), c.scaled) << c.px96 << " px at " << c.dpi << " DPI";
    }
    // A length measured at the scale comes back as at least the 96-DPI length it needs.
    for (int dpi : {96, 120, 144, 168, 192, 240, 288}) {
        const CDpiScale scale(dpi);
        for (int px = 0; px < 400; ++px) {
            EXPECT_GE(scale.Scale(scale.Unscale(px)), px) << px << " px at " << dpi << " DPI";
            EXPECT_LE(scale.Unscale(scale.Scale(px)) - px, 1) << px << " px at " << dpi << " DPI";
        }
    }
    EXPECT_EQ(CDpiScale(0).Dpi(), 96) << "a DPI nobody could tell is taken as 96";
}

struct FitCase {
    int dpi;
    int workWidth, workHeight;
    int expected;
};

TEST(DpiScale, ATooSmallScreenGetsTheLargestScaleThatFits) {
    const FitCase cases[] = {
        {96, 1920, 1080, 96},
        {96, 640, 480, 96},     // never below 100 %
        {144, 1920, 1080, 144},
        {192, 3840, 2160, 192},
        {192, 1280, 1024, 144},  // 1444 x 1174 would run off; 150 % fits
        {288, 1920, 1080, 168},  // 200 % would be 1444 x 1174
        {132, 1024, 768, 120},   // between drawn scales: the nearest one below fits
        {120, 800, 600, 96},
    };
    for (const FitCase& c : cases) {
        EXPECT_EQ(win32::FittingDpi(c.dpi, SIZE{722, 587}, c.workWidth, c.workHeight, skin::PICTURE_SCALES),
                  c.expected)
            << c.dpi << " DPI on " << c.workWidth << " x " << c.workHeight;
    }
}

// --- every page at every scale in every language ---

constexpr const wchar_t* LANGUAGES[] = {L"english", L"korean",  L"french",  L"spanish",  L"chinesesimplified",
                                        L"chinesetraditional", L"german",  L"italian", L"japanese", L"portuguese",
                                        L"russian"};
constexpr int DRAWN_DPIS[] = {120, 144, 168, 192, 240, 288};

enum class PageKind { Record, Card, System };

std::unique_ptr<CBaseDialog> MakePage(PageKind kind, CCardSession& card) {
    switch (kind) {
    case PageKind::Record: return std::make_unique<CParkingDlg>();
    case PageKind::Card: return std::make_unique<CEtcDlg>();
    case PageKind::System: return std::make_unique<CSystemDlg>(card);
    }
    return nullptr;
}

struct Laid {
    HWND control;
    int id;
    RECT rect;  // in the page's coordinates
    std::wstring className;
    std::wstring text;
    RECT shown;  // the part that shows something
};

std::wstring ClassOf(HWND control) {
    wchar_t name[64] = {};
    GetClassNameW(control, name, 64);
    return name;
}

std::wstring TextOf(HWND control) {
    wchar_t text[512] = {};
    GetWindowTextW(control, text, 512);
    return text;
}

SIZE TextNeed(const Laid& control);

// The page's laid-out controls in the order of its template; those not shown or of no size
// count as not laid out. A plain label shows only its text: its place is the text's.
std::vector<Laid> LaidOutControls(HWND page, const CDpiScale& scale) {
    std::vector<Laid> controls;
    for (HWND child = GetWindow(page, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT rect{};
        GetWindowRect(child, &rect);
        MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&rect), 2);
        if (!IsWindowVisible(child) || IsRectEmpty(&rect)) continue;
        Laid laid{child, GetDlgCtrlID(child), rect, ClassOf(child), TextOf(child), rect};
        if (laid.className == L"Static" && !laid.text.empty()) {
            const SIZE need = TextNeed(laid);
            laid.shown.right = std::min(laid.shown.right, laid.shown.left + need.cx);
            laid.shown.bottom = std::min(laid.shown.bottom, laid.shown.top + need.cy);
        }
        // A trackbar draws its channel and thumb inset from its sides.
        if (laid.className == TRACKBAR_CLASSW) InflateRect(&laid.shown, -scale.Scale(8), 0);
        controls.push_back(laid);
    }
    return controls;
}

// The width and height a control needs for its text in its own font, single line.
SIZE TextNeed(const Laid& control) {
    win32::UniqueMemoryDC dc(CreateCompatibleDC(nullptr));
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(control.control, WM_GETFONT, 0, 0));
    win32::ScopedSelect selected(dc.Get(), font ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
    RECT rect{};
    DrawTextW(dc.Get(), control.text.c_str(), static_cast<int>(control.text.size()), &rect,
              DT_CALCRECT | DT_SINGLELINE);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc.Get(), &metrics);
    return SIZE{rect.right - rect.left, metrics.tmHeight};
}

std::string RectText(const RECT& rect) {
    return "(" + std::to_string(rect.left) + "," + std::to_string(rect.top) + ")-(" + std::to_string(rect.right) + "," +
           std::to_string(rect.bottom) + ")";
}

bool IsMarkedButton(const Laid& control) {
    if (control.className != L"Button") return false;
    const auto type = static_cast<DWORD>(GetWindowLongPtrW(control.control, GWL_STYLE)) & BS_TYPEMASK;
    return type == BS_AUTOCHECKBOX || type == BS_CHECKBOX || type == BS_AUTORADIOBUTTON || type == BS_RADIOBUTTON;
}

class PageLayout : public ::testing::TestWithParam<PageKind> {
protected:
    void TearDown() override {
        FreeLiveRecord();
        LoadLanguage(L"english");
    }

    // The page made at this DPI, shown in a parent big enough for it.
    std::vector<Laid> LayOut(PageKind kind, int dpi) {
        m_page.reset();
        m_parent.DestroyWindow();
        const CDpiScale scale(dpi);
        EXPECT_TRUE(m_parent.Create(scale.Scale(760), scale.Scale(540)));
        m_page = MakePage(kind, m_card);
        EXPECT_TRUE(m_page->CreatePage(m_parent.Handle(), scale));
        SetWindowPos(m_page->GetSafeHwnd(), nullptr, scale.Scale(11), scale.Scale(85), 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        ShowWindow(m_parent.Handle(), SW_SHOWNOACTIVATE);
        ShowWindow(m_page->GetSafeHwnd(), SW_SHOWNOACTIVATE);
        m_page->LoadControls();
        PumpMessages();
        return LaidOutControls(m_page->GetSafeHwnd(), scale);
    }

    TempFolder m_folder;
    CCardSession m_card{m_folder.CardRoot()};
    TestParentWindow m_parent;
    std::unique_ptr<CBaseDialog> m_page;
};

TEST_P(PageLayout, EveryTextFitsAndNothingNewOverlaps) {
    const PageKind kind = GetParam();
    for (const wchar_t* language : LANGUAGES) {
        ASSERT_TRUE(LoadLanguage(language));
        ReplaceLiveRecord(std::make_unique<SetupConfig>(SampleRecord()));
        const std::vector<Laid> base = LayOut(kind, 96);
        const int baseScrollMax = m_page->GetScrollMax();
        for (int dpi : DRAWN_DPIS) {
            const CDpiScale scale(dpi);
            const std::vector<Laid> scaled = LayOut(kind, dpi);
            const std::string where = std::string("at ") + std::to_string(dpi) + " DPI in " +
                                      std::string(language, language + wcslen(language));
            ASSERT_EQ(scaled.size(), base.size()) << "the same controls are laid out " << where;
            EXPECT_EQ(m_page->GetScrollMax(), scale.Scale(baseScrollMax)) << where;
            RECT page{};
            GetClientRect(m_page->GetSafeHwnd(), &page);
            EXPECT_EQ(page.bottom, scale.Scale(437)) << where;

            for (const Laid& control : scaled) {
                const bool textControl = control.className == L"Static" || control.className == L"Button";
                if (!textControl || control.text.empty()) continue;
                const SIZE need = TextNeed(control);
                // A check box or radio button has its mark and a gap beside the text.
                const int room = IsMarkedButton(control) ? scale.Scale(17) : 0;
                EXPECT_GE(control.rect.right - control.rect.left, need.cx + room)
                    << "control " << control.id << " " << testing::PrintToString(control.text) << " " << where;
                EXPECT_GE(control.rect.bottom - control.rect.top, need.cy) << "control " << control.id << " " << where;
            }
            for (size_t i = 0; i < scaled.size(); ++i) {
                for (size_t j = i + 1; j < scaled.size(); ++j) {
                    RECT was{};
                    RECT now{};
                    if (IntersectRect(&was, &base[i].shown, &base[j].shown)) continue;  // overlapping by design
                    EXPECT_FALSE(IntersectRect(&now, &scaled[i].shown, &scaled[j].shown))
                        << "controls " << scaled[i].id << " " << RectText(scaled[i].shown) << " and " << scaled[j].id
                        << " " << RectText(scaled[j].shown) << " overlap " << where;
                }
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(EveryPage, PageLayout, ::testing::Values(PageKind::Record, PageKind::Card, PageKind::System));

// --- the real window moved between monitors ---

skin::CPixelBuffer CaptureClient(HWND window) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    PumpMessages();
    RECT client{};
    GetClientRect(window, &client);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    skin::CPixelBuffer pixels(client.right, client.bottom);
    win32::WindowDC screen(nullptr);
    win32::UniqueMemoryDC memory(CreateCompatibleDC(screen.Get()));
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), pixels.Width(), -pixels.Height(), 1, 32, BI_RGB};
    void* bits = nullptr;
    win32::UniqueBitmap bitmap(CreateDIBSection(screen.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap) return pixels;
    {
        win32::ScopedSelect selected(memory.Get(), bitmap.Get());
        BitBlt(memory.Get(), 0, 0, pixels.Width(), pixels.Height(), screen.Get(), origin.x, origin.y, SRCCOPY);
        GdiFlush();
    }
    std::memcpy(pixels.View().pPixels, bits, static_cast<size_t>(pixels.Width()) * pixels.Height() * 4);
    return pixels;
}

RECT RectIn(HWND window, HWND control) {
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void SendDpiChanged(HWND window, int dpi) {
    RECT place{};
    GetWindowRect(window, &place);
    const CDpiScale scale(dpi);
    RECT suggested{place.left, place.top, place.left + scale.Scale(722), place.top + scale.Scale(587)};
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    PumpMessages();
}

TEST(MainWindowDpiChange, LaysItselfOutAgainAndComesBackToTheSamePicture) {
    TempFolder card;
    CopySampleCard(card);
    MainWindowRun::Run(card.CardRoot(), [](CSettingDlg& window) {
        HWND self = window.GetSafeHwnd();
        MainWindowPages pages(self);
        ASSERT_TRUE(pages.AllThere());
        ASSERT_EQ(window.Scale().Dpi(), 96);
        window.ShowPage(CSettingDlg::ID_TAB_RECORD);
        HWND record = pages.record->GetSafeHwnd();
        SendMessageW(record, WM_VSCROLL, SB_LINEDOWN, 0);
        SendMessageW(record, WM_VSCROLL, SB_LINEDOWN, 0);
        const int scrolled = pages.record->GetScrollPos();
        ASSERT_GT(scrolled, 0);
        HWND slider = GetDlgItem(record, IDC_REC_TIMER_SLIDER);
        SendMessageW(slider, TBM_SETPOS, TRUE, 3);
        SendMessageW(record, WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0), reinterpret_cast<LPARAM>(slider));
        const SetupConfig before = *g_pSetupConfig;
        SetFocus(GetDlgItem(record, IDC_REC_PARKING_ON));
        const HWND focus = GetFocus();
        const skin::CPixelBuffer first = CaptureClient(self);

        SendDpiChanged(self, 144);
        const CDpiScale scale(144);
        RECT client{};
        GetClientRect(self, &client);
        EXPECT_EQ(client.right, 1083);
        EXPECT_EQ(client.bottom, 881);
        EXPECT_EQ(window.Scale().Dpi(), 144);
        const RECT save = RectIn(self, GetDlgItem(self, CSettingDlg::ID_SAVE));
        const RECT expectedSave = scale.Scale(RECT{614, 546, 714, 575});
        EXPECT_TRUE(EqualRect(&save, &expectedSave)) << save.left << "," << save.top << "," << save.right << ","
                                                     << save.bottom;
        const RECT pageRect = RectIn(self, record);
        EXPECT_EQ(pageRect.left, scale.Scale(11));
        EXPECT_EQ(pageRect.top, scale.Scale(85));
        EXPECT_EQ(pageRect.right - pageRect.left, scale.Scale(700));
        EXPECT_EQ(pageRect.bottom - pageRect.top, scale.Scale(437));
        for (CBaseDialog* page : {static_cast<CBaseDialog*>(pages.record), static_cast<CBaseDialog*>(pages.card),
                                  static_cast<CBaseDialog*>(pages.system)}) {
            EXPECT_EQ(page->Scale().Dpi(), 144);
        }
        EXPECT_EQ(pages.record->GetScrollPos(), CDpiScale::MulDivRound(scrolled, scale.Scale(561), 561));
        EXPECT_TRUE(IsWindowVisible(record)) << "the shown page stays shown";
        EXPECT_FALSE(IsWindowVisible(pages.card->GetSafeHwnd()));
        EXPECT_EQ(SendMessageW(slider, TBM_GETPOS, 0, 0), 3);
        EXPECT_EQ(std::memcmp(g_pSetupConfig, &before, sizeof(before)), 0) << "the record is untouched";
        EXPECT_EQ(GetFocus(), focus);

        SendDpiChanged(self, 96);
        EXPECT_EQ(pages.record->GetScrollPos(), scrolled);
        EXPECT_EQ(SendMessageW(slider, TBM_GETPOS, 0, 0), 3);
        EXPECT_EQ(GetFocus(), focus);
        const skin::CPixelBuffer back = CaptureClient(self);
        ASSERT_EQ(back.Width(), first.Width());
        ASSERT_EQ(back.Height(), first.Height());
        EXPECT_EQ(testsupport::DifferenceBox(first, back).right, 0) << "back at 96 DPI the window looks as it first did";
    });
}

}  // namespace
