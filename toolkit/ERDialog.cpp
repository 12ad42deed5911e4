#include "toolkit/ERDialog.h"

#include <commctrl.h>

#include "resource.h"
#include "toolkit/ERComboBox.h"

namespace DAVavador {

INT_PTR ERDialog::RunModal(const ERApp& app, int dialogId, HWND owner) {
  app_ = &app;
  changed_ = initialised_ = false;
  const INT_PTR result = app.RunDialog(dialogId, &ERDialog::Proc, reinterpret_cast<LPARAM>(this), owner);
  dialog_ = nullptr;
  return result;
}

INT_PTR CALLBACK ERDialog::Proc(HWND dialog, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_INITDIALOG) {
    auto* self = reinterpret_cast<ERDialog*>(lp);
    SetWindowLongPtrW(dialog, DWLP_USER, lp);
    self->dialog_ = dialog;
    const bool focus = self->OnInit();
    self->initialised_ = true;
    return focus ? TRUE : FALSE;
  }
  auto* self = reinterpret_cast<ERDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
  return self ? self->Handle(msg, wp, lp) : FALSE;
}

INT_PTR ERDialog::Handle(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_COMMAND) {
    const int id = LOWORD(wp);
    if (HIWORD(wp) == CBN_DROPDOWN) FitDroppedList(reinterpret_cast<HWND>(lp));
    NoteChange(HIWORD(wp), reinterpret_cast<HWND>(lp));
    if (OnCommand(id, HIWORD(wp))) return TRUE;
    if (id == IDOK) {
      if (OnOK()) End(IDOK);
      return TRUE;
    }
    if (id == IDCANCEL) {
      if (MayDiscard()) End(IDCANCEL);
      return TRUE;
    }
    return FALSE;
  }
  if (msg == WM_NOTIFY) {
    LRESULT result = 0;
    if (!OnNotify(*reinterpret_cast<const NMHDR*>(lp), result)) return FALSE;
    SetWindowLongPtrW(dialog_, DWLP_MSGRESULT, result);
    return TRUE;
  }
  INT_PTR result = FALSE;
  if (OnMessage(msg, wp, lp, result)) return result;
  if (msg == WM_CTLCOLORSTATIC && OnTabPage(reinterpret_cast<HWND>(lp))) {
    // A label or tick box on a tab control's page draws on the page's colour, not the dialog's.
    SetBkColor(reinterpret_cast<HDC>(wp), GetSysColor(COLOR_WINDOW));
    return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_WINDOW));
  }
  return FALSE;
}

// Whether `control`, a label or a button, stands on the page of one of the dialog's tab controls
// (read-only edits, which also ask for this colour, keep the dialog's).
bool ERDialog::OnTabPage(HWND control) const {
  wchar_t name[16] = {};
  GetClassNameW(control, name, 16);
  if (lstrcmpiW(name, L"Static") != 0 && lstrcmpiW(name, L"Button") != 0) return false;
  RECT place{};
  GetWindowRect(control, &place);
  for (HWND tabs = FindWindowExW(dialog_, nullptr, WC_TABCONTROLW, nullptr); tabs;
       tabs = FindWindowExW(dialog_, tabs, WC_TABCONTROLW, nullptr)) {
    RECT page{};
    GetWindowRect(tabs, &page);
    TabCtrl_AdjustRect(tabs, FALSE, &page);
    if (place.left >= page.left && place.top >= page.top && place.right <= page.right &&
        place.bottom <= page.bottom)
      return true;
  }
  return false;
}

// What the user does to an edit, a combo box or a tick box; a push button changes nothing itself.
void ERDialog::NoteChange(int code, HWND control) {
  if (!initialised_ || !control || changed_) return;
  wchar_t name[16] = {};
  GetClassNameW(control, name, 16);
  if (lstrcmpiW(name, L"Edit") == 0) {
    changed_ = code == EN_CHANGE;
  } else if (lstrcmpiW(name, L"ComboBox") == 0) {
    changed_ = code == CBN_SELCHANGE || code == CBN_EDITCHANGE;
  } else if (lstrcmpiW(name, L"Button") == 0 && code == BN_CLICKED) {
    const LONG_PTR kind = GetWindowLongPtrW(control, GWL_STYLE) & BS_TYPEMASK;
    changed_ = kind == BS_AUTOCHECKBOX || kind == BS_CHECKBOX || kind == BS_AUTORADIOBUTTON ||
               kind == BS_RADIOBUTTON || kind == BS_AUTO3STATE || kind == BS_3STATE;
  }
}

bool ERDialog::MayDiscard() const {
  if (!askBeforeDiscarding_ || !changed_ || !app_) return true;
  return app_->ShowMessage(app_->String(IDS_DISCARD_CHANGES), MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void ERDialog::AddTips(const ERApp& app, std::initializer_list<Tip> tips) const {
  const HWND window = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                      CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, dialog_,
                                      nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!window) return;
  for (const Tip& tip : tips) {
    WString text = app.String(tip.text);
    TTTOOLINFOW tool = {};
    tool.cbSize = TTTOOLINFOW_V1_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = dialog_;
    tool.uId = reinterpret_cast<UINT_PTR>(Item(tip.id));
    tool.lpszText = text.data();
    SendMessageW(window, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

int ERDialog::AddComboItem(HWND combo, const WString& text, LPARAM data) {
  const auto at =
      static_cast<int>(SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
  if (at >= 0) SendMessageW(combo, CB_SETITEMDATA, static_cast<WPARAM>(at), data);
  return at;
}

void ERDialog::FillCombo(HWND combo, const NamedIdList& entries) {
  SendMessageW(combo, CB_RESETCONTENT, 0, 0);
  for (const NamedId& entry : entries) AddComboItem(combo, entry.name, static_cast<LPARAM>(entry.id));
}

bool ERDialog::SelectComboData(HWND combo, LPARAM data, int otherwise) {
  const auto count = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    if (SendMessageW(combo, CB_GETITEMDATA, static_cast<WPARAM>(i), 0) == data) {
      SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(i), 0);
      return true;
    }
  }
  SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(otherwise), 0);
  return false;
}

void ERDialog::FillComboUnderAll(int id, const WString& all, const NamedIdList& entries,
                                 LPARAM selected) const {
  const HWND combo = Item(id);
  FillCombo(combo, entries);
  SendMessageW(combo, CB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(all.c_str()));
  SendMessageW(combo, CB_SETITEMDATA, 0, 0);
  SelectComboData(combo, selected, 0);
}

LPARAM ERDialog::SelectedListData(int id, LPARAM none) const {
  const LRESULT selected = Message(id, LB_GETCURSEL);
  return selected < 0 ? none : Message(id, LB_GETITEMDATA, static_cast<WPARAM>(selected));
}

LPARAM ERDialog::SelectedComboData(HWND combo, LPARAM none) {
  const LRESULT selected = SendMessageW(combo, CB_GETCURSEL, 0, 0);
  return selected < 0 ? none : SendMessageW(combo, CB_GETITEMDATA, static_cast<WPARAM>(selected), 0);
}

}  // namespace DAVavador
