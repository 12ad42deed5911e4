#pragma once
// The base of the program's modal dialogs: the object is bound to its dialog window once, the
// messages reach virtual handlers, and the control helpers every dialog needs live here. Dialogs
// run through ERApp::RunDialog, which centres them on their owner and tells the dialog observer.
#include <windows.h>

#include <initializer_list>

#include "storage/NamedIdList.h"
#include "storage/Text.h"
#include "toolkit/ERApp.h"
#include "toolkit/WindowText.h"

namespace DAVavador {

class ERDialog {
 public:
  ERDialog() = default;
  ERDialog(const ERDialog&) = delete;
  ERDialog& operator=(const ERDialog&) = delete;
  virtual ~ERDialog() = default;

 protected:
  // Shows dialog resource `dialogId` over `owner` (null: the main window) until it ends; its
  // EndDialog result, -1 when it cannot be created.
  INT_PTR RunModal(const ERApp& app, int dialogId, HWND owner = nullptr);

  // WM_INITDIALOG; false when it has placed the focus itself.
  virtual bool OnInit() { return true; }
  // A WM_COMMAND; true when handled. OK and Cancel reach here first.
  virtual bool OnCommand(int /*id*/, int /*code*/) { return false; }
  // A WM_NOTIFY; true when handled, with the result in `result`.
  virtual bool OnNotify(const NMHDR& /*header*/, LRESULT& /*result*/) { return false; }
  // OK pressed: true ends the dialog with IDOK, false keeps it open.
  virtual bool OnOK() { return true; }
  // From OnInit on, a Cancel (the button, Escape or the close box) after the user changed an
  // edit, a combo box or a tick asks before the changes go (an editor's choice).
  void AskBeforeDiscarding() { askBeforeDiscarding_ = true; }
  // Any other message; true when handled, with the dialog procedure's result in `result`.
  virtual bool OnMessage(UINT /*msg*/, WPARAM /*wp*/, LPARAM /*lp*/, INT_PTR& /*result*/) { return false; }

  // A tooltip over each control `id` showing string `text`; the tooltip window goes with the dialog.
  struct Tip {
    int id;
    UINT text;
  };
  void AddTips(const ERApp& app, std::initializer_list<Tip> tips) const;

  void End(INT_PTR result) const { EndDialog(dialog_, result); }
  LRESULT Message(int id, UINT msg, WPARAM wp = 0, LPARAM lp = 0) const {
    return SendDlgItemMessageW(dialog_, id, msg, wp, lp);
  }
  HWND Dialog() const { return dialog_; }
  HWND Item(int id) const { return GetDlgItem(dialog_, id); }
  WString ItemText(int id) const { return ItemText(dialog_, id); }
  void SetItemText(int id, const WString& text) const { SetDlgItemTextW(dialog_, id, text.c_str()); }
  bool IsChecked(int id) const { return IsDlgButtonChecked(dialog_, id) == BST_CHECKED; }
  void SetChecked(int id, bool checked) const {
    CheckDlgButton(dialog_, id, checked ? BST_CHECKED : BST_UNCHECKED);
  }

  // Combo boxes by control id (see the static forms below).
  int AddComboItem(int id, const WString& text, LPARAM data) const {
    return AddComboItem(Item(id), text, data);
  }
  void FillCombo(int id, const NamedIdList& entries) const { FillCombo(Item(id), entries); }
  // The list's entries under a first entry `all` that carries 0; the entry carrying `selected`, or
  // `all` when none does.
  void FillComboUnderAll(int id, const WString& all, const NamedIdList& entries, LPARAM selected) const;
  bool SelectComboData(int id, LPARAM data, int otherwise = -1) const {
    return SelectComboData(Item(id), data, otherwise);
  }
  LPARAM SelectedComboData(int id, LPARAM none = 0) const { return SelectedComboData(Item(id), none); }
  // A list box's selected entry's data; `none` without a selection.
  LPARAM SelectedListData(int id, LPARAM none = 0) const;

 public:
  // The text of control `id` of any dialog.
  static WString ItemText(HWND dialog, int id) { return WindowText(GetDlgItem(dialog, id)); }
  // A combo box's entry with its data (its index); the list's entries with their ids; the first
  // entry carrying `data` selected (false without one, and row `otherwise` selected, -1 for none);
  // the selected entry's data (`none` without a selection).
  static int AddComboItem(HWND combo, const WString& text, LPARAM data);
  static void FillCombo(HWND combo, const NamedIdList& entries);
  static bool SelectComboData(HWND combo, LPARAM data, int otherwise = -1);
  static LPARAM SelectedComboData(HWND combo, LPARAM none = 0);

 private:
  static INT_PTR CALLBACK Proc(HWND dialog, UINT msg, WPARAM wp, LPARAM lp);
  INT_PTR Handle(UINT msg, WPARAM wp, LPARAM lp);
  bool OnTabPage(HWND control) const;

  HWND dialog_ = nullptr;
  const ERApp* app_ = nullptr;
  bool askBeforeDiscarding_ = false;
  bool changed_ = false;  // by the user, after OnInit
  bool initialised_ = false;
  void NoteChange(int code, HWND control);
  bool MayDiscard() const;
};

}  // namespace DAVavador
