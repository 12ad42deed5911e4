#pragma once
// Resource numbers: strings, dialogs, controls, menus, commands, icons. The numbers are part of the
// program's interface (the string table and dialogs are addressed by them), so they never change.
// Each area keeps its block below; add to your block only.

// ---- strings: see strings.rc (numbered directly, grouped by range)

// ---- toolkit and shell
#define IDS_MAKER_NAME 4101
#define IDS_PRODUCT_NAME 4103
#define IDS_DISPLAY_NAME 4110

// ---- shell: progress window and options
#define IDD_OPTIONS 2900
#define IDC_OPTIONS_BROWSE 2901
#define IDC_OPTIONS_FOLDER 2902
#define IDC_OPTIONS_MESSAGES_YES 2903
#define IDC_OPTIONS_RELOAD 2904
#define IDC_OPTIONS_TRACK_NO 2905
#define IDC_OPTIONS_BACKUP_NO 2906
#define IDC_OPTIONS_STATUS_NO 2907
#define IDC_OPTIONS_MESSAGES_NO 2908
#define IDC_OPTIONS_PERCENT 2909
#define IDC_OPTIONS_ROUND 2910
#define IDC_OPTIONS_TRACK_YES 2911
#define IDC_OPTIONS_BACKUP_YES 2912
#define IDC_OPTIONS_STATUS_YES 2913
#define IDS_UPGRADE_QUESTION 4114
#define IDS_UPGRADE_CAPTION 4115
#define IDD_PROGRESS 20300
#define IDC_PROGRESS_STATUS 20301
#define IDC_PROGRESS_TITLE 20302
#define IDC_PROGRESS_NOTE 20303
#define IDC_PROGRESS_BAR 20304
#define IDC_PROGRESS_BAR2 20305

// ---- views

// ---- printing

// ---- network and update
