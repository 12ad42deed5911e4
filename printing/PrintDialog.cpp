#include "printing/PrintDialog.h"

#include <commctrl.h>

#include "food/Texts.h"
#include "resource.h"
#include "toolkit/ERApp.h"
#include "toolkit/ScopedGdi.h"

namespace {

LRESULT Send(HWND dialog, int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  return SendDlgItemMessageW(dialog, id, message, wParam, lParam);
}

// Adds a combo entry with its item data; returns its index.
LRESULT AddEntry(HWND dialog, int id, const WString& text, LPARAM data) {
  const LRESULT index = Send(dialog, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  Send(dialog, id, CB_SETITEMDATA, index, data);
  return index;
}

LPARAM SelectedData(HWND dialog, int id) {
  const LRESULT index = Send(dialog, id, CB_GETCURSEL);
  return index == CB_ERR ? 0 : Send(dialog, id, CB_GETITEMDATA, index);
}

void SelectData(HWND dialog, int id, LPARAM data) {
  const LRESULT count = Send(dialog, id, CB_GETCOUNT);
  for (LRESULT i = 0; i < count; ++i)
    if (Send(dialog, id, CB_GETITEMDATA, i) == data) Send(dialog, id, CB_SETCURSEL, i);
}

int CALLBACK AddFont(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM combo) {
  const HWND box = reinterpret_cast<HWND>(combo);
  const LPARAM face = reinterpret_cast<LPARAM>(font->lfFaceName);
  if (font->lfFaceName[0] != L'@' && SendMessageW(box, CB_FINDSTRINGEXACT, -1, face) == CB_ERR)
    SendMessageW(box, CB_ADDSTRING, 0, face);
  return 1;
}

}  // namespace

PrintDialog::PrintDialog(const DAVavador::ERApp& app, PrintSettings& settings, const CategoryList& categories,
                         uint32_t& category)
    : app_(app), settings_(settings), categories_(categories), category_(category) {}

bool PrintDialog::Run(HWND owner) {
  return app_.RunDialog(IDD_PRINT, &PrintDialog::Proc, reinterpret_cast<LPARAM>(this), owner) == IDOK;
}

INT_PTR CALLBACK PrintDialog::Proc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    auto* self = reinterpret_cast<PrintDialog*>(lParam);
    self->dialog_ = dialog;
    self->Init();
    return TRUE;
  }
  auto* self = reinterpret_cast<PrintDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
  if (self == nullptr || message != WM_COMMAND) return FALSE;
  switch (LOWORD(wParam)) {
    case IDOK:
      self->TakeOver();
      EndDialog(dialog, IDOK);
      return TRUE;
    case IDCANCEL:
      EndDialog(dialog, IDCANCEL);
      return TRUE;
    case IDC_PRINT_SELECTED:
    case IDC_PRINT_ALL:
    case IDC_PRINT_FULL_PAGE:
    case IDC_PRINT_CARD:
      if (HIWORD(wParam) == BN_CLICKED) self->EnableControls();
      return TRUE;
    default:
      return FALSE;
  }
}

void PrintDialog::Init() {
  FillFonts();
  FillMargins();
  FillCategories();
  Check(settings_.selected ? IDC_PRINT_SELECTED : IDC_PRINT_ALL, true);
  Check(settings_.details ? IDC_PRINT_FULL_PAGE : IDC_PRINT_CARD, true);
  Check(IDC_PRINT_FIRST, settings_.firstOnly);
  Check(IDC_PRINT_NUTRITION, settings_.nutrition);
  Check(IDC_PRINT_NUTRITION_FULL, settings_.nutritionFull);
  AddTips();
  EnableControls();
}

// The installed fonts; a saved face that is not installed stays choosable.
void PrintDialog::FillFonts() {
  {
    const DAVavador::ScopedDC dc = DAVavador::ScopedDC::ForWindow(dialog_);
    EnumFontsW(dc.Get(), nullptr, &AddFont, reinterpret_cast<LPARAM>(GetDlgItem(dialog_, IDC_PRINT_FONT)));
  }
  const LPARAM face = reinterpret_cast<LPARAM>(settings_.font.c_str());
  LRESULT index = Send(dialog_, IDC_PRINT_FONT, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), face);
  if (index == CB_ERR && !settings_.font.empty())
    index = Send(dialog_, IDC_PRINT_FONT, CB_ADDSTRING, 0, face);
  Send(dialog_, IDC_PRINT_FONT, CB_SETCURSEL, index);
}

void PrintDialog::FillMargins() {
  static const WChar* const kMargins[] = {TXT(".5\""), TXT("1\""), TXT("1.5\""), TXT("2\"")};
  for (LPARAM i = 0; i < 4; ++i) AddEntry(dialog_, IDC_PRINT_MARGIN, kMargins[i], i);
  Send(dialog_, IDC_PRINT_MARGIN, CB_SETCURSEL, settings_.margin < 4 ? settings_.margin : 0);
}

void PrintDialog::FillCategories() {
  AddEntry(dialog_, IDC_PRINT_CATEGORY, app_.String(kTextAllHeader), 0);
  for (const NamedId& entry : categories_.Entries())
    AddEntry(dialog_, IDC_PRINT_CATEGORY, entry.name, entry.id);
  Send(dialog_, IDC_PRINT_CATEGORY, CB_SETCURSEL, 0);
  SelectData(dialog_, IDC_PRINT_CATEGORY, category_);
}

void PrintDialog::AddTips() {
  HWND tips =
      CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                      CW_USEDEFAULT, CW_USEDEFAULT, dialog_, nullptr, nullptr, nullptr);
  const std::pair<int, UINT> kTips[] = {{IDC_PRINT_FIRST, IDS_PRINT_FIRST_TIP},
                                        {IDC_PRINT_NUTRITION, IDS_PRINT_NUTRITION_TIP},
                                        {IDC_PRINT_NUTRITION_FULL, IDS_PRINT_NUTRITION_FULL_TIP}};
  for (const auto& tip : kTips) {
    WString text = app_.String(tip.second);
    TTTOOLINFOW info{};
    info.cbSize = sizeof(info);
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = dialog_;
    info.uId = reinterpret_cast<UINT_PTR>(GetDlgItem(dialog_, tip.first));
    info.lpszText = &text[0];
    SendMessageW(tips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
  }
}

// Full pages always print the nutrition block and never stop early; only they know the full block.
void PrintDialog::EnableControls() {
  const bool fullPage = Checked(IDC_PRINT_FULL_PAGE);
  EnableWindow(GetDlgItem(dialog_, IDC_PRINT_FIRST), !fullPage);
  EnableWindow(GetDlgItem(dialog_, IDC_PRINT_NUTRITION), !fullPage);
  EnableWindow(GetDlgItem(dialog_, IDC_PRINT_NUTRITION_FULL), fullPage);
  EnableWindow(GetDlgItem(dialog_, IDC_PRINT_CATEGORY), Checked(IDC_PRINT_ALL));
}

void PrintDialog::TakeOver() {
  settings_.selected = Checked(IDC_PRINT_SELECTED);
  settings_.details = Checked(IDC_PRINT_FULL_PAGE);
  settings_.firstOnly = Checked(IDC_PRINT_FIRST);
  settings_.nutrition = Checked(IDC_PRINT_NUTRITION);
  settings_.nutritionFull = Checked(IDC_PRINT_NUTRITION_FULL);
  settings_.margin = static_cast<uint32_t>(SelectedData(dialog_, IDC_PRINT_MARGIN));
  const LRESULT font = Send(dialog_, IDC_PRINT_FONT, CB_GETCURSEL);
  if (font != CB_ERR) {
    WString face(static_cast<size_t>(Send(dialog_, IDC_PRINT_FONT, CB_GETLBTEXTLEN, font)), TXT('\0'));
    Send(dialog_, IDC_PRINT_FONT, CB_GETLBTEXT, font, reinterpret_cast<LPARAM>(&face[0]));
    settings_.font = face.c_str();
  }
  category_ = static_cast<uint32_t>(SelectedData(dialog_, IDC_PRINT_CATEGORY));
}

bool PrintDialog::Checked(int id) const {
  return IsDlgButtonChecked(dialog_, id) == BST_CHECKED;
}
void PrintDialog::Check(int id, bool on) {
  CheckDlgButton(dialog_, id, on ? BST_CHECKED : BST_UNCHECKED);
}
