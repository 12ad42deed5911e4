#pragma once
// The amount controls of the recipe editor, the meal dialog and the shopping-list dialog: a
// whole-number box that also takes whatever amount a cook types ("250", "1 1/2", "1.5", a fraction
// sign), a fraction list that adds to it, and the serving unit. Choosing a food offers its serving;
// what the user typed or picked since the last Show stays.
#include <windows.h>

#include <initializer_list>

#include "food/Food.h"
#include "food/Units.h"

class AmountEntry {
 public:
  AmountEntry(int wholeId, int fractionId, int unitId)
      : wholeId_(wholeId), fractionId_(fractionId), unitId_(unitId) {}

  // Fills the controls' lists in `dialog`, then shows nothing in the first unit.
  void Attach(HWND dialog);
  // Shows an amount in a unit (a unit not listed selects the first) as a fresh start.
  void Show(double amount, ServingUnit unit);
  // Shows the food's serving; only its unit once the user gave an amount, nothing once they picked
  // a unit.
  void Offer(const Food& food);

  // The amount shown: the box's number (none when empty) and the fraction picked; false when the
  // box holds no amount.
  bool Read(double& amount) const;
  // The amount shown, 0 when the box holds none.
  double Amount() const;
  ServingUnit Unit() const;
  ServingUnit FirstUnit() const;

  // Follows the user's typing and picking in the three controls; true when the command was theirs.
  bool OnCommand(int id, int code);
  // Whether the keyboard is in one of the three controls.
  bool HasFocus() const;
  void Focus() const;

 private:
  HWND Item(int id) const { return GetDlgItem(dialog_, id); }

  HWND dialog_ = nullptr;
  int wholeId_, fractionId_, unitId_;
  // What the user typed or picked since the last Show.
  bool wholeGiven_ = false;
  bool fractionGiven_ = false;
  bool unitGiven_ = false;
};

// Whether the keyboard is in one of the dialog's controls `ids` (a combo box's edit included).
bool KeyboardIn(HWND dialog, std::initializer_list<int> ids);
