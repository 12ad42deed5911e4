#include "toolkit/ERCheckBox.h"

namespace DAVavador {

bool ERCheckBox::Create(HWND parent, int id) {
  return CreateAt(parent, id, 0, 0, 150, 20);
}

bool ERCheckBox::CreateAt(HWND parent, int id, int x, int y, int width, int height) {
  return CreateControl(L"Button", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, 0, parent, id, x, y,
                       width, height);
}

bool ERCheckBox::IsChecked() const {
  return Send(BM_GETCHECK) == BST_CHECKED;
}
void ERCheckBox::SetChecked(bool checked) {
  Send(BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED);
}

}  // namespace DAVavador
