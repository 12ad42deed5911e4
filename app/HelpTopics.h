#pragma once
// The pages of the help file that F1 opens: one per dialog, looked up by the dialog's resource
// number, and one per tab of the main window.
#include <cstddef>

// The first page of the help file, with its contents.
extern const wchar_t kHelpContentsPage[];

// The page of dialog `dialogId`; null for a number that names no dialog of the program.
const wchar_t* DialogHelpPage(int dialogId);

// The page of the main window's tab `tab`, 0 (Ingredients) to 3 (Shopping List); the contents
// page for any other number.
const wchar_t* TabHelpPage(size_t tab);
