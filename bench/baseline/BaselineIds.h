#pragma once
// Resource ids of the baseline dialog.

#define IDD_BASELINE 100
#define IDC_BASELINE_ARGUMENT 1001
