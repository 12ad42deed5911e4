#pragma once
// A single-selection list box whose items carry one data value each.
#include "toolkit/ERWindow.h"

namespace DAVavador {

class ERListBox : public ERWindow {
 public:
  bool Create(HWND parent, int id) override;
  bool CreateAt(HWND parent, int id, int x, int y, int width, int height) override;

  int AddString(const WString& text, LPARAM data);  // index of the new item, LB_ERR on failure
  int InsertString(int index, const WString& text, LPARAM data);
  void DeleteString(int index);
  void ResetContent();
  int Count() const;
  int Selection() const;  // LB_ERR (-1) when none
  void Select(int index);
  LPARAM ItemData(int index) const;
  void SetItemData(int index, LPARAM data);
  WString ItemText(int index) const;

 private:
  int WithData(int index, LPARAM data);
};

}  // namespace DAVavador
