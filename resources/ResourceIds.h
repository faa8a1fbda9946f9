#pragma once
// Ids of the resources built into the program, shared by the resource scripts and the code.

#define IDI_PROGRAM_ICON 128
#define IDD_SETTING_DIALOG 102
#define IDD_PAGE_RECORD 132
#define IDD_PAGE_CARD 133
#define IDD_PAGE_SYSTEM 221
#define IDD_MSG_POPUP 181
#define IDD_PROG_POPUP 182
#define IDS_DEFAULT_VOLUME_LABEL 500

// Controls of the pop-ups.
#define IDC_POPUP_MESSAGE 1501
#define IDC_PROGRESS_MESSAGE 1120
#define IDC_PROGRESS_BAR 1118
