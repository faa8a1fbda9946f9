// The memory card page's partition view: bar widths and percentage texts for each type.

#include "pages/PartitionView.h"

#include <gtest/gtest.h>

namespace {

struct TypeCase {
    int32_t partitionType;
    std::array<int, PARTITION_ROWS> widths;
    std::array<const wchar_t*, PARTITION_ROWS> texts;
};

TEST(PartitionView, BarsAndPercentagesOfEachType) {
    const TypeCase cases[] = {
        {1, {272, 90, 22, 13, 45}, {L"60.6%", L"20.0%", L"5.0%", L"3.0%", L"10.0%"}},
        {2, {163, 67, 22, 13, 180}, {L"36.3%", L"15.0%", L"5.0%", L"3.0%", L"40.0%"}},
        {3, {241, 67, 67, 22, 45}, {L"53.6%", L"15.0%", L"15.0%", L"5.0%", L"10.0%"}},
        // Any other stored type draws type A.
        {0, {272, 90, 22, 13, 45}, {L"60.6%", L"20.0%", L"5.0%", L"3.0%", L"10.0%"}},
        {-7, {272, 90, 22, 13, 45}, {L"60.6%", L"20.0%", L"5.0%", L"3.0%", L"10.0%"}},
    };
    for (const TypeCase& c : cases) {
        const PartitionShareRow& shares = PartitionSharesOf(c.partitionType);
        for (size_t row = 0; row < PARTITION_ROWS; ++row) {
            EXPECT_EQ(PartitionBarWidth(shares[row]), c.widths[row]) << "type " << c.partitionType << " row " << row;
            EXPECT_EQ(PartitionPercentText(shares[row]), c.texts[row]) << "type " << c.partitionType << " row " << row;
        }
    }
}

}  // namespace
