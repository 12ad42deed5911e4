#pragma once
// The enable table of a view's commands: each command's menu item and toolbar button follow one
// flag, so that the two never disagree about what the user may do.
#include <windows.h>

#include <initializer_list>

#include "toolkit/ERToolbar.h"

struct CommandState {
  UINT command;
  bool enabled;
};

// Enables or greys the menu item of each command in `menu` and its button on `toolbar`. Either
// may be null: a view without a window has no menu yet, and some commands have no button.
void ApplyCommandStates(HMENU menu, DAVavador::ERToolbar* toolbar,
                        std::initializer_list<CommandState> states);
