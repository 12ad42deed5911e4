#include "views/AmountEntry.h"

#include <commctrl.h>

#include "resources/resource.h"
#include "toolkit/ERDialog.h"

using DAVavador::ERDialog;

void AmountEntry::Attach(HWND dialog) {
  dialog_ = dialog;
  ERDialog::FillCombo(Item(wholeId_), WholePartChoices(0));
  ERDialog::FillCombo(Item(fractionId_), DistinctFractionChoices());
  ERDialog::FillCombo(Item(unitId_), UnitNames());
  Show(0, FirstUnit());
  // The empty box shows in grey that an amount is typed there; the box's edit holds the cue, as
  // Wine's combo box has none.
  const wchar_t* cue = nullptr;
  const int length =
      LoadStringW(GetModuleHandleW(nullptr), IDS_AMOUNT_CUE, reinterpret_cast<LPWSTR>(&cue), 0);
  COMBOBOXINFO parts = {sizeof(parts)};
  if (length > 0 && GetComboBoxInfo(Item(wholeId_), &parts))
    SendMessageW(parts.hwndItem, EM_SETCUEBANNER, TRUE,
                 reinterpret_cast<LPARAM>(WString(cue, static_cast<size_t>(length)).c_str()));
}

void AmountEntry::Show(double amount, ServingUnit unit) {
  const AmountFields fields = AmountFieldsOf(amount);
  const HWND whole = Item(wholeId_);
  SendMessageW(whole, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  SetWindowTextW(whole, fields.whole.c_str());
  ERDialog::SelectComboData(Item(fractionId_), fields.fortyEighths, 0);
  ERDialog::SelectComboData(Item(unitId_), unit, 0);
  wholeGiven_ = fractionGiven_ = unitGiven_ = false;
}

void AmountEntry::Offer(const Food& food) {
  if (unitGiven_) return;
  if (wholeGiven_ || fractionGiven_)
    ERDialog::SelectComboData(Item(unitId_), food.type, 0);
  else
    Show(food.size, food.type);
}

bool AmountEntry::Read(double& amount) const {
  return ReadAmountFields(DAVavador::WindowText(Item(wholeId_)),
                          static_cast<uint32_t>(ERDialog::SelectedComboData(Item(fractionId_), 0)), amount);
}

double AmountEntry::Amount() const {
  double amount = 0;
  return Read(amount) ? amount : 0;
}

ServingUnit AmountEntry::Unit() const {
  return static_cast<ServingUnit>(ERDialog::SelectedComboData(Item(unitId_), kUnitBlank));
}

ServingUnit AmountEntry::FirstUnit() const {
  const LRESULT first = SendMessageW(Item(unitId_), CB_GETITEMDATA, 0, 0);
  return first == CB_ERR ? kUnitBlank : static_cast<ServingUnit>(first);
}

bool AmountEntry::OnCommand(int id, int code) {
  const HWND whole = Item(wholeId_);
  if (id == wholeId_) {
    if (code == CBN_SETFOCUS) {
      // After the click that focused it, so that typing replaces the amount shown.
      PostMessageW(whole, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
    } else if (code == CBN_EDITCHANGE) {
      // What is typed is the amount; a fraction the program showed beside it no longer counts.
      wholeGiven_ = true;
      if (!fractionGiven_) SendMessageW(Item(fractionId_), CB_SETCURSEL, 0, 0);
    } else if (code == CBN_SELCHANGE) {
      // The box still shows the previous text while the list tells of its choice.
      const LRESULT row = SendMessageW(whole, CB_GETCURSEL, 0, 0);
      if (row >= 0) {
        WString text(static_cast<size_t>(SendMessageW(whole, CB_GETLBTEXTLEN, row, 0)) + 1, TXT('\0'));
        text.resize(static_cast<size_t>(
            SendMessageW(whole, CB_GETLBTEXT, row, reinterpret_cast<LPARAM>(text.data()))));
        SetWindowTextW(whole, text.c_str());
      }
      wholeGiven_ = true;
    }
    return true;
  }
  if (id == fractionId_ || id == unitId_) {
    if (code == CBN_SELCHANGE) (id == fractionId_ ? fractionGiven_ : unitGiven_) = true;
    return true;
  }
  return false;
}

bool AmountEntry::HasFocus() const {
  return KeyboardIn(dialog_, {wholeId_, fractionId_, unitId_});
}

void AmountEntry::Focus() const {
  SetFocus(Item(wholeId_));
}

bool KeyboardIn(HWND dialog, std::initializer_list<int> ids) {
  const HWND focus = GetFocus();
  for (const int id : ids) {
    const HWND control = GetDlgItem(dialog, id);
    if (control && focus && (focus == control || IsChild(control, focus))) return true;
  }
  return false;
}
