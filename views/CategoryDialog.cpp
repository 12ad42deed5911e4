#include "views/CategoryDialog.h"

#include "food/CategoryList.h"
#include "resource.h"

bool CategoryDialog::AddDialog(WString& name) {
  name.clear();
  return Run(Mode::Add, name);
}

uint32_t CategoryDialog::CommitAdd(const WString& name, uint32_t& idCounter) {
  return list.AddNew(name, idCounter);
}

bool CategoryDialog::EditDialog(WString& name) {
  return Run(Mode::Rename, name);
}

bool CategoryDialog::ChangeDialog(WString& name) {
  return Run(Mode::Change, name);
}

bool CategoryDialog::Run(Mode mode, WString& name) {
  mode_ = mode;
  name_ = name;
  if (app.RunDialog(IDD_CATEGORY, DialogProc, reinterpret_cast<LPARAM>(this)) != IDOK) return false;
  name = name_;
  return true;
}

INT_PTR CALLBACK CategoryDialog::DialogProc(HWND dialog, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_INITDIALOG) {
    SetWindowLongPtrW(dialog, DWLP_USER, lp);
    reinterpret_cast<CategoryDialog*>(lp)->OnInit(dialog);
    return FALSE;  // OnInit has placed the focus
  }
  auto* self = reinterpret_cast<CategoryDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
  if (!self || msg != WM_COMMAND) return FALSE;
  switch (LOWORD(wp)) {
    case IDOK:
      if (self->OnOK(dialog)) EndDialog(dialog, IDOK);
      return TRUE;
    case IDCANCEL:
      self->combo_.Detach();
      EndDialog(dialog, IDCANCEL);
      return TRUE;
  }
  return FALSE;
}

void CategoryDialog::OnInit(HWND dialog) {
  const HWND text = GetDlgItem(dialog, IDC_CATEGORY_TEXT);
  const HWND edit = GetDlgItem(dialog, IDC_CATEGORY_EDIT);
  const HWND combo = GetDlgItem(dialog, IDC_CATEGORY_COMBO);
  switch (mode_) {
    case Mode::Add:
      ShowWindow(GetDlgItem(dialog, IDC_CATEGORY_OLD_LABEL), SW_HIDE);
      ShowWindow(combo, SW_HIDE);
      break;
    case Mode::Rename:
      ShowWindow(combo, SW_HIDE);
      SetWindowTextW(dialog, app.String(IDS_CATEGORY_EDIT_CAPTION).c_str());
      SetWindowTextW(text, name_.c_str());
      SetWindowTextW(edit, name_.c_str());
      SendMessageW(edit, EM_SETSEL, 0, -1);
      break;
    case Mode::Change:
      ShowWindow(edit, SW_HIDE);
      SetWindowTextW(dialog, app.String(IDS_CATEGORY_CHANGE_CAPTION).c_str());
      SetWindowTextW(text, name_.c_str());
      combo_.Attach(combo);
      combo_.ResetContent();
      for (const NamedId& entry : list.Entries()) combo_.AddString(entry.name, entry.id);
      combo_.Select(static_cast<int>(SendMessageW(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                                  reinterpret_cast<LPARAM>(name_.c_str()))));
      break;
  }
  SetFocus(mode_ == Mode::Change ? combo : edit);
}

bool CategoryDialog::OnOK(HWND dialog) {
  if (mode_ == Mode::Change) {
    const int selected = combo_.Selection();
    if (selected < 0) return false;
    name_ = combo_.ItemText(selected);
    combo_.Detach();
    return true;
  }
  const HWND edit = GetDlgItem(dialog, IDC_CATEGORY_EDIT);
  WString text(static_cast<size_t>(GetWindowTextLengthW(edit)), 0);
  GetWindowTextW(edit, &text[0], static_cast<int>(text.size()) + 1);
  if (text.empty()) return false;
  name_ = text;
  return true;
}
