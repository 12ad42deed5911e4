#pragma once
// Resource numbers: strings, dialogs, controls, menus, commands, icons. The numbers are part of the
// program's interface (the string table and dialogs are addressed by them), so they never change.
// Each area keeps its block below; add to your block only.

// ---- strings: see strings.rc (numbered directly, grouped by range)

// ---- toolkit and shell
#define IDS_MAKER_NAME 4101
#define IDS_PRODUCT_NAME 4103
#define IDS_DISPLAY_NAME 4110
#define IDS_ALL 4200                     // "--All--", the header row of combo boxes
#define IDS_TOOLBAR_TIP_FIRST 6000       // + button image index
#define IDI_TOOLBAR_FIRST 6100           // + button image index, normal
#define IDI_TOOLBAR_DISABLED_FIRST 6200  // + button image index, disabled
#define IDR_MANIFEST 1                   // CREATEPROCESS_MANIFEST_RESOURCE_ID
#define IDD_INPUT_BOX 20100              // one-line text input: prompt, edit, OK, Cancel
#define IDC_INPUT_PROMPT 20101
#define IDC_INPUT_TEXT 20102

// ---- texts of the food data, which the native build reads from its own table (food/Texts.cpp)
#define IDS_UNIT_FIRST 4800  // serving unit names, + unit (unit 1 has none)
#define IDS_CARD_PREPARATION 4822
#define IDS_CARD_COOKING 4823
#define IDS_HOURS_SUFFIX 4824    // "h "
#define IDS_MINUTES_SUFFIX 4825  // "m"
#define IDS_CARD_SERVES 4826
#define IDS_CARD_INSTRUCTIONS 4827
#define IDS_CARD_INGREDIENTS 4828
#define IDS_CARD_NUTRITION 4829
#define IDS_COLUMN_FIRST 5100        // ingredient and recipe column headers, + column code
#define IDS_DIARY_COLUMN_FIRST 5200  // food diary column headers, + column code

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
#define IDC_VIEW_FIND 2107  // the find box right of the letter selector
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
#define IDS_VIEW_SAVE_FAILED 5010
#define IDS_VIEW_SAVE_KEPT 5011
#define IDS_VIEW_EXPORT_TO_CATALOG 5012
#define IDS_VIEW_EXPORT_NAME 5013
#define IDS_VIEW_FIND_LABEL 5014
// A catalog file that is there but could not be read (strings 5015-5018 chosen here).
#define IDS_VIEW_DAMAGED 5015
#define IDS_VIEW_LOAD_FAILED 5016
#define IDS_VIEW_LOAD_KEPT 5017
#define IDS_VIEW_HELD 5018
#define IDS_SAVE_AT_EXIT 5019
#define IDS_VIEW_SELECTED 5020  // after the number of selected records in a delete question
#define IDS_DISCARD_CHANGES 5021  // an editor's Cancel or Escape after changes
// What an empty list of each view says to do first, by tab (strings 5030-5033 chosen here), and
// the editors' refusal of a record without a category (5034).
#define IDS_VIEW_EMPTY_FIRST 5030
#define IDS_EDITOR_NO_CATEGORY 5034
#define IDS_EDITOR_CATEGORY_CUE 5035  // in the editors' empty category box
#define IDM_VIEW_FIND 1211  // Ctrl+F: the keyboard to the find box
#define IDS_VIEW_TAB_FIRST 4106
// Import, export and pictures, which several views share.
#define IDS_INGREDIENT_IMPORT_QUESTION 4501
#define IDS_RECIPE_IMPORT_QUESTION 4502
#define IDS_INGREDIENT_EXPORTING 4505
#define IDS_RECIPE_EXPORTING 4506
#define IDS_CSV_FILES 4507  // then its pattern, then the XML name and pattern
#define IDS_XML_FILES 4509  // then its pattern
#define IDS_INGREDIENT_IMPORTING 4512
#define IDS_RECIPE_IMPORTING 4513
#define IDS_INGREDIENT_EXPORT_TITLE 4514
#define IDS_EXPORT_OVERWRITE_QUESTION 4515
#define IDS_RECIPE_EXPORT_TITLE 4516
#define IDS_INGREDIENT_RESTORING 4517
#define IDS_INGREDIENT_IMPORT_FILE_TITLE 4519
#define IDS_RECIPE_IMPORT_FILE_TITLE 4520
#define IDS_PICTURE_CLEAR_QUESTION 4701
#define IDS_PICTURE_FILES 4702  // 4702..4705: picture files and all files, names and patterns
#define IDS_PICTURE_BROWSE_TITLE 4706
#define IDD_CATEGORY 2200
#define IDC_CATEGORY_OLD_LABEL 2201
#define IDC_CATEGORY_NEW_LABEL 2202
#define IDC_CATEGORY_COMBO 2204
#define IDC_CATEGORY_EDIT 2205
#define IDC_CATEGORY_TEXT 2206
#define IDS_CATEGORY_EDIT_CAPTION 4201
#define IDS_CATEGORY_CHANGE_CAPTION 4202

// ---- commands of the menus, the accelerators and the toolbar; one number however many of them
// carry it, so that a view enables the menu item and the button together
#define IDM_NEXT_TAB 1000  // Ctrl+T
#define IDM_ADD_CATEGORY 1001
#define IDM_DELETE_CATEGORY 1002
#define IDM_EDIT_CATEGORY 1003
#define IDM_SELECT_ALL 1004  // Ctrl+A
#define IDM_ADD_DIARY 1101
#define IDM_DELETE_DIARY 1102
#define IDM_EDIT_DIARY 1103
#define IDM_CUSTOMIZE_COLUMNS 1200
#define IDM_DOWNLOAD_RECIPES 1201
#define IDM_EXIT 1202
#define IDM_FILE_EXPORT 1203
#define IDM_FILE_IMPORT 1204
#define IDM_NUTRITION 1205
#define IDM_TOOLS_OPTIONS 1206
#define IDM_FILE_PRINT 1207
#define IDM_RESTORE 1208
#define IDM_CUSTOMIZE_TOOLBAR 1209
#define IDM_UPLOAD_RECIPE 1210
#define IDM_ABOUT 1300
#define IDM_HELP 1301
#define IDM_HOME_PAGE 1302
#define IDM_SUPPORT_MAIL 1303
#define IDM_CHECK_UPDATE 1304
#define IDM_ADD_INGREDIENT 1400
#define IDM_COPY_INGREDIENT 1401
#define IDM_DELETE_INGREDIENT 1402
#define IDM_EDIT_INGREDIENT 1403
#define IDM_MOVE_INGREDIENT 1404
#define IDM_ADD_MEAL 1600
#define IDM_DELETE_MEAL 1601
#define IDM_EDIT_MEAL 1602
#define IDM_ADD_RECIPE 1800
#define IDM_COMPONENT_INFO 1801
#define IDM_COPY_RECIPE 1802
#define IDM_DELETE_RECIPE 1803
#define IDM_EDIT_RECIPE 1804
#define IDM_MOVE_RECIPE 1805
#define IDM_IMPORT_WEB_PAGE 1807
#define IDM_ADD_SHOPLIST 1901
#define IDM_COPY_SHOPLIST 1902
#define IDM_DELETE_SHOPLIST 1903
#define IDM_EDIT_SHOPLIST 1904

// ---- main window
#define IDM_MAIN_DIARY 1100
#define IDM_MAIN_INGREDIENTS 1405
#define IDM_MAIN_DEFAULT 1500  // the menu bar until a view installs its own
#define IDM_MAIN_RECIPES 1806
#define IDM_MAIN_SHOPLIST 1900
#define IDM_POPUP_DIARY 1700  // list pop-ups of the views
#define IDM_POPUP_INGREDIENTS 1701
#define IDM_POPUP_RECIPES 1702
#define IDM_POPUP_SHOPLIST 1703
#define IDM_POPUP_TABS 1704
#define IDM_POPUP_TOOLBAR 1705
#define IDR_HELP_FILE 1007  // RCDATA: the compiled help file
#define IDD_ABOUT 2000
#define IDC_ABOUT_NAME 2001
#define IDC_ABOUT_VERSION 2002
#define IDC_ABOUT_DESCRIPTION 2003
#define IDC_ABOUT_MAKER 2004
// A save at exit that failed: try again, save a copy elsewhere, quit without saving or stay
// (dialog 2010 and its controls chosen here).
#define IDD_SAVE_AT_EXIT 2010
#define IDC_SAVE_AT_EXIT_TEXT 2011
#define IDC_SAVE_AT_EXIT_COPY 2012
#define IDC_TABS 2103
#define IDC_SPLITTER 2104
#define IDC_STATUS 2105
#define IDC_TOOLBAR 2106
#define IDS_LOADING_PROGRAM 4104
#define IDS_ALREADY_RUNNING 4105
#define IDS_HOME_PAGE 4111
#define IDS_SUPPORT_MAIL 4112
#define IDS_RESTORE_QUESTION 4116  // "Restore from your last saved backup?"

// ---- ingredients (strings 4690-4692 chosen here)
#define IDS_INGREDIENT_COPY_CAPTION 4690     // "Copy Ingredient"
#define IDS_INGREDIENT_COPY_PROMPT 4691      // "Please enter the name of the new ingredient:"
#define IDS_INGREDIENT_DELETE_QUESTION 4692  // "Would you like to delete the selected ingredients?"
#define IDS_INGREDIENT_RESTORE_QUESTION 4601
#define IDS_INGREDIENT_EDIT_CAPTION 4605
#define IDS_INGREDIENT_LOADING 4606
#define IDS_INGREDIENT_TAB_FIRST 4607  // 4607..4611: General, Nutrition, Vitamins, Minerals, Picture
#define IDD_INGREDIENT_EXPORT 2500
#define IDC_INGREDIENT_EXPORT_ALL 2501
#define IDC_INGREDIENT_EXPORT_BROWSE 2502
#define IDC_INGREDIENT_EXPORT_CATEGORY 2503
#define IDC_INGREDIENT_EXPORT_PATH 2504
#define IDC_INGREDIENT_EXPORT_PICTURES 2508
#define IDC_INGREDIENT_EXPORT_SELECTED 2510
#define IDC_INGREDIENT_EXPORT_UNICODE 2511
// The ingredient editor (dialog 2701): labels, edits and combos of its five tabs.
#define IDS_INGREDIENT_NO_SERVING 4693  // "Please enter the serving size."
#define IDS_INGREDIENT_NO_OUNCES 4694   // "Please enter the number of ounces per serving."
#define IDS_INGREDIENT_BAD_MEASURE 4695  // "Please enter the measure's amount, name and grams."
#define IDD_INGREDIENT_EDITOR 2701
#define IDC_EDITOR_DONE 3
#define IDC_EDITOR_CATEGORY_LABEL 2702
#define IDC_EDITOR_NAME_LABEL 2703
#define IDC_EDITOR_SERVING_LABEL 2704
#define IDC_EDITOR_OUNCES_LABEL 2705
#define IDC_EDITOR_FIRST_NUTRIENT_LABEL 2706  // 2706..2734: the labels of nutrients 0..28
// The nutrient edits, in nutrient order; their numbers do not follow it.
#define IDC_EDITOR_CALORIES 2736
#define IDC_EDITOR_TOTAL_FAT 2742
#define IDC_EDITOR_SATURATED_FAT 2758
#define IDC_EDITOR_CHOLESTEROL 2739
#define IDC_EDITOR_SODIUM 2763
#define IDC_EDITOR_POTASSIUM 2756
#define IDC_EDITOR_CARBOHYDRATES 2737
#define IDC_EDITOR_FIBER 2743
#define IDC_EDITOR_SUGAR 2764
#define IDC_EDITOR_PROTEIN 2757
#define IDC_EDITOR_VITAMIN_A 2766
#define IDC_EDITOR_VITAMIN_B1 2767
#define IDC_EDITOR_VITAMIN_B2 2768
#define IDC_EDITOR_VITAMIN_B3 2769
#define IDC_EDITOR_VITAMIN_B6 2770
#define IDC_EDITOR_VITAMIN_B12 2771
#define IDC_EDITOR_VITAMIN_C 2772
#define IDC_EDITOR_VITAMIN_D 2773
#define IDC_EDITOR_VITAMIN_E 2774
#define IDC_EDITOR_PANTOTHENIC_ACID 2750
#define IDC_EDITOR_FOLIC_ACID 2744
#define IDC_EDITOR_CALCIUM 2735
#define IDC_EDITOR_IRON 2745
#define IDC_EDITOR_PHOSPHORUS 2751
#define IDC_EDITOR_MAGNESIUM 2746
#define IDC_EDITOR_ZINC 2775
#define IDC_EDITOR_COPPER 2741
#define IDC_EDITOR_MANGANESE 2747
#define IDC_EDITOR_SELENIUM 2759
#define IDC_EDITOR_CATEGORY 2738
#define IDC_EDITOR_GRAMS_TO_OUNCES 2740
#define IDC_EDITOR_NAME 2748
#define IDC_EDITOR_OUNCES 2749
#define IDC_EDITOR_PICTURE_AREA 2752
#define IDC_EDITOR_BROWSE 2753
#define IDC_EDITOR_PICTURE_PATH 2754
#define IDC_EDITOR_CLEAR 2755
#define IDC_EDITOR_UNIT 2760
#define IDC_EDITOR_WHOLE 2761
#define IDC_EDITOR_FRACTION 2762
#define IDC_EDITOR_TABS 2765
#define IDC_EDITOR_MEASURES_LABEL 2776
#define IDC_EDITOR_MEASURES 2777
#define IDC_EDITOR_MEASURE_AMOUNT 2778
#define IDC_EDITOR_MEASURE_NAME 2779
#define IDC_EDITOR_MEASURE_GRAMS 2780
#define IDC_EDITOR_MEASURE_GRAMS_LABEL 2781
#define IDC_EDITOR_MEASURE_ADD 2782
#define IDC_EDITOR_MEASURE_REMOVE 2783
// "Find Ingredient" (dialog 2600).
#define IDD_FIND_INGREDIENT 2600
#define IDC_FIND_CATEGORY 2601
#define IDC_FIND_TEXT 2602
#define IDC_FIND_LETTER 2603
#define IDC_FIND_RESULTS 2604

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
#define IDS_UPDATE_REFUSED 20733  // the downloaded installer does not match its SHA-256
#define IDS_SERVER_ADDRESS 20732   // the vendor's web server, "host[:port]"
#define IDS_UPDATE_CHECKING 20705  // "Checking for newer version."
#define IDS_INTERVAL_2_DAYS 20700  // the intervals between update checks
#define IDS_INTERVAL_2_MONTHS 20701
#define IDS_INTERVAL_2_WEEKS 20702
#define IDS_INTERVAL_6_MONTHS 20703
#define IDS_INTERVAL_1_DAY 20706
#define IDS_INTERVAL_1_MONTH 20709
#define IDS_INTERVAL_NEVER 20710
#define IDS_INTERVAL_1_WEEK 20714
#define IDS_INTERVAL_1_YEAR 20717
#define IDD_NEWS 20250
#define IDC_NEWS_HIDE 20251
#define IDC_NEWS_CLOSE 20252
#define IDC_NEWS_TEXT 20253
#define IDD_DOWNLOAD_RECIPES 2450
#define IDC_DOWNLOAD_SINCE_LAST 2451
#define IDC_DOWNLOAD_SINCE_MONTH 2452
#define IDC_DOWNLOAD_SINCE_WEEK 2453
#define IDC_DOWNLOAD_SINCE_YESTERDAY 2454
#define IDC_DOWNLOAD_ALL 2455
#define IDC_DOWNLOAD_ADD 2456
#define IDC_DOWNLOAD_CATEGORY 2457
#define IDC_DOWNLOAD_REMOVE 2458
#define IDC_DOWNLOAD_FIND 2459
#define IDC_DOWNLOAD_AVAILABLE 2460
#define IDC_DOWNLOAD_NAME 2461
#define IDC_DOWNLOAD_SELECTED 2462
#define IDS_DOWNLOADING_RECIPES 4904
#define IDS_UPLOAD_QUESTION 4913
#define IDS_UPLOAD_FAILED 4914
#define IDS_UPLOAD_DONE 4915
#define IDS_UPLOADING_RECIPE 4916  // the upload's progress title (chosen here)

// ---- recipes (strings 4518 and 4908 and the label ids 3260-3280 chosen here)
#define IDS_RECIPE_RESTORE_TITLE 4518   // "Restoring recipes"
#define IDS_RECIPE_EXPORT_CAPTION 4908  // "Export Recipes"
#define IDS_RECIPE_RESTORE_QUESTION 4900
#define IDS_RECIPE_COPY_CAPTION 4901
#define IDS_RECIPE_COPY_PROMPT 4902
#define IDS_RECIPE_DELETE_QUESTION 4903
#define IDS_RECIPE_EDIT_CAPTION 4905
#define IDS_RECIPE_LOADING 4906
#define IDS_RECIPE_NO_LINES 4907
#define IDS_RECIPE_TAB_FIRST 4909     // 4909..4912: General, Ingredients, Instructions, Picture
#define IDS_RECIPE_TIP_ADD_LINE 7000  // tool tips of the recipe editor's Ingredients tab
#define IDS_RECIPE_TIP_LINE_TEXT 7001
#define IDS_RECIPE_TIP_ON_LIST 7002
#define IDS_RECIPE_TIP_QUICK_SEARCH 7003
#define IDS_RECIPE_TIP_LINES 7004
#define IDS_RECIPE_TIP_REMOVE_LINE 7005
#define IDS_RECIPE_TIP_CATALOG 7006
#define IDS_AMOUNT_CUE 7007  // in the empty amount boxes of the three amount entries (chosen here)
#define IDS_MEASURE_CUE_AMOUNT 7008  // 7008..7010: a measure's example in the editor's empty boxes
#define IDS_MEASURE_CUE_NAME 7009
#define IDS_MEASURE_CUE_GRAMS 7010
#define IDC_EXPORT_INGREDIENTS 2505  // dialog 2500: shown for recipes only
#define IDC_EXPORT_INGREDIENTS_LABEL 2506
#define IDD_RECIPE_EDITOR 3200
#define IDC_RECIPE_CATEGORY 2738
#define IDC_RECIPE_NAME 2748
#define IDC_RECIPE_PICTURE 2752
#define IDC_RECIPE_BROWSE 2753
#define IDC_RECIPE_PICTURE_PATH 2754
#define IDC_RECIPE_CLEAR 2755
#define IDC_RECIPE_UNIT 2760
#define IDC_RECIPE_WHOLE 2761
#define IDC_RECIPE_FRACTION 2762
#define IDC_RECIPE_TABS 2765
#define IDC_RECIPE_ADD_LINE 3216
#define IDC_RECIPE_NEW_INGREDIENT 3217
#define IDC_RECIPE_CHANGE 3218
#define IDC_RECIPE_COOK_HOURS 3219
#define IDC_RECIPE_COOK_MINUTES 3220
#define IDC_RECIPE_CUSTOM 3221
#define IDC_RECIPE_REMOVE_LINE 3222
#define IDC_RECIPE_INSTRUCTIONS 3223
#define IDC_RECIPE_LINE_TEXT 3224
#define IDC_RECIPE_DOWN 3225
#define IDC_RECIPE_ON_LIST 3226
#define IDC_RECIPE_QUICK_SEARCH 3227
#define IDC_RECIPE_LINES 3228
#define IDC_RECIPE_PREP_HOURS 3229
#define IDC_RECIPE_PREP_MINUTES 3230
#define IDC_RECIPE_SEARCH 3231
#define IDC_RECIPE_CATALOG 3232
#define IDC_RECIPE_SERVES 3233
#define IDC_RECIPE_UP 3234
#define IDC_RECIPE_UPDATE 3235
#define IDC_RECIPE_GENERAL_LABEL 3260      // 3260..3266: labels of the General tab
#define IDC_RECIPE_INGREDIENTS_LABEL 3270  // 3270..3272: labels of the Ingredients tab
#define IDC_RECIPE_INSTRUCTIONS_LABEL 3280
#define IDD_COMPONENT_INFO 3400
#define IDC_COMPONENT_LIST 3401

// ---- food diary (dialogs and controls 3600-3699, strings 4340-4353 chosen here)
#define IDD_MEAL 3600
#define IDC_MEAL_TABS 3601
#define IDC_MEAL_DIARY 3602
#define IDC_MEAL_DATE 3603
#define IDC_MEAL_DATE_PICK 3604
#define IDC_MEAL_TYPE 3605
#define IDC_MEAL_COMMENT 3606
#define IDC_MEAL_WHOLE 3607
#define IDC_MEAL_FRACTION 3608
#define IDC_MEAL_UNIT 3609
#define IDC_MEAL_FOOD 3610
#define IDC_MEAL_SEARCH 3611
#define IDC_MEAL_CATALOG 3612
#define IDC_MEAL_EATEN 3613
#define IDC_MEAL_ADD 3614
#define IDC_MEAL_REMOVE 3615
#define IDC_MEAL_UP 3616
#define IDC_MEAL_DOWN 3617
#define IDC_MEAL_DIARY_LABEL 3620  // 3620..3623: labels of the General tab
#define IDC_MEAL_DATE_LABEL 3621
#define IDC_MEAL_TYPE_LABEL 3622
#define IDC_MEAL_COMMENT_LABEL 3623
#define IDC_MEAL_AMOUNT_LABEL 3624  // 3624..3626: labels of the Meal tab
#define IDC_MEAL_FOOD_LABEL 3625
#define IDC_MEAL_EATEN_LABEL 3626
#define IDD_DATE_PICKER 3630
#define IDC_DATE_CALENDAR 3631
#define IDC_DATE_ERASE 3632
#define IDC_DATE_TODAY 3633
#define IDD_DIARY_NUTRITION 3640
#define IDC_NUTRITION_DIARY 3641
#define IDC_NUTRITION_MEAL 3642
#define IDC_NUTRITION_FROM 3643
#define IDC_NUTRITION_FROM_PICK 3644
#define IDC_NUTRITION_TO 3645
#define IDC_NUTRITION_TO_PICK 3646
#define IDC_NUTRITION_VIEW 3647
#define IDD_DIARY_NAME 3660
#define IDC_DIARY_NAME 3661
#define IDC_DIARY_SEX 3662
#define IDC_DIARY_AGE 3663
#define IDS_DIARY_RESTORE_QUESTION 4302
#define IDS_DIARY_LABEL 4303  // "Food Diary:"
#define IDS_DIARY_LOADING 4308
#define IDS_MEAL_TAB_GENERAL 4313
#define IDS_MEAL_TAB_MEAL 4314
#define IDS_DIARY_NAME_LABEL 4340
#define IDS_DIARY_MEAL_LABEL 4341
#define IDS_DIARY_DELETE_MEALS_QUESTION 4342
#define IDS_DIARY_DELETE_CAPTION 4343
#define IDS_DIARY_DELETE_QUESTION 4344
#define IDS_DIARY_EDIT_CAPTION 4345
#define IDS_DIARY_EXPORTING 4346
#define IDS_DIARY_IMPORTING 4347
#define IDS_DIARY_RESTORING 4348
#define IDS_DIARY_EXPORT_BROWSE_TITLE 4349
#define IDS_DIARY_IMPORT_FILE_TITLE 4350
#define IDS_DIARY_IMPORT_QUESTION 4351
#define IDS_DIARY_BAD_DATE 4352
#define IDS_DIARY_EXPORT_CAPTION 4353
#define IDS_MEAL_TYPE_FIRST 4360   // 4360..4366: "Breakfast" .. "Midnight Snack", meal types 1..7
#define IDS_CHART_TAB 4380         // "Chart"
#define IDS_TREND_TAB 4381         // "Trend"
#define IDS_CHART_SAVE 4382        // "Save as PNG..."
#define IDS_CHART_PRINT 4383       // "Print..."
#define IDS_CHART_NO_MEALS 4384    // "No meals in this period"
#define IDS_CHART_AVERAGE 4385     // "Average per day: "
#define IDS_CHART_PNG_FILES 4386   // "PNG Pictures (*.png)"
#define IDS_CHART_SAVE_TITLE 4387  // "Save the chart as"
#define IDS_CHART_NUTRIENT 4388    // "Nutrient:"
#define IDS_CHART_NOT_SAVED 4389   // "The chart could not be saved to "
#define IDC_CHART_ALLOWANCE 2790   // the nutrition window's chart pages, created at run time
#define IDC_CHART_TREND 2791
#define IDC_CHART_SAVE 2792
#define IDC_CHART_PRINT 2793
#define IDC_CHART_NUTRIENT 2794
#define IDC_CHART_NUTRIENT_LABEL 2795
#define IDD_WEB_ADDRESS 3700  // Import from Web Page: the page's address or saved file
#define IDC_WEB_ADDRESS 3701
#define IDC_WEB_BROWSE 3702
#define IDD_RECIPE_REVIEW 3710  // the imported recipe before it is added
#define IDC_REVIEW_NAME 3711
#define IDC_REVIEW_CATEGORY 3712
#define IDC_REVIEW_SERVES 3713
#define IDC_REVIEW_LINES 3714
#define IDC_REVIEW_AMOUNT 3715
#define IDC_REVIEW_UNIT 3716
#define IDC_REVIEW_CHANGE 3717
#define IDC_REVIEW_FIND 3718
#define IDC_REVIEW_NEW 3719
#define IDC_REVIEW_LEAVE_OUT 3720
#define IDC_REVIEW_YIELD 3721     // the batch yield the servings are asked for
#define IDC_REVIEW_CALORIES 3722  // the computed calories per serving, and the page's own
#define IDS_WEB_FETCHING 4390           // "Fetching the recipe page"
#define IDS_WEB_NOT_FETCHED 4391        // "The page could not be fetched: "
#define IDS_WEB_TOO_LARGE 4392          // "The page is larger than 10 MB: "
#define IDS_WEB_NO_RECIPE 4393          // "No recipe was found in "
#define IDS_WEB_HTML_FILES 4394         // "Web Pages (*.html;*.htm)"
#define IDS_WEB_BROWSE_TITLE 4395       // "Select a saved web page"
#define IDS_REVIEW_COLUMNS 4396         // 4396..4399: "Line", "Amount", "Unit", "Ingredient"
#define IDS_REVIEW_LEFT_OUT 4400        // "(left out)"
#define IDS_REVIEW_NO_NAME 4401         // "Please enter the name of the recipe."
#define IDS_MEALMASTER_FILES 4402       // "MealMaster Files (*.mmf;*.mm;*.txt)"
#define IDS_MEALMASTER_ACCEPT_ALL 4403  // add the whole file with the best matches?
#define IDS_WEB_READING 4404            // "Reading the recipe page"
#define IDS_WEB_NOT_READ 4405           // "The page could not be read: "
#define IDS_REVIEW_CALORIES 4406       // "Calories per serving: "
#define IDS_REVIEW_STATED 4407         // "; the page states "
#define IDS_REVIEW_YIELD 4408          // "The page makes " (the batch yield follows)
#define IDS_REVIEW_YIELD_END 4409      // ": how many servings?"
#define IDS_REVIEW_NO_SERVES 4410      // "Please enter how many servings the recipe makes."
#define IDS_SEX_FIRST 4370  // 4370..4372: "Unspecified", "Female", "Male"; 4370 also the age band 0

// ---- shopping lists (strings 5401-5419 and dialog 3300 chosen here)
#define IDS_SHOPLIST_RESTORE_QUESTION 5400
#define IDS_SHOPLIST_DEFAULT_NAME 5401  // "Shopping List"
#define IDS_SHOPLIST_LABEL 5402         // "List:"
#define IDS_SHOPLIST_COPY_CAPTION 5403
#define IDS_SHOPLIST_COPY_PROMPT 5404
#define IDS_SHOPLIST_DELETE_QUESTION 5405
#define IDS_SHOPLIST_NAME_MISSING 5406
#define IDS_SHOPLIST_NOTHING_TO_PRINT 5407
#define IDS_SHOPLIST_ADD_CAPTION 5408
#define IDS_SHOPLIST_LOADING 5409
#define IDS_SHOPLIST_EDIT_CAPTION 5410
#define IDS_SHOPLIST_EXPORT_TITLE 5411
#define IDS_SHOPLIST_GENERAL_TAB 5412
#define IDS_SHOPLIST_ITEMS_TAB 5413
#define IDS_SHOPLIST_IMPORT_TITLE 5414
#define IDS_SHOPLIST_EXPORTING 5415
#define IDS_SHOPLIST_IMPORTING 5416
#define IDS_SHOPLIST_RESTORING 5417
#define IDS_SHOPLIST_OVERWRITE_QUESTION 5418
#define IDS_SHOPLIST_XML_FILES 5419
#define IDS_SHOPLIST_COLUMN_FIRST 5500  // + column code
#define IDD_SHOPLIST 3300
#define IDC_SHOPLIST_TABS 3301
#define IDC_SHOPLIST_NAME_LABEL 3302
#define IDC_SHOPLIST_NAME 3303
#define IDC_SHOPLIST_WHOLE 3304
#define IDC_SHOPLIST_FRACTION 3305
#define IDC_SHOPLIST_UNIT 3306
#define IDC_SHOPLIST_CHANGE 3307
#define IDC_SHOPLIST_FOOD_LABEL 3308
#define IDC_SHOPLIST_FOOD 3309
#define IDC_SHOPLIST_SEARCH 3310
#define IDC_SHOPLIST_FOODS 3311
#define IDC_SHOPLIST_ITEMS_LABEL 3312
#define IDC_SHOPLIST_ITEMS 3313
#define IDC_SHOPLIST_ADD 3314
#define IDC_SHOPLIST_REMOVE 3315
#define IDC_SHOPLIST_UP 3316
#define IDC_SHOPLIST_DOWN 3317
