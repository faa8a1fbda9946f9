// The picture gallery: renders every picture, every button state, sliders with labels and a
// mock of the main window through the real controls, and writes them as PNG files to
// <build>/gallery/ for a person to look at. Each sheet is held against its committed golden
// picture (tests/win32/golden/) with a small tolerance; a sheet that differs more gets a
// picture of the difference beside it (<name>-diff.png). When a change of the skin is meant,
// scripts/refresh-goldens.sh makes the new sheets the golden ones.

#include <windows.h>
#include <objidl.h>
#include <commctrl.h>
#include <gdiplus.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "skin/NinePatchStretch.h"
#include "skin/SliderText.h"
#include "skin/win32/NinePatch.h"
#include "skin/win32/PictureCache.h"
#include "skin/win32/RButton.h"
#include "skin/win32/RStaticText.h"
#include "skin/win32/SubSlider.h"
#include "tests/support/PngReader.h"
#include "tests/win32/GoldenImage.h"
#include "tests/win32/SkinTestSupport.h"
#include "window/Font.h"

namespace {

constexpr skin::Pixel SHEET_GREY = 0xFF5A5E62;
constexpr COLORREF CAPTION_COLOUR = RGB(235, 235, 235);

std::filesystem::path GalleryFolder() {
    wchar_t program[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, program, MAX_PATH);
    // The test program lives in <build>/tests; the gallery goes beside that folder.
    return std::filesystem::path(program).parent_path().parent_path() / L"gallery";
}

std::filesystem::path GoldenFolder() { return std::filesystem::path(DCS_SOURCE_DIR) / "tests" / "win32" / "golden"; }

// GDI text leaves alpha 0 where it draws; the sheets are opaque everywhere.
void MakeOpaque(CMemSurface& surface) {
    const skin::PixelView pixels = surface.Pixels();
    for (int32_t y = 0; y < pixels.nHeight; ++y) {
        for (int32_t x = 0; x < pixels.nWidth; ++x) pixels.At(x, y) |= 0xFF000000;
    }
}

// What a control paints, made opaque: GDI drawing (the trackbar's, text) leaves alpha 0.
skin::CPixelBuffer PrintOpaque(HWND window) {
    skin::CPixelBuffer painted = testsupport::PrintClient(window);
    for (int32_t y = 0; y < painted.Height(); ++y) {
        for (int32_t x = 0; x < painted.Width(); ++x) painted.At(x, y) |= 0xFF000000;
    }
    return painted;
}

void Paste(const skin::CPixelBuffer& piece, CMemSurface& sheet, int32_t left, int32_t top) {
    const skin::PixelView target = sheet.Pixels();
    for (int32_t y = 0; y < piece.Height() && top + y < target.nHeight; ++y) {
        for (int32_t x = 0; x < piece.Width() && left + x < target.nWidth; ++x) {
            target.At(left + x, top + y) = skin::BlendOver(piece.At(x, y), target.At(left + x, top + y));
        }
    }
}

void Caption(CMemSurface& sheet, HFONT font, int left, int top, const std::wstring& text,
             COLORREF colour = CAPTION_COLOUR) {
    win32::ScopedSelect selected(sheet.GetDC(), font);
    SetBkMode(sheet.GetDC(), TRANSPARENT);
    SetTextColor(sheet.GetDC(), colour);
    RECT area{left, top, left + 400, top + 20};
    DrawTextW(sheet.GetDC(), text.c_str(), -1, &area, DT_NOCLIP | DT_SINGLELINE);
}

// A picture enlarged by whole pixels over a checkerboard, so transparency shows.
skin::CPixelBuffer Enlarged(const skin::CPixelBuffer& straight, int32_t scale) {
    skin::CPixelBuffer large(straight.Width() * scale, straight.Height() * scale);
    for (int32_t y = 0; y < large.Height(); ++y) {
        for (int32_t x = 0; x < large.Width(); ++x) {
            const skin::Pixel checker = ((x / 6 + y / 6) % 2) ? 0xFFB4B4B4 : 0xFFDCDCDC;
            large.At(x, y) = skin::BlendOver(skin::Premultiply(straight.At(x / scale, y / scale)), checker);
        }
    }
    return large;
}

// An owner like the program's windows: a page area that answers its controls with white.
class CGalleryWindow : public testsupport::CSkinTestParent {
protected:
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
        if (message == WM_CTLCOLORSTATIC) {
            SetBkColor(reinterpret_cast<HDC>(wParam), RGB(255, 255, 255));
            result = reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
            return true;
        }
        return CSkinTestParent::OnMessage(message, wParam, lParam, result);
    }
};

struct ButtonKind {
    const wchar_t* name;
    UINT id;
    RECT rect;
    UINT pictures[3];
    UINT checked;  // 0: none
    bool natural;
    const wchar_t* text;
    bool tabColours;
};

// The main window's eight buttons, as it configures them.
const ButtonKind BUTTON_KINDS[] = {
    {L"left tab", 2203, {11, 48, 151, 85}, {143, 144, 145}, 154, false, L"Memory Card Settings", true},
    {L"middle tab", 2202, {151, 48, 291, 85}, {147, 148, 149}, 150, false, L"Record settings", true},
    {L"right tab", 2204, {291, 48, 431, 85}, {151, 152, 153}, 154, false, L"System Settings", true},
    {L"minimise", 2300, {648, 0, 677, 26}, {155, 156, 157}, 0, true, nullptr, false},
    {L"close", 2301, {677, 0, 706, 26}, {158, 159, 160}, 0, true, nullptr, false},
    {L"Initialize", 2302, {8, 546, 229, 575}, {161, 162, 163}, 0, false, L"Initialize", false},
    {L"Cancel", 2303, {510, 546, 610, 575}, {161, 162, 163}, 0, false, L"Cancel", false},
    {L"Save", 2304, {614, 546, 714, 575}, {161, 162, 163}, 0, false, L"Save", false},
};

void Configure(CRButton& button, const ButtonKind& kind, HWND parent, HDC background) {
    ASSERT_TRUE(button.Create(parent, kind.id, kind.rect));
    if (kind.natural) {
        button.SetImagesNatural(kind.pictures[0], kind.pictures[1], kind.pictures[2], background);
        return;
    }
    const TextStyle style = kind.tabColours
                                ? TextStyle{kind.text, 0xB19477, 0xB19477, 0xFFFFFF, 13, 1}
                                : TextStyle{kind.text, 0xC8BBB0, 0xFFFFFF, 0xFFFFFF, 13, 1};
    button.SetImages(kind.pictures[0], kind.pictures[1], kind.pictures[2], background, &style);
    if (kind.checked) button.SetCheckedImage(kind.checked);
}

class SkinGallery : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(GalleryFolder());
        ASSERT_TRUE(m_window.Create(722, 587));
        ASSERT_TRUE(m_background.Create(nullptr, 722, 587));
        CNinePatch().Paint(m_background, 501);
        m_captionFont = win32::MakeWindowFont(13, FW_NORMAL);
        m_titleFont = win32::MakeWindowFont(13, FW_BOLD);
        m_labelFont = win32::MakeWindowFont(12, FW_NORMAL);
    }

    void Save(CMemSurface& sheet, const wchar_t* name) {
        MakeOpaque(sheet);
        const std::filesystem::path file = GalleryFolder() / name;
        ASSERT_TRUE(testsupport::SavePng(sheet.Pixels(), file)) << file.string();
        EXPECT_GT(std::filesystem::file_size(file), 1000u) << file.string();
        CompareWithGolden(sheet, name);
    }

    void CompareWithGolden(CMemSurface& sheet, const wchar_t* name) {
        std::filesystem::path diffFile = GalleryFolder() / name;
        diffFile.replace_extension().concat(L"-diff.png");
        EXPECT_TRUE(testsupport::MatchesGolden(sheet.Pixels(), GoldenFolder() / name, diffFile));
    }

    // A trackbar as the pages make them, with the slider attached and set up.
    void MakeSlider(CSubSlider& slider, int left, int top, const std::vector<std::wstring>& labels, int flags, int kind,
                    int position) {
        HWND trackbar = CreateWindowExW(0, TRACKBAR_CLASSW, L"",
                                        WS_CHILD | WS_VISIBLE | TBS_AUTOTICKS | TBS_BOTH | TBS_TOOLTIPS, left, top,
                                        350, 55, m_window.GetSafeHwnd(), nullptr, nullptr, nullptr);
        ASSERT_TRUE(slider.Subclass(trackbar));
        slider.SetLabelFont(m_labelFont.Get(), 96);
        slider.AddLabels(labels, flags);
        SendMessageW(trackbar, TBM_SETRANGE, FALSE, MAKELPARAM(0, static_cast<int>(labels.size()) - 1));
        SendMessageW(trackbar, TBM_SETPAGESIZE, 0, 1);
        SendMessageW(trackbar, TBM_SETPOS, TRUE, position);
        slider.SetTipKind(kind);
    }

    CGalleryWindow m_window;
    CMemSurface m_background;
    win32::UniqueFont m_captionFont;
    win32::UniqueFont m_titleFont;
    win32::UniqueFont m_labelFont;
};

TEST_F(SkinGallery, EveryPicture) {
    // Every picture as the program decodes it, enlarged: small ones four times, others twice.
    struct Placed {
        UINT id;
        skin::CPixelBuffer large;
        int32_t left;
        int32_t top;
    };
    std::vector<Placed> placed;
    int32_t x = 16, y = 16, rowHeight = 0;
    const int32_t sheetWidth = 1400;
    std::vector<UINT> ids;
    for (UINT id = 143; id <= 179; ++id) ids.push_back(id);
    ids.push_back(501);
    for (UINT id : ids) {
        const skin::CPixelBuffer& pixels = skin::DecodedPicture(id);
        ASSERT_FALSE(pixels.IsEmpty()) << "picture " << id;
        const int32_t scale = (pixels.Width() > 40 || pixels.Height() > 60) ? 2 : 4;
        skin::CPixelBuffer large = Enlarged(pixels, scale);
        if (x + large.Width() > sheetWidth - 16) {
            x = 16;
            y += rowHeight + 34;
            rowHeight = 0;
        }
        placed.push_back({id, std::move(large), x, y});
        x += std::max(placed.back().large.Width(), 40) + 24;
        rowHeight = std::max(rowHeight, placed.back().large.Height());
    }

    CMemSurface sheet;
    ASSERT_TRUE(sheet.Create(nullptr, sheetWidth, y + rowHeight + 40));
    testsupport::FillSurface(sheet, SHEET_GREY);
    for (const Placed& item : placed) {
        Paste(item.large, sheet, item.left, item.top);
        Caption(sheet, m_captionFont.Get(), item.left, item.top + item.large.Height() + 4, std::to_wstring(item.id));
    }
    Save(sheet, L"pictures.png");
}

TEST_F(SkinGallery, StretchedToTheirUses) {
    // The memory card page's partition bars for layouts A, B and C, and frames at several sizes.
    const int32_t BAR_WIDTHS[3][5] = {{272, 90, 22, 13, 45}, {163, 67, 22, 13, 180}, {241, 67, 67, 22, 45}};
    CMemSurface sheet;
    ASSERT_TRUE(sheet.Create(nullptr, 760, 520));
    testsupport::FillSurface(sheet, 0xFFFFFF);
    for (int layout = 0; layout < 3; ++layout) {
        Caption(sheet, m_captionFont.Get(), 20, 16 + layout * 170, std::wstring(L"layout ") + L"ABC"[layout],
                RGB(40, 40, 40));
        for (int row = 0; row < 5; ++row) {
            CMemSurface bar;
            ASSERT_TRUE(bar.Create(nullptr, BAR_WIDTHS[layout][row], 15));
            CNinePatch().Paint(bar, 175 + static_cast<UINT>(row));
            Paste(testsupport::CopyOf(bar.Pixels()), sheet, 120, 16 + layout * 170 + row * 30);
        }
    }
    const SIZE FRAMES[] = {{40, 29}, {100, 29}, {221, 29}, {140, 37}, {60, 60}};
    const UINT FRAME_IDS[] = {161, 161, 161, 143, 163};
    int32_t left = 440;
    int32_t top = 30;
    for (size_t i = 0; i < std::size(FRAMES); ++i) {
        CMemSurface frame;
        ASSERT_TRUE(frame.Create(nullptr, FRAMES[i].cx, FRAMES[i].cy));
        CNinePatch().Paint(frame, FRAME_IDS[i]);
        Paste(testsupport::CopyOf(frame.Pixels()), sheet, left, top);
        top += FRAMES[i].cy + 24;
    }
    Save(sheet, L"stretched.png");
}

TEST_F(SkinGallery, EveryButtonState) {
    const wchar_t* const STATES[] = {L"normal", L"hover", L"pressed", L"checked", L"disabled"};
    CMemSurface sheet;
    ASSERT_TRUE(sheet.Create(nullptr, 1380, 40 + 62 * static_cast<int>(std::size(BUTTON_KINDS))));
    testsupport::FillSurface(sheet, SHEET_GREY);
    for (int state = 0; state < 5; ++state) Caption(sheet, m_captionFont.Get(), 130 + state * 250, 10, STATES[state]);

    int row = 0;
    for (const ButtonKind& kind : BUTTON_KINDS) {
        const int top = 40 + row++ * 62;
        Caption(sheet, m_captionFont.Get(), 12, top + 8, kind.name);
        for (int state = 0; state < 5; ++state) {
            CRButton button;
            Configure(button, kind, m_window.GetSafeHwnd(), m_background.GetDC());
            HWND window = button.GetSafeHwnd();
            switch (state) {
            case CRButton::STATE_HOVER: SendMessageW(window, WM_MOUSEMOVE, 0, 0); break;
            case CRButton::STATE_PRESSED: SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, 0); break;
            case CRButton::STATE_CHECKED: button.SetCheck(true); break;
            case CRButton::STATE_DISABLED: EnableWindow(window, FALSE); break;
            default: break;
            }
            Paste(PrintOpaque(window), sheet, 130 + state * 250, top);
        }
    }
    Save(sheet, L"buttons.png");
}

TEST_F(SkinGallery, SlidersWithLabels) {
    CMemSurface sheet;
    ASSERT_TRUE(sheet.Create(nullptr, 420, 300));
    testsupport::FillSurface(sheet, 0xFFFFFF);
    CSubSlider volts, motion, hours;
    MakeSlider(volts, 0, 0,
               {L"11.6V", L"11.7V", L"11.8V", L"11.9V", L"12.0V", L"12.1V", L"12.2V", L"12.3V "},
               skin::SLIDER_LABEL_ENDS | skin::SLIDER_LABEL_UPPER_MIDDLE, skin::SLIDER_TIP_VOLTS_12, 4);
    MakeSlider(motion, 0, 0, {L"Off", L"1", L"2", L"3", L"4", L"5", L"6", L"7", L"High"},
               skin::SLIDER_LABEL_ENDS | skin::SLIDER_LABEL_LOWER_MIDDLE, skin::SLIDER_TIP_POSITION, 2);
    MakeSlider(hours, 0, 0, {L"6h", L"12h", L"24h", L"48h"}, skin::SLIDER_LABEL_ALL, skin::SLIDER_TIP_HOURS, 2);
    int top = 20;
    for (CSubSlider* slider : {&volts, &motion, &hours}) {
        Paste(PrintOpaque(slider->GetSafeHwnd()), sheet, 30, top);
        Caption(sheet, m_captionFont.Get(), 30, top + 58, L"tooltip: " + slider->GetTipText(), RGB(60, 60, 60));
        top += 95;
    }
    Save(sheet, L"sliders.png");
}

TEST_F(SkinGallery, MainWindowMock) {
    CMemSurface window;
    ASSERT_TRUE(window.Create(nullptr, 722, 587));
    skin::CopyPixels(m_background.Pixels(), window.Pixels());
    const RECT pageArea{11, 85, 711, 522};
    FillRect(window.GetDC(), &pageArea, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));

    CRStaticText title;
    ASSERT_TRUE(title.Create(m_window.GetSafeHwnd(), 2001, RECT{11, 7, 411, 27}));
    const TextStyle titleStyle{L"Dash cam setting", 0xE9DFD6, 0xFFFFFF, 0xFFFFFF, 13, 0};
    title.Setup(0, m_titleFont.Get(), m_background.GetDC(), &titleStyle);

    std::vector<std::unique_ptr<CRButton>> buttons;
    for (const ButtonKind& kind : BUTTON_KINDS) {
        buttons.push_back(std::make_unique<CRButton>());
        Configure(*buttons.back(), kind, m_window.GetSafeHwnd(), m_background.GetDC());
        if (kind.checked) buttons.back()->SetCheck(kind.id == 2203);
    }
    SendMessageW(buttons[6]->GetSafeHwnd(), WM_MOUSEMOVE, 0, 0);  // the mouse rests on "Cancel"

    CSubSlider volts, hours;
    MakeSlider(volts, 200, 140, {L"11.6V", L"11.7V", L"11.8V", L"11.9V", L"12.0V", L"12.1V", L"12.2V", L"12.3V "},
               skin::SLIDER_LABEL_ENDS | skin::SLIDER_LABEL_UPPER_MIDDLE, skin::SLIDER_TIP_VOLTS_12, 4);
    MakeSlider(hours, 200, 240, {L"6h", L"12h", L"24h", L"48h"}, skin::SLIDER_LABEL_ALL, skin::SLIDER_TIP_HOURS, 1);

    // Each child painted where it stands, as the screen would show it.
    for (HWND child = GetWindow(m_window.GetSafeHwnd(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT placed{};
        GetWindowRect(child, &placed);
        MapWindowPoints(nullptr, m_window.GetSafeHwnd(), reinterpret_cast<POINT*>(&placed), 2);
        Paste(PrintOpaque(child), window, placed.left, placed.top);
    }
    Caption(window, m_captionFont.Get(), 40, 160, L"Vehicle voltage 12V", RGB(0, 0, 0));
    Caption(window, m_captionFont.Get(), 40, 260, L"Parking timer", RGB(0, 0, 0));
    Save(window, L"window.png");

    EXPECT_EQ(window.Pixels().At(300, 400), 0xFFFFFFFFu) << "the page area is white";
    EXPECT_EQ(window.Pixels().At(20, 30), m_background.Pixels().At(20, 30)) << "the window background shows";
}

}  // namespace
