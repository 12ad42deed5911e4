#pragma once
// Resource numbers: strings, dialogs, controls, menus, commands, icons. The numbers are part of the
// program's interface (the string table and dialogs are addressed by them), so they never change.
// Each area keeps its block below; add to your block only.

// ---- strings: see strings.rc (numbered directly, grouped by range)

// ---- toolkit and shell
#define IDS_MAKER_NAME 4101
#define IDS_PRODUCT_NAME 4103
#define IDS_DISPLAY_NAME 4110

// ---- views

// ---- printing

// ---- network and update
