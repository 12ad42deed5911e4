#pragma once
// Resource numbers: strings, dialogs, controls, menus, commands, icons. The numbers are part of the
// program's interface (the string table and dialogs are addressed by them), so they never change.
// Each area keeps its block below; add to your block only.

// ---- strings: see strings.rc (numbered directly, grouped by range)

// ---- toolkit and shell
#define IDS_MAKER_NAME 4101
#define IDS_PRODUCT_NAME 4103
#define IDS_DISPLAY_NAME 4110
#define IDS_ALL 4200                  // "--All--", the header row of combo boxes
#define IDS_TOOLBAR_TIP_FIRST 6000    // + button image index
#define IDI_TOOLBAR_FIRST 6100        // + button image index, normal
#define IDI_TOOLBAR_DISABLED_FIRST 6200  // + button image index, disabled
#define IDR_MANIFEST 1                // CREATEPROCESS_MANIFEST_RESOURCE_ID
#define IDD_INPUT_BOX 20100           // one-line text input: prompt, edit, OK, Cancel
#define IDC_INPUT_PROMPT 20101
#define IDC_INPUT_TEXT 20102

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
#define IDC_VIEW_CATEGORY 2100
#define IDC_VIEW_LETTER 2101
#define IDC_VIEW_LIST 2102
#define IDD_COLUMNS 2308
#define IDC_COLUMNS_ADD 2300
#define IDC_COLUMNS_AVAILABLE 2301
#define IDC_COLUMNS_REMOVE 2302
#define IDC_COLUMNS_DISPLAYED 2303
#define IDC_COLUMNS_DOWN 2304
#define IDC_COLUMNS_UP 2307
#define IDD_PICTURE 3000
#define IDS_VIEW_ALL 5000
#define IDS_VIEW_DELETE_CATEGORY_QUESTION 5001
#define IDS_VIEW_CATEGORY_IN_USE 5002
#define IDS_VIEW_CATEGORY_LABEL 5003
#define IDS_VIEW_DELETE_CATEGORY_CAPTION 5004
#define IDS_VIEW_LETTER_LABEL 5005
#define IDS_VIEW_LETTERS 5006
#define IDS_VIEW_READ_ONLY 5007
#define IDS_VIEW_NO_COLUMNS 5008
#define IDS_VIEW_CATEGORY_EXISTS 5009
#define IDS_VIEW_TAB_FIRST 4106
#define IDD_CATEGORY 2200
#define IDC_CATEGORY_OLD_LABEL 2201
#define IDC_CATEGORY_NEW_LABEL 2202
#define IDC_CATEGORY_COMBO 2204
#define IDC_CATEGORY_EDIT 2205
#define IDC_CATEGORY_TEXT 2206
#define IDS_CATEGORY_EDIT_CAPTION 4201
#define IDS_CATEGORY_CHANGE_CAPTION 4202

// ---- printing

// ---- network and update
