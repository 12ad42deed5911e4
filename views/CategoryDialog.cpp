#include "views/CategoryDialog.h"

#include "food/CategoryList.h"
#include "resource.h"
#include "toolkit/ERDialog.h"

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

// Dialog 2200 in the mode of its Run.
class CategoryDialog::Window : public DAVavador::ERDialog {
 public:
  explicit Window(CategoryDialog& owner) : owner_(owner) {}
  bool Run() { return RunModal(owner_.app, IDD_CATEGORY) == IDOK; }

 private:
  bool OnInit() override {
    const HWND combo = Item(IDC_CATEGORY_COMBO);
    const HWND edit = Item(IDC_CATEGORY_EDIT);
    switch (owner_.mode_) {
      case Mode::Add:
        ShowWindow(Item(IDC_CATEGORY_OLD_LABEL), SW_HIDE);
        ShowWindow(combo, SW_HIDE);
        break;
      case Mode::Rename:
        ShowWindow(combo, SW_HIDE);
        SetWindowTextW(Dialog(), owner_.app.String(IDS_CATEGORY_EDIT_CAPTION).c_str());
        SetItemText(IDC_CATEGORY_TEXT, owner_.name_);
        SetItemText(IDC_CATEGORY_EDIT, owner_.name_);
        SendMessageW(edit, EM_SETSEL, 0, -1);
        break;
      case Mode::Change:
        ShowWindow(edit, SW_HIDE);
        SetWindowTextW(Dialog(), owner_.app.String(IDS_CATEGORY_CHANGE_CAPTION).c_str());
        SetItemText(IDC_CATEGORY_TEXT, owner_.name_);
        owner_.combo_.Attach(combo);
        owner_.combo_.ResetContent();
        for (const NamedId& entry : owner_.list.Entries()) owner_.combo_.AddString(entry.name, entry.id);
        owner_.combo_.Select(static_cast<int>(SendMessageW(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                                           reinterpret_cast<LPARAM>(owner_.name_.c_str()))));
        break;
    }
    SetFocus(owner_.mode_ == Mode::Change ? combo : edit);
    return false;  // the focus is placed
  }

  bool OnCommand(int id, int) override {
    if (id == IDCANCEL) owner_.combo_.Detach();
    return false;
  }

  bool OnOK() override {
    if (owner_.mode_ == Mode::Change) {
      const int selected = owner_.combo_.Selection();
      if (selected < 0) return false;
      owner_.name_ = owner_.combo_.ItemText(selected);
      owner_.combo_.Detach();
      return true;
    }
    const WString text = ItemText(IDC_CATEGORY_EDIT);
    if (text.empty()) return false;
    owner_.name_ = text;
    return true;
  }

  CategoryDialog& owner_;
};

bool CategoryDialog::Run(Mode mode, WString& name) {
  mode_ = mode;
  name_ = name;
  if (!Window(*this).Run()) return false;
  name = name_;
  return true;
}
