#pragma once
// The memory card page's view of how the camera divides the card: one bar and one percentage
// per recording kind, for the partition type of the record.

#include <array>
#include <cstdint>
#include <string>

constexpr int PARTITION_ROWS = 5;

// Rows in display order: continuous, incident in continuous mode, parking motion, incident in
// parking mode, manual. The shares of a type do not add up to 1; the rest is not shown.
using PartitionShareRow = std::array<float, PARTITION_ROWS>;

// Types A, B and C (partition_type 1, 2, 3).
extern const std::array<PartitionShareRow, 3> PARTITION_SHARES;

// The bar of a whole card is this many pixels wide.
constexpr int PARTITION_VIEW_WIDTH = 450;

// The shares drawn for a stored partition type; any value but 2 and 3 draws type A.
const PartitionShareRow& PartitionSharesOf(int32_t partitionType);

// A share's bar width: the share of the full width, truncated (0.03 gives 13, not 14).
int PartitionBarWidth(float share);

// A share as the page writes it, one decimal and a percent sign ("60.6%").
std::wstring PartitionPercentText(float share);
