// The settings slider on a real trackbar: tooltip texts by kind, answered when asked and shown
// while the thumb is dragged, and labels drawn under the track after the trackbar paints.

#include "skin/win32/SubSlider.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include "skin/SliderText.h"
#include "tests/win32/SkinTestSupport.h"

namespace {

const std::vector<std::wstring> VOLTS_12 = {L"11.6V", L"11.7V", L"11.8V", L"11.9V",
                                            L"12.0V", L"12.1V", L"12.2V", L"12.3V "};

class SubSliderTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_parent.Create(400, 100));
        HWND trackbar = CreateWindowExW(0, TRACKBAR_CLASSW, L"",
                                        WS_CHILD | WS_VISIBLE | TBS_AUTOTICKS | TBS_BOTH | TBS_TOOLTIPS, 10, 10, 350,
                                        55, m_parent.GetSafeHwnd(), reinterpret_cast<HMENU>(1163), nullptr, nullptr);
        ASSERT_TRUE(m_slider.Subclass(trackbar));
        m_font.Reset(CreateFontW(13, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                 CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, VARIABLE_PITCH, L"Tahoma"));
        m_slider.SetLabelFont(m_font.Get(), 96);
        SendMessageW(trackbar, TBM_SETRANGE, FALSE, MAKELPARAM(0, 7));
        SendMessageW(trackbar, TBM_SETPAGESIZE, 0, 1);
        SendMessageW(trackbar, TBM_SETPOS, TRUE, 4);
    }

    HWND Trackbar() const { return m_slider.GetSafeHwnd(); }

    std::wstring AskForTipText() {
        NMTTDISPINFOW request{};
        request.hdr.hwndFrom = reinterpret_cast<HWND>(SendMessageW(Trackbar(), TBM_GETTOOLTIPS, 0, 0));
        request.hdr.idFrom = 0;
        request.hdr.code = TTN_NEEDTEXTW;
        request.lpszText = request.szText;
        SendMessageW(Trackbar(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&request));
        return request.lpszText ? std::wstring(request.lpszText) : std::wstring();
    }

    std::wstring ShownTipText() {
        HWND tooltip = reinterpret_cast<HWND>(SendMessageW(Trackbar(), TBM_GETTOOLTIPS, 0, 0));
        wchar_t text[80] = {};
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof(tool);
        tool.hwnd = Trackbar();
        tool.uId = 0;
        tool.lpszText = text;
        SendMessageW(tooltip, TTM_GETTEXTW, std::size(text), reinterpret_cast<LPARAM>(&tool));
        return text;
    }

    // The label band: the bottom rows of the slider, where only labels are drawn.
    skin::CPixelBuffer LabelBand(const skin::CPixelBuffer& painted, int32_t height) {
        skin::CPixelBuffer band(painted.Width(), height);
        for (int32_t y = 0; y < height; ++y) {
            for (int32_t x = 0; x < painted.Width(); ++x) {
                band.At(x, y) = painted.At(x, painted.Height() - height + y);
            }
        }
        return band;
    }

    // The columns of the band that hold anything darker than the background.
    std::vector<bool> InkedColumns(const skin::CPixelBuffer& band) {
        const skin::Pixel background = band.At(band.Width() - 1, 0) & 0x00FFFFFF;
        std::vector<bool> inked(static_cast<size_t>(band.Width()), false);
        for (int32_t y = 0; y < band.Height(); ++y) {
            for (int32_t x = 0; x < band.Width(); ++x) {
                if ((band.At(x, y) & 0x00FFFFFF) != background) inked[static_cast<size_t>(x)] = true;
            }
        }
        return inked;
    }

    testsupport::CSkinTestParent m_parent;
    CSubSlider m_slider;
    win32::UniqueFont m_font;
};

TEST_F(SubSliderTest, TooltipRequestIsAnsweredWithTheValueOfThePosition) {
    struct Case {
        int kind;
        int position;
        const wchar_t* text;
    };
    const Case cases[] = {
        {skin::SLIDER_TIP_VOLTS_12, 4, L"12.0"}, {skin::SLIDER_TIP_VOLTS_24, 7, L"24.6"},
        {skin::SLIDER_TIP_POSITION, 3, L"3"},    {skin::SLIDER_TIP_PARKING_HOURS, 2, L"24"},
        {skin::SLIDER_TIP_MOTION_LEVEL, 3, L"5"}, {skin::SLIDER_TIP_HOURS, 6, L"6"},  // outside the table
    };
    for (const Case& c : cases) {
        m_slider.SetTipKind(c.kind);
        SendMessageW(Trackbar(), TBM_SETPOS, TRUE, c.position);
        EXPECT_EQ(AskForTipText(), c.text) << "kind " << c.kind << " at " << c.position;
    }
}

TEST_F(SubSliderTest, TheTooltipShowsTheValueWhileTheThumbIsDragged) {
    m_slider.SetTipKind(skin::SLIDER_TIP_VOLTS_24);
    SendMessageW(Trackbar(), TBM_SETPOS, TRUE, 7);
    RECT thumb{};
    SendMessageW(Trackbar(), TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    const int y = (thumb.top + thumb.bottom) / 2;
    SendMessageW(Trackbar(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM((thumb.left + thumb.right) / 2, y));
    EXPECT_EQ(ShownTipText(), L"24.6");

    SendMessageW(Trackbar(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(0, y));
    EXPECT_EQ(SendMessageW(Trackbar(), TBM_GETPOS, 0, 0), 0);
    EXPECT_EQ(ShownTipText(), L"23.2");
    SendMessageW(Trackbar(), WM_LBUTTONUP, 0, MAKELPARAM(0, y));
}

// The labels' insets follow the DPI the page lays the slider out at, whatever the DPI the
// window was made at (a window too big for its screen takes a smaller scale).
TEST_F(SubSliderTest, LabelsStandOnTheBottomEdgeAtTheirPositions) {
    m_slider.AddLabels(VOLTS_12, skin::SLIDER_LABEL_ENDS | skin::SLIDER_LABEL_UPPER_MIDDLE);
    for (int dpi : {96, 192}) {
        SCOPED_TRACE(dpi);
        m_slider.SetLabelFont(m_font.Get(), dpi);
        const skin::CPixelBuffer painted = testsupport::PrintClient(Trackbar());
        ASSERT_EQ(painted.Width(), 350);
        const std::vector<bool> inked = InkedColumns(LabelBand(painted, 13));

        // Where labels 0, 7 and 4 go, measured the way the slider measures them.
        win32::UniqueMemoryDC dc(CreateCompatibleDC(nullptr));
        win32::ScopedSelect selected(dc.Get(), m_font.Get());
        std::vector<bool> expected(350, false);
        for (size_t index : {size_t{0}, size_t{7}, size_t{4}}) {
            RECT measured{};
            DrawTextW(dc.Get(), VOLTS_12[index].c_str(), -1, &measured, DT_CALCRECT);
            const skin::PixelRect box = skin::SliderLabelRect(index, 8, m_slider.GetLabelFlags(),
                                                              skin::PixelRect{0, 0, 350, 55}, measured.right,
                                                              measured.bottom, dpi);
            for (int32_t x = std::max(box.left, 0); x < std::min(box.right, 350); ++x) {
                expected[static_cast<size_t>(x)] = true;
            }
            bool any = false;
            for (int32_t x = std::max(box.left, 0); x < std::min<int32_t>(box.left + measured.right, 350); ++x) {
                any = any || inked[static_cast<size_t>(x)];
            }
            EXPECT_TRUE(any) << "label " << index << " is drawn";
        }
        for (size_t x = 0; x < inked.size(); ++x) {
            EXPECT_FALSE(inked[x] && !expected[x]) << "ink outside every label at column " << x;
        }
    }
}

TEST_F(SubSliderTest, ASingleLabelSpreadOverTheTrackIsNotDrawnAndAddingAgainAppends) {
    const skin::CPixelBuffer bare = testsupport::PrintClient(Trackbar());
    m_slider.AddLabels({L"only"}, skin::SLIDER_LABEL_ALL);
    EXPECT_EQ(testsupport::PrintClient(Trackbar()).Pixels(), bare.Pixels());

    m_slider.AddLabels({L"two"}, skin::SLIDER_LABEL_ALL);
    EXPECT_EQ(m_slider.GetLabels(), (std::vector<std::wstring>{L"only", L"two"}));
    EXPECT_NE(testsupport::PrintClient(Trackbar()).Pixels(), bare.Pixels());
}

}  // namespace
