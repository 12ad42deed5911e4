// Food::ReadEditor and Food::FillEditor: the record's values in the controls of the ingredient
// editor. Built only into the Windows program.
#include "food/Food.h"
#include "food/FoodEditor.h"
#include "food/NumberText.h"
#include "resources/resource.h"
#include "storage/UserPrompts.h"
#include "storage/XMLDoc.h"
#include "toolkit/Picture.h"
#include "toolkit/PictureImport.h"

namespace {

WString ControlText(HWND dialog, int id) {
  const HWND control = GetDlgItem(dialog, id);
  WString text(static_cast<size_t>(GetWindowTextLengthW(control)), TXT('\0'));
  if (!text.empty()) GetWindowTextW(control, text.data(), static_cast<int>(text.size()) + 1);
  return text;
}

// The number in an edit; 0 for an empty or non-numeric edit, and for one beyond the range of
// doubles ("1e400"), which the ounces edit so refuses with its message.
double ControlNumber(HWND dialog, int id) {
  double number = 0;
  ReadReal(ControlText(dialog, id).c_str(), number);
  return number;
}

// The item data of a combo's selection; 0 without one.
uint32_t SelectedData(HWND dialog, int id) {
  const LRESULT index = SendDlgItemMessageW(dialog, id, CB_GETCURSEL, 0, 0);
  if (index == CB_ERR) return 0;
  return static_cast<uint32_t>(SendDlgItemMessageW(dialog, id, CB_GETITEMDATA, index, 0));
}

void SelectData(HWND dialog, int id, uint32_t data) {
  const LRESULT count = SendDlgItemMessageW(dialog, id, CB_GETCOUNT, 0, 0);
  for (LRESULT index = 0; index < count; ++index) {
    if (static_cast<uint32_t>(SendDlgItemMessageW(dialog, id, CB_GETITEMDATA, index, 0)) == data) {
      SendDlgItemMessageW(dialog, id, CB_SETCURSEL, index, 0);
      return;
    }
  }
}

WString StringOf(UINT id) {
  const wchar_t* text = nullptr;
  const int length = LoadStringW(GetModuleHandleW(nullptr), id, reinterpret_cast<LPWSTR>(&text), 0);
  return length > 0 ? WString(text, static_cast<size_t>(length)) : WString();
}

bool Refuse(HWND dialog, UINT messageId) {
  UserPrompts::Current().Message(dialog, StringOf(messageId), kPromptCaption,
                                 Prompt::kOk | Prompt::kIconInformation);
  return false;
}

}  // namespace

bool Food::ReadEditor(HWND dialog, bool fixedServing, const WString& imagesFolder,
                      const DAVavador::PictureUsers& pictureUsers) {
  name = ControlText(dialog, IDC_EDITOR_NAME);
  catId = SelectedData(dialog, IDC_EDITOR_CATEGORY);
  if (fixedServing) {
    type = kUnitBlank;
    size = 1;
    ounces = 0;
  } else {
    size = 0;
    ReadAmountFields(ControlText(dialog, IDC_EDITOR_WHOLE), SelectedData(dialog, IDC_EDITOR_FRACTION), size);
    if (!(size > 0)) return Refuse(dialog, IDS_INGREDIENT_NO_SERVING);
    type = SelectedData(dialog, IDC_EDITOR_UNIT);
    // A serving weighed in ounces is its own weight.
    ounces = type == kUnitOunce ? size : ControlNumber(dialog, IDC_EDITOR_OUNCES);
    if (ounces == 0) return Refuse(dialog, IDS_INGREDIENT_NO_OUNCES);
  }
  for (uint32_t i = 0; i < Nutrient::kCount; ++i) nutrients[i] = ControlNumber(dialog, kNutrientEditIds[i]);
  DAVavador::ImportPicture(ControlText(dialog, IDC_EDITOR_PICTURE_PATH), imagesFolder, picture, pictureUsers);
  return true;
}

void Food::FillEditor(HWND dialog, DAVavador::ERPictureHolder& holder, const WString& imagesFolder,
                      const NutrientFormat& format) const {
  SetDlgItemTextW(dialog, IDC_EDITOR_NAME, name.c_str());
  SelectData(dialog, IDC_EDITOR_CATEGORY, catId);
  const AmountFields serving = AmountFieldsOf(size);
  SetDlgItemTextW(dialog, IDC_EDITOR_WHOLE, serving.whole.c_str());
  SelectData(dialog, IDC_EDITOR_FRACTION, serving.fortyEighths);
  SelectData(dialog, IDC_EDITOR_UNIT, type);
  WString number;
  if (ounces != 0) AppendReal(number, ounces);
  SetDlgItemTextW(dialog, IDC_EDITOR_OUNCES, number.c_str());
  for (uint32_t i = 0; i < Nutrient::kCount; ++i) {
    WString text;
    FormatNutrient(text, i, false, true, nutrients[i], format);
    SetDlgItemTextW(dialog, kNutrientEditIds[i], text.c_str());
  }
  SetDlgItemTextW(dialog, IDC_EDITOR_PICTURE_PATH, picture.empty() ? DAVavador::kNoPicture : picture.c_str());
  holder.SetBox(0, 0, preview.width, preview.height);
  if (picture.empty())
    holder.Clear();
  else
    holder.Load(imagesFolder + picture);
}
