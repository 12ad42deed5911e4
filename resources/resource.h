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

// ---- main window
#define IDM_MAIN_DIARY 1100
#define IDM_MAIN_INGREDIENTS 1405
#define IDM_MAIN_DEFAULT 1500          // the menu bar until a view installs its own
#define IDM_MAIN_RECIPES 1806
#define IDM_MAIN_SHOPLIST 1900
#define IDM_POPUP_DIARY 1700           // list pop-ups of the views
#define IDM_POPUP_INGREDIENTS 1701
#define IDM_POPUP_RECIPES 1702
#define IDM_POPUP_SHOPLIST 1703
#define IDM_POPUP_TABS 1704
#define IDM_POPUP_TOOLBAR 1705
#define IDR_HELP_FILE 1007             // RCDATA: the compiled help file
#define IDD_ABOUT 2000
#define IDC_ABOUT_NAME 2001
#define IDC_ABOUT_VERSION 2002
#define IDC_ABOUT_DESCRIPTION 2003
#define IDC_ABOUT_MAKER 2004
#define IDC_TABS 2103
#define IDC_SPLITTER 2104
#define IDC_STATUS 2105
#define IDC_TOOLBAR 2106
#define IDS_LOADING_PROGRAM 4104
#define IDS_ALREADY_RUNNING 4105
#define IDS_HOME_PAGE 4111
#define IDS_SUPPORT_MAIL 4112
#define IDS_RESTORE_QUESTION 4116      // "Restore from your last saved backup?"

// ---- ingredients (strings 4690-4692 chosen here)
#define IDS_INGREDIENT_COPY_CAPTION 4690     // "Copy Ingredient"
#define IDS_INGREDIENT_COPY_PROMPT 4691      // "Please enter the name of the new ingredient:"
#define IDS_INGREDIENT_DELETE_QUESTION 4692  // "Would you like to delete the selected ingredients?"
#define IDD_INGREDIENT_EXPORT 2500
#define IDC_INGREDIENT_EXPORT_ALL 2501
#define IDC_INGREDIENT_EXPORT_BROWSE 2502
#define IDC_INGREDIENT_EXPORT_CATEGORY 2503
#define IDC_INGREDIENT_EXPORT_PATH 2504
#define IDC_INGREDIENT_EXPORT_PICTURES 2508
#define IDC_INGREDIENT_EXPORT_SELECTED 2510
#define IDC_INGREDIENT_EXPORT_UNICODE 2511

// ---- printing
#define IDD_PRINT 3100
#define IDC_PRINT_ALL 3101
#define IDC_PRINT_CATEGORY 3102
#define IDC_PRINT_FIRST 3103
#define IDC_PRINT_FONT 3104
#define IDC_PRINT_FULL_PAGE 3105
#define IDC_PRINT_NUTRITION_FULL 3106
#define IDC_PRINT_MARGIN 3107
#define IDC_PRINT_CARD 3108
#define IDC_PRINT_NUTRITION 3109
#define IDC_PRINT_SELECTED 3110
#define IDS_PRINT_FIRST_TIP 5300
#define IDS_PRINT_MORE 5301
#define IDS_PRINT_NUTRITION_TIP 5302
#define IDS_PRINT_NUTRITION_FULL_TIP 5303

// ---- network and update
// Dialog "Auto-Update" and its controls, the news window 20250, and the update messages.
#define IDD_AUTO_UPDATE 20720
#define IDC_AUTO_UPDATE_LABEL 20721
#define IDC_AUTO_UPDATE_YES 20722
#define IDC_AUTO_UPDATE_NO 20723
#define IDC_AUTO_UPDATE_INTERVAL 20724
#define IDS_UPDATE_NONE 20730
#define IDS_UPDATE_CAPTION 20731
#define IDS_SERVER_ADDRESS 20732  // the vendor's web server, "host[:port]"
#define IDD_NEWS 20250
#define IDC_NEWS_HIDE 20251
#define IDC_NEWS_CLOSE 20252
#define IDC_NEWS_TEXT 20253
