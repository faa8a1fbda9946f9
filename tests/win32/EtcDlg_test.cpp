// The memory card page in a real parent: where its controls go, how it shows and writes the
// partition type and overwrite options, and the partition view it paints.

#include "pages/win32/EtcDlg.h"

#include <gtest/gtest.h>

#include "pages/PageControlIds.h"
#include "tests/win32/ModalAnswerer.h"
#include "tests/win32/PageTestSupport.h"

using namespace testsupport;

namespace {

constexpr COLORREF PAGE_BACKGROUND = RGB(254, 254, 254);
constexpr COLORREF BAR_COLOURS[] = {RGB(132, 169, 56), RGB(221, 175, 16), RGB(208, 121, 19), RGB(201, 55, 55),
                                    RGB(28, 125, 175)};

class EtcDlgTest : public PageTest<CEtcDlg> {
protected:
    void Open(int32_t partitionType) {
        SetupConfig record = SampleRecord();
        record.partition_type = partitionType;
        CreatePage(std::make_unique<CEtcDlg>(), record);
    }
    void Repaint() {
        InvalidateRect(PageHwnd(), nullptr, TRUE);
        UpdateWindow(PageHwnd());
    }
    // Where the view starts: right of the percentages, below the type radios.
    POINT ViewOrigin() const {
        return {Rect(IDC_CARD_ROW_PERCENT_FIRST).right + 10, Rect(IDC_CARD_TYPE_A).bottom + 21};
    }
    COLORREF PixelAt(int x, int y) const {
        win32::WindowDC dc(PageHwnd());
        return GetPixel(dc.Get(), x, y);
    }
    // The bar of a row ends `width` pixels right of the view's origin.
    void ExpectBar(int row, int width) const {
        const POINT origin = ViewOrigin();
        const int y = origin.y + 30 * row + 7;
        EXPECT_EQ(PixelAt(origin.x, y), BAR_COLOURS[row]) << "row " << row;
        EXPECT_EQ(PixelAt(origin.x + width - 1, y), BAR_COLOURS[row]) << "row " << row;
        EXPECT_EQ(PixelAt(origin.x + width, y), PAGE_BACKGROUND) << "row " << row << " is " << width << " wide";
    }
    std::vector<std::wstring> Percentages() const {
        std::vector<std::wstring> texts;
        for (int id = IDC_CARD_ROW_PERCENT_FIRST; id <= IDC_CARD_ROW_PERCENT_FIRST + 4; ++id) texts.push_back(Text(id));
        return texts;
    }
};

TEST_F(EtcDlgTest, LaysOutItsControlsAtTheirPlaces) {
    Open(1);
    EXPECT_EQ(Rect(IDC_CARD_PARTITION_HEADER).left, 15);
    EXPECT_EQ(Rect(IDC_CARD_PARTITION_HEADER).top, 20);
    const int typeA = Width(IDC_CARD_TYPE_A);
    const int typeB = Width(IDC_CARD_TYPE_B);
    EXPECT_EQ(Rect(IDC_CARD_TYPE_A).left, 25);
    EXPECT_EQ(Rect(IDC_CARD_TYPE_A).top, 45);
    EXPECT_EQ(Rect(IDC_CARD_TYPE_B).left, typeA + 55);
    EXPECT_EQ(Rect(IDC_CARD_TYPE_C).left, typeA + 55 + typeB + 100);

    int widest = 0;
    for (int row = 0; row < 5; ++row) {
        EXPECT_EQ(Rect(IDC_CARD_ROW_LABEL_FIRST + row).left, 25);
        EXPECT_EQ(Rect(IDC_CARD_ROW_LABEL_FIRST + row).top, 85 + 30 * row);
        widest = std::max(widest, Width(IDC_CARD_ROW_LABEL_FIRST + row));
    }
    for (int row = 0; row < 5; ++row) {
        EXPECT_EQ(Rect(IDC_CARD_ROW_PERCENT_FIRST + row).left, widest + 50)
            << "percentages line up right of the widest label";
        EXPECT_EQ(Rect(IDC_CARD_ROW_PERCENT_FIRST + row).top, 85 + 30 * row);
    }

    const RECT format = Rect(IDC_CARD_FORMAT);
    EXPECT_EQ(format.left, 25);
    EXPECT_EQ(format.top, 284);
    EXPECT_EQ(format.right - format.left, 6 * 6 + 40) << "six characters of \"Format\"";
    EXPECT_EQ(format.bottom - format.top, 30);
    EXPECT_EQ(Text(IDC_CARD_FORMAT), L"Format");

    EXPECT_TRUE(Checked(IDC_CARD_OVERWRITE_CONTINUOUS));
    EXPECT_FALSE(Enabled(IDC_CARD_OVERWRITE_CONTINUOUS)) << "continuous recording always overwrites";
    for (int box = 0; box < 4; ++box) EXPECT_EQ(Rect(IDC_CARD_OVERWRITE_FIRST + box).top, 399 + 25 * box);
    EXPECT_EQ(m_page->GetScrollMax(), 67);
    EXPECT_EQ(m_page->HeaderIds(),
              (std::vector<int>{IDC_CARD_PARTITION_HEADER, IDC_CARD_FORMAT_HEADER, IDC_CARD_OVERWRITE_HEADER}));
}

TEST_F(EtcDlgTest, ShowsTheOverwriteOptionsAndThePartitionType) {
    SetupConfig record = SampleRecord();
    record.partition_type = 2;
    record.overwrite_incident_continuous = 1;
    record.overwrite_parking_motion = 0;
    record.overwrite_parking_incident = 5;
    record.overwrite_manual = 0;
    CreatePage(std::make_unique<CEtcDlg>(), record);

    EXPECT_TRUE(Checked(IDC_CARD_OVERWRITE_FIRST));
    EXPECT_FALSE(Checked(IDC_CARD_OVERWRITE_FIRST + 1));
    EXPECT_TRUE(Checked(IDC_CARD_OVERWRITE_FIRST + 2));
    EXPECT_FALSE(Checked(IDC_CARD_OVERWRITE_LAST));
    EXPECT_TRUE(Checked(IDC_CARD_TYPE_B));
    EXPECT_FALSE(Checked(IDC_CARD_TYPE_A));

    g_pSetupConfig->partition_type = 0;
    m_page->LoadControls();
    for (int id : {IDC_CARD_TYPE_A, IDC_CARD_TYPE_B, IDC_CARD_TYPE_C})
        EXPECT_FALSE(Checked(id)) << "type 0 checks no radio";
    UpdateWindow(PageHwnd());
    EXPECT_EQ(Percentages(), (std::vector<std::wstring>{L"60.6%", L"20.0%", L"5.0%", L"3.0%", L"10.0%"}))
        << "and draws type A";
    EXPECT_EQ(g_pSetupConfig->partition_type, 0);
}

TEST_F(EtcDlgTest, EachControlWritesExactlyItsField) {
    Open(1);
    ExpectWrites([&] { Click(IDC_CARD_TYPE_B); }, [](SetupConfig& r) { r.partition_type = 2; }, "B");
    ExpectWrites([&] { Click(IDC_CARD_TYPE_C); }, [](SetupConfig& r) { r.partition_type = 3; }, "C");
    ExpectWrites([&] { Click(IDC_CARD_TYPE_A); }, [](SetupConfig& r) { r.partition_type = 1; }, "A");

    int32_t SetupConfig::*fields[] = {&SetupConfig::overwrite_incident_continuous,
                                      &SetupConfig::overwrite_parking_motion,
                                      &SetupConfig::overwrite_parking_incident, &SetupConfig::overwrite_manual};
    for (int box = 0; box < 4; ++box) {
        const int32_t before = g_pSetupConfig->*fields[box];
        ExpectWrites([&] { Click(IDC_CARD_OVERWRITE_FIRST + box); },
                     [&](SetupConfig& r) { r.*fields[box] = before ? 0 : 1; }, "overwrite box");
        ExpectWrites([&] { Click(IDC_CARD_OVERWRITE_FIRST + box); },
                     [&](SetupConfig& r) { r.*fields[box] = before ? 1 : 0; }, "overwrite box again");
    }
}

TEST_F(EtcDlgTest, ThePartitionViewFollowsTheChosenType) {
    Open(1);
    Repaint();
    EXPECT_EQ(Percentages(), (std::vector<std::wstring>{L"60.6%", L"20.0%", L"5.0%", L"3.0%", L"10.0%"}));
    const int typeA[] = {272, 90, 22, 13, 45};
    for (int row = 0; row < 5; ++row) ExpectBar(row, typeA[row]);

    Click(IDC_CARD_TYPE_B);
    Click(IDC_CARD_TYPE_C);
    UpdateWindow(PageHwnd());
    EXPECT_EQ(Percentages(), (std::vector<std::wstring>{L"53.6%", L"15.0%", L"15.0%", L"5.0%", L"10.0%"}));
    const int typeC[] = {241, 67, 67, 22, 45};
    for (int row = 0; row < 5; ++row) ExpectBar(row, typeC[row]);
}

TEST_F(EtcDlgTest, TheBarsScrollWithTheLabels) {
    Open(2);
    Repaint();
    const POINT top = ViewOrigin();
    SendMessageW(PageHwnd(), WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0), 0);
    UpdateWindow(PageHwnd());
    EXPECT_EQ(m_page->GetScrollPos(), 67);
    EXPECT_EQ(ViewOrigin().y, top.y - 67);
    ExpectBar(0, 163);
    ExpectBar(4, 180);
}

TEST_F(EtcDlgTest, TheFormatButtonStartsTheFormattingQuestion) {
    Open(1);
    ModalAnswerer answers({IDNO});
    ExpectWrites([&] { Click(IDC_CARD_FORMAT); }, [](SetupConfig&) {}, "No formats nothing");
    ASSERT_EQ(answers.Shown().size(), 1u);
    EXPECT_EQ(answers.Shown()[0].title, L"Formatting memory card");
}

}  // namespace
