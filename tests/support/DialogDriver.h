#pragma once
// Drives a dialog's controls by id as a user would: typing replaces an edit's text (the edit tells
// its dialog), a press clicks a button (a disabled one ignores it), a pick selects a row of a list
// box, combo box or list view and sends the notification a click sends. Reads texts back the same
// way, whatever the kind of list.
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "toolkit/ERApp.h"
#include "toolkit/WindowText.h"

namespace test_support {

class DialogDriver {
 public:
  explicit DialogDriver(HWND dialog) : dialog_(dialog) {}

  HWND Dialog() const { return dialog_; }
  HWND Item(int id) const { return GetDlgItem(dialog_, id); }

  void Type(int id, const std::wstring& text) const { SetDlgItemTextW(dialog_, id, text.c_str()); }
  void Press(int id) const { SendMessageW(Item(id), BM_CLICK, 0, 0); }
  // Types key by key into an edit or a combo box's edit, over what it showed, as a user who clicks
  // into it, selects its text and types; the control tells its dialog of each key.
  void Keys(int id, const std::wstring& text) const {
    SetFocus(Item(id));
    const HWND edit = GetFocus();
    SendMessageW(edit, EM_SETSEL, 0, -1);
    for (const wchar_t key : text) SendMessageW(edit, WM_CHAR, key, 1);
  }
  // Enter pressed where the keyboard is, handed to the dialog manager as the dialog's loop does.
  void Enter() const {
    MSG key = {GetFocus(), WM_KEYDOWN, VK_RETURN, 1};
    IsDialogMessageW(dialog_, &key);
  }
  // Clicks a check box or radio button unless it already shows `on`.
  void Tick(int id, bool on = true) const {
    if (Checked(id) != on) Press(id);
  }
  bool Checked(int id) const { return IsDlgButtonChecked(dialog_, id) == BST_CHECKED; }
  bool Enabled(int id) const { return IsWindowEnabled(Item(id)) != FALSE; }
  bool Visible(int id) const { return IsWindowVisible(Item(id)) != FALSE; }
  std::wstring Text(int id) const { return WindowText(Item(id)); }
  std::wstring Caption() const { return WindowText(dialog_); }

  // Rows of a list box, combo box or list view (first column unless `column` says otherwise).
  int Count(int id) const {
    const HWND list = Item(id);
    switch (KindOf(list)) {
      case Kind::kListBox:
        return static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
      case Kind::kComboBox:
        return static_cast<int>(SendMessageW(list, CB_GETCOUNT, 0, 0));
      case Kind::kListView:
        return ListView_GetItemCount(list);
      default:
        return 0;
    }
  }
  std::wstring RowText(int id, int row, int column = 0) const {
    const HWND list = Item(id);
    wchar_t text[1024] = {};
    switch (KindOf(list)) {
      case Kind::kListBox:
        if (SendMessageW(list, LB_GETTEXTLEN, row, 0) < 1024)
          SendMessageW(list, LB_GETTEXT, row, reinterpret_cast<LPARAM>(text));
        break;
      case Kind::kComboBox:
        if (SendMessageW(list, CB_GETLBTEXTLEN, row, 0) < 1024)
          SendMessageW(list, CB_GETLBTEXT, row, reinterpret_cast<LPARAM>(text));
        break;
      case Kind::kListView:
        ListView_GetItemText(list, row, column, text, 1024);
        break;
      default:
        break;
    }
    return text;
  }
  std::vector<std::wstring> Rows(int id, int column = 0) const {
    std::vector<std::wstring> rows;
    for (int row = 0; row < Count(id); ++row) rows.push_back(RowText(id, row, column));
    return rows;
  }
  // The selected row, -1 without one.
  int Selected(int id) const {
    const HWND list = Item(id);
    switch (KindOf(list)) {
      case Kind::kListBox:
        return static_cast<int>(SendMessageW(list, LB_GETCURSEL, 0, 0));
      case Kind::kComboBox:
        return static_cast<int>(SendMessageW(list, CB_GETCURSEL, 0, 0));
      case Kind::kListView:
        return ListView_GetNextItem(list, -1, LVNI_SELECTED);
      default:
        return -1;
    }
  }

  // Selects `row` and tells the dialog as a click does (a list view sends its own notification).
  void Pick(int id, int row) const {
    const HWND list = Item(id);
    switch (KindOf(list)) {
      case Kind::kListBox:
        SendMessageW(list, LB_SETCURSEL, row, 0);
        Notify(id, LBN_SELCHANGE);
        break;
      case Kind::kComboBox:
        SendMessageW(list, CB_SETCURSEL, row, 0);
        Notify(id, CBN_SELCHANGE);
        break;
      case Kind::kListView:
        ListView_SetItemState(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
        ListView_SetItemState(list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        break;
      default:
        break;
    }
  }
  // Picks the first row whose text is `text`; false when there is none.
  bool PickText(int id, const std::wstring& text) const {
    for (int row = 0; row < Count(id); ++row) {
      if (RowText(id, row) != text) continue;
      Pick(id, row);
      return true;
    }
    return false;
  }
  // The item data of `row` of a list box or combo box.
  LPARAM RowData(int id, int row) const {
    return SendMessageW(Item(id), KindOf(Item(id)) == Kind::kListBox ? LB_GETITEMDATA : CB_GETITEMDATA, row,
                        0);
  }
  // Picks the first row of a combo box whose item data is `data`; false when there is none.
  bool PickData(int id, LPARAM data) const {
    for (int row = 0; row < Count(id); ++row) {
      if (SendMessageW(Item(id), CB_GETITEMDATA, row, 0) != data) continue;
      Pick(id, row);
      return true;
    }
    return false;
  }
  // Shows page `index` of a tab control and tells the dialog as a click on the tab does.
  void ShowTab(int id, int index) const {
    SendMessageW(Item(id), TCM_SETCURSEL, index, 0);
    NMHDR change = {Item(id), static_cast<UINT_PTR>(id), static_cast<UINT>(TCN_SELCHANGE)};
    SendMessageW(dialog_, WM_NOTIFY, id, reinterpret_cast<LPARAM>(&change));
  }
  // The captions of the pages of a tab control.
  std::vector<std::wstring> TabTexts(int id) const {
    std::vector<std::wstring> texts;
    for (int index = 0; index < TabCtrl_GetItemCount(Item(id)); ++index) {
      wchar_t text[256] = {};
      TCITEMW item = {TCIF_TEXT, 0, 0, text, 256};
      TabCtrl_GetItem(Item(id), index, &item);
      texts.push_back(text);
    }
    return texts;
  }
  // A double click on the selected row of a list box.
  void DoubleClick(int id) const { Notify(id, LBN_DBLCLK); }

  // The notification `code` of control `id`, as the control sends it to its dialog.
  void Notify(int id, int code) const {
    SendMessageW(dialog_, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(Item(id)));
  }

  // The tooltip window the dialog owns (null without one) and the tip it shows over control `id`.
  HWND Tooltips() const {
    struct Search {
      HWND dialog;
      HWND found = nullptr;
    } search{dialog_};
    EnumThreadWindows(
        GetWindowThreadProcessId(dialog_, nullptr),
        [](HWND window, LPARAM param) -> BOOL {
          auto* s = reinterpret_cast<Search*>(param);
          wchar_t name[64] = {};
          GetClassNameW(window, name, 64);
          if (lstrcmpiW(name, TOOLTIPS_CLASSW) == 0 && GetWindow(window, GW_OWNER) == s->dialog)
            s->found = window;
          return s->found == nullptr;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
  }
  std::wstring TipText(int id) const {
    wchar_t text[256] = {};
    TTTOOLINFOW tool = {};
    tool.cbSize = TTTOOLINFOW_V1_SIZE;
    tool.hwnd = dialog_;
    tool.uId = reinterpret_cast<UINT_PTR>(Item(id));
    tool.lpszText = text;
    SendMessageW(Tooltips(), TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(&tool));
    return text;
  }

  static std::wstring WindowText(HWND window) { return DAVavador::WindowText(window); }

  // The ids of the visible labels on tab control `tabsId`'s page whose face is not the page's colour
  // (a box of the dialog's colour on the page), read off the screen at each label's top right
  // corner after the dialog is shown and painted.
  std::vector<int> LabelsOffThePage(int tabsId) const {
    ShowWindow(dialog_, SW_SHOW);
    RedrawWindow(dialog_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    struct Search {
      RECT page{};
      HDC screen = GetDC(nullptr);
      COLORREF colour = 0;
      std::vector<int> off;
    } search;
    GetWindowRect(Item(tabsId), &search.page);
    TabCtrl_AdjustRect(Item(tabsId), FALSE, &search.page);
    search.colour = GetPixel(search.screen, search.page.left + 2, search.page.bottom - 2);
    EnumChildWindows(
        dialog_,
        [](HWND child, LPARAM param) -> BOOL {
          auto* s = reinterpret_cast<Search*>(param);
          wchar_t name[16] = {};
          GetClassNameW(child, name, 16);
          RECT place{};
          GetWindowRect(child, &place);
          const RECT& page = s->page;
          if (lstrcmpiW(name, L"Static") == 0 && IsWindowVisible(child) && place.left >= page.left &&
              place.top >= page.top && place.right <= page.right && place.bottom <= page.bottom &&
              GetPixel(s->screen, place.right - 1, place.top) != s->colour)
            s->off.push_back(GetDlgCtrlID(child));
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    ReleaseDC(nullptr, search.screen);
    return search.off;
  }

 private:
  enum class Kind { kOther, kListBox, kComboBox, kListView };
  static Kind KindOf(HWND control) {
    wchar_t name[64] = {};
    GetClassNameW(control, name, 64);
    if (lstrcmpiW(name, L"ListBox") == 0) return Kind::kListBox;
    if (lstrcmpiW(name, L"ComboBox") == 0) return Kind::kComboBox;
    if (lstrcmpiW(name, WC_LISTVIEWW) == 0) return Kind::kListView;
    return Kind::kOther;
  }

  HWND dialog_;
};

// Runs an action in each dialog of a given resource while it initialises, before it shows;
// installed as the program's dialog observer while it lives.
class DialogActions : public DAVavador::DialogObserver {
 public:
  using Action = std::function<void(const DialogDriver& dialog)>;

  DialogActions() { DAVavador::ERApp::SetDialogObserver(this); }
  DialogActions(int dialogId, Action action) : DialogActions() { On(dialogId, std::move(action)); }
  ~DialogActions() override { DAVavador::ERApp::SetDialogObserver(nullptr); }

  void On(int dialogId, Action action) { actions_[dialogId] = std::move(action); }
  void OnDialogInit(int dialogId, HWND dialog) override {
    const auto found = actions_.find(dialogId);
    if (found != actions_.end()) found->second(DialogDriver(dialog));
  }

 private:
  std::map<int, Action> actions_;
};

}  // namespace test_support
