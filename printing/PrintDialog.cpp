#include "printing/PrintDialog.h"

#include <commctrl.h>
#include <commdlg.h>

#include "food/Texts.h"
#include "resource.h"
#include "toolkit/CentreWindow.h"
#include "toolkit/ERApp.h"
#include "toolkit/ScopedGdi.h"

namespace {

UINT_PTR CALLBACK CentringHook(HWND dialog, UINT msg, WPARAM, LPARAM) {
  if (msg == WM_INITDIALOG) CentreWindow(dialog, GetWindow(dialog, GW_OWNER));
  return 0;  // the system's own handling goes on
}

int CALLBACK AddFont(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM combo) {
  const HWND box = reinterpret_cast<HWND>(combo);
  const LPARAM face = reinterpret_cast<LPARAM>(font->lfFaceName);
  if (font->lfFaceName[0] != L'@' && SendMessageW(box, CB_FINDSTRINGEXACT, -1, face) == CB_ERR)
    SendMessageW(box, CB_ADDSTRING, 0, face);
  return 1;
}

}  // namespace

HDC ChoosePrinter(HWND owner, bool offerSelection) {
  PRINTDLGW printer{};
  printer.lStructSize = sizeof(printer);
  printer.hwndOwner = owner;
  printer.Flags = PD_RETURNDC | PD_USEDEVMODECOPIESANDCOLLATE | PD_ENABLEPRINTHOOK |
                  (offerSelection ? 0 : PD_NOSELECTION);
  printer.lpfnPrintHook = &CentringHook;
  printer.nCopies = 1;
  if (!PrintDlgW(&printer)) return nullptr;
  if (printer.hDevMode) GlobalFree(printer.hDevMode);
  if (printer.hDevNames) GlobalFree(printer.hDevNames);
  return printer.hDC;
}

PrintDialog::PrintDialog(const DAVavador::ERApp& app, PrintSettings& settings, const CategoryList& categories,
                         uint32_t& category, bool anySelected)
    : app_(app),
      settings_(settings),
      categories_(categories),
      anySelected_(anySelected),
      category_(category) {}

bool PrintDialog::Run(HWND owner) {
  return RunModal(app_, IDD_PRINT, owner) == IDOK;
}

bool PrintDialog::OnInit() {
  FillFonts();
  FillMargins();
  FillCategories();
  SetChecked(settings_.selected && anySelected_ ? IDC_PRINT_SELECTED : IDC_PRINT_ALL, true);
  EnableWindow(Item(IDC_PRINT_SELECTED), anySelected_);
  SetChecked(settings_.details ? IDC_PRINT_FULL_PAGE : IDC_PRINT_CARD, true);
  SetChecked(IDC_PRINT_FIRST, settings_.firstOnly);
  SetChecked(IDC_PRINT_NUTRITION, settings_.nutrition);
  SetChecked(IDC_PRINT_NUTRITION_FULL, settings_.nutritionFull);
  AddTips(app_, {{IDC_PRINT_FIRST, IDS_PRINT_FIRST_TIP},
                 {IDC_PRINT_NUTRITION, IDS_PRINT_NUTRITION_TIP},
                 {IDC_PRINT_NUTRITION_FULL, IDS_PRINT_NUTRITION_FULL_TIP}});
  EnableControls();
  return true;
}

bool PrintDialog::OnCommand(int id, int code) {
  switch (id) {
    case IDC_PRINT_SELECTED:
    case IDC_PRINT_ALL:
    case IDC_PRINT_FULL_PAGE:
    case IDC_PRINT_CARD:
      if (code == BN_CLICKED) EnableControls();
      return true;
    default:
      return false;
  }
}

// The installed fonts; a saved face that is not installed stays choosable.
void PrintDialog::FillFonts() {
  {
    const DAVavador::ScopedDC dc = DAVavador::ScopedDC::ForWindow(Dialog());
    EnumFontsW(dc.Get(), nullptr, &AddFont, reinterpret_cast<LPARAM>(Item(IDC_PRINT_FONT)));
  }
  const LPARAM face = reinterpret_cast<LPARAM>(settings_.font.c_str());
  LRESULT index = Message(IDC_PRINT_FONT, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), face);
  if (index == CB_ERR && !settings_.font.empty()) index = Message(IDC_PRINT_FONT, CB_ADDSTRING, 0, face);
  Message(IDC_PRINT_FONT, CB_SETCURSEL, static_cast<WPARAM>(index));
}

void PrintDialog::FillMargins() {
  static const WChar* const kMargins[] = {TXT(".5\""), TXT("1\""), TXT("1.5\""), TXT("2\"")};
  for (LPARAM i = 0; i < 4; ++i) AddComboItem(IDC_PRINT_MARGIN, kMargins[i], i);
  Message(IDC_PRINT_MARGIN, CB_SETCURSEL, settings_.margin < 4 ? settings_.margin : 0);
}

void PrintDialog::FillCategories() {
  // A category that is gone shows "--All--".
  FillComboUnderAll(IDC_PRINT_CATEGORY, app_.String(kTextAllHeader), categories_.Entries(), category_);
}

// Full pages always print the nutrition block and never stop early; only they know the full block.
void PrintDialog::EnableControls() {
  const bool fullPage = IsChecked(IDC_PRINT_FULL_PAGE);
  EnableWindow(Item(IDC_PRINT_FIRST), !fullPage);
  EnableWindow(Item(IDC_PRINT_NUTRITION), !fullPage);
  EnableWindow(Item(IDC_PRINT_NUTRITION_FULL), fullPage);
  EnableWindow(Item(IDC_PRINT_CATEGORY), IsChecked(IDC_PRINT_ALL));
}

bool PrintDialog::OnOK() {
  settings_.selected = IsChecked(IDC_PRINT_SELECTED);
  settings_.details = IsChecked(IDC_PRINT_FULL_PAGE);
  settings_.firstOnly = IsChecked(IDC_PRINT_FIRST);
  settings_.nutrition = IsChecked(IDC_PRINT_NUTRITION);
  settings_.nutritionFull = IsChecked(IDC_PRINT_NUTRITION_FULL);
  settings_.margin = static_cast<uint32_t>(SelectedComboData(IDC_PRINT_MARGIN));
  // The font list is a drop-down list: its text is the selected face.
  if (Message(IDC_PRINT_FONT, CB_GETCURSEL) != CB_ERR) settings_.font = ItemText(IDC_PRINT_FONT);
  category_ = static_cast<uint32_t>(SelectedComboData(IDC_PRINT_CATEGORY));
  return true;
}
