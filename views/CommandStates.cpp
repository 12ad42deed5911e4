#include "views/CommandStates.h"

void ApplyCommandStates(HMENU menu, DAVavador::ERToolbar* toolbar,
                        std::initializer_list<CommandState> states) {
  for (const CommandState& state : states) {
    if (menu) EnableMenuItem(menu, state.command, MF_BYCOMMAND | (state.enabled ? MF_ENABLED : MF_GRAYED));
    if (toolbar) toolbar->EnableButton(static_cast<int>(state.command), state.enabled);
  }
}
