#pragma once
// A check box that ticks itself when clicked.
#include "toolkit/ERWindow.h"

namespace DAVavador {

class ERCheckBox : public ERWindow {
 public:
  bool Create(HWND parent, int id) override;
  bool CreateAt(HWND parent, int id, int x, int y, int width, int height) override;

  bool IsChecked() const;
  void SetChecked(bool checked);
};

}  // namespace DAVavador
