// Slider labels (which are drawn, and where) and tooltip texts.

#include "skin/SliderText.h"

#include <gtest/gtest.h>

using namespace skin;

namespace {

using Indexes = std::vector<size_t>;

TEST(SliderText, LabelFlagsPickTheEndsAndOneMiddle) {
    EXPECT_EQ(SliderLabelIndexes(8, SLIDER_LABEL_ENDS | SLIDER_LABEL_UPPER_MIDDLE), (Indexes{0, 7, 4}));
    EXPECT_EQ(SliderLabelIndexes(9, SLIDER_LABEL_ENDS | SLIDER_LABEL_LOWER_MIDDLE), (Indexes{0, 8, 4}));
    EXPECT_EQ(SliderLabelIndexes(8, SLIDER_LABEL_ENDS | SLIDER_LABEL_LOWER_MIDDLE), (Indexes{0, 7, 3}));
    EXPECT_EQ(SliderLabelIndexes(4, SLIDER_LABEL_ALL | SLIDER_LABEL_UPPER_MIDDLE), (Indexes{0, 1, 2, 3}));
    EXPECT_EQ(SliderLabelIndexes(4, 0), Indexes{});
}

TEST(SliderText, LabelIndexesStayInsideShortLists) {
    EXPECT_EQ(SliderLabelIndexes(1, SLIDER_LABEL_ALL), Indexes{}) << "a single label is not spread";
    EXPECT_EQ(SliderLabelIndexes(0, SLIDER_LABEL_ENDS | SLIDER_LABEL_UPPER_MIDDLE), Indexes{});
    EXPECT_EQ(SliderLabelIndexes(1, SLIDER_LABEL_ENDS | SLIDER_LABEL_UPPER_MIDDLE), (Indexes{0}));
    EXPECT_EQ(SliderLabelIndexes(2, SLIDER_LABEL_ENDS | SLIDER_LABEL_LOWER_MIDDLE), (Indexes{0, 1}));
}

TEST(SliderText, LabelsStandCentredOnTheirPositionOnTheBottomEdge) {
    // A page slider: 350 x 55, eight labels, step 323 / 7.
    const PixelRect client{0, 0, 350, 55};
    const int flags = SLIDER_LABEL_ENDS | SLIDER_LABEL_UPPER_MIDDLE;
    EXPECT_EQ(SliderLabelRect(0, 8, flags, client, 31, 13), (PixelRect{-1, 42, 45, 55}));
    EXPECT_EQ(SliderLabelRect(4, 8, flags, client, 31, 13), (PixelRect{183, 42, 229, 55}));
    EXPECT_EQ(SliderLabelRect(7, 8, flags, client, 34, 13), (PixelRect{320, 42, 371, 55}));
}

TEST(SliderText, AllLabelsAccumulateTheirPositionInSinglePrecision) {
    // Width 101, four labels: step 74 / 3 added three times gives 87.99999, not 88.
    const PixelRect client{0, 0, 101, 40};
    EXPECT_EQ(SliderLabelRect(3, 4, SLIDER_LABEL_ALL, client, 10, 12), (PixelRect{82, 28, 97, 40}));
    EXPECT_EQ(SliderLabelRect(3, 4, SLIDER_LABEL_ENDS, client, 10, 12), (PixelRect{83, 28, 98, 40}))
        << "single labels are placed from index x step, truncated first";
    EXPECT_EQ(SliderLabelRect(1, 4, SLIDER_LABEL_ALL, client, 10, 12).left, 33) << "38.67 - 5";

    // A client rectangle away from the origin moves every label with it.
    EXPECT_EQ(SliderLabelRect(0, 4, SLIDER_LABEL_ALL, PixelRect{20, 0, 121, 40}, 10, 12), (PixelRect{29, 28, 44, 40}));

    // At 200 % the insets double with the texts, so a wide first label ("OFF") stays inside
    // the slider instead of being cut at its left edge; the last label ends as far in.
    EXPECT_EQ(SliderLabelRect(0, 4, SLIDER_LABEL_ALL, PixelRect{0, 0, 700, 110}, 44, 30, 192),
              (PixelRect{6, 80, 72, 110}));
    EXPECT_EQ(SliderLabelRect(3, 4, SLIDER_LABEL_ALL, PixelRect{0, 0, 654, 110}, 20, 30, 192).left, 618)
        << "654 - 26 - 10";
    EXPECT_EQ(SliderLabelRect(0, 4, SLIDER_LABEL_ALL, client, 10, 12, 96), SliderLabelRect(0, 4, SLIDER_LABEL_ALL, client, 10, 12));
}

TEST(SliderText, TooltipShowsTheSettingsValueForThePosition) {
    EXPECT_EQ(SliderTipText(SLIDER_TIP_VOLTS_12, 4), L"12.0");
    EXPECT_EQ(SliderTipText(SLIDER_TIP_VOLTS_12, 0), L"11.6");
    EXPECT_EQ(SliderTipText(SLIDER_TIP_VOLTS_24, 7), L"24.6");
    EXPECT_EQ(SliderTipText(SLIDER_TIP_VOLTS_24, 0), L"23.2");
    EXPECT_EQ(SliderTipText(SLIDER_TIP_POSITION, 3), L"3");
    EXPECT_EQ(SliderTipText(SLIDER_TIP_HOURS, 2), L"24");
    EXPECT_EQ(SliderTipText(SLIDER_TIP_PARKING_HOURS, 3), L"48");
    EXPECT_EQ(SliderTipText(SLIDER_TIP_MOTION_LEVEL, 2), L"3");
    EXPECT_EQ(SliderTipText(42, 9), L"9") << "unknown kinds show the position";
}

TEST(SliderText, PositionsOutsideAKindsTableShowThePlainPosition) {
    EXPECT_EQ(SliderTipText(SLIDER_TIP_HOURS, 4), L"4");
    EXPECT_EQ(SliderTipText(SLIDER_TIP_MOTION_LEVEL, -1), L"-1");
    EXPECT_EQ(SliderTipText(SLIDER_TIP_VOLTS_12, 8), L"8");
    EXPECT_EQ(SliderTipText(SLIDER_TIP_VOLTS_24, 100000), L"100000");
}

}  // namespace
