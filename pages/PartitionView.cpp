#include "pages/PartitionView.h"

#include <cwchar>

const std::array<PartitionShareRow, 3> PARTITION_SHARES = {{
    {0.606f, 0.2f, 0.05f, 0.03f, 0.1f},   // A
    {0.363f, 0.15f, 0.05f, 0.03f, 0.4f},  // B
    {0.536f, 0.15f, 0.15f, 0.05f, 0.1f},  // C
}};

const PartitionShareRow& PartitionSharesOf(int32_t partitionType) {
    if (partitionType == 2 || partitionType == 3) return PARTITION_SHARES[static_cast<size_t>(partitionType - 1)];
    return PARTITION_SHARES[0];
}

// The single-precision share is widened to double before the multiplication and the product
// truncated, so a share just below a whole pixel stays below it (0.03f gives 13).
int PartitionBarWidth(float share) { return static_cast<int>(static_cast<double>(share) * PARTITION_VIEW_WIDTH); }

std::wstring PartitionPercentText(float share) {
    wchar_t text[32];
    std::swprintf(text, std::size(text), L"%3.1f%%", static_cast<double>(share) * 100.0);
    return text;
}
