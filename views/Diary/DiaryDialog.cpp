#include "views/Diary/DiaryDialog.h"

#include "resources/resource.h"
#include "views/Diary/DialogText.h"

using namespace diary_dialog;

namespace {
constexpr uint32_t kSexCodes = 3;
constexpr uint32_t kAgeBandCodes = 7;
}  // namespace

bool DiaryDialog::AddDialog(WString& name) {
  DiaryName diary;
  diary.name = name;
  if (!Run(diary, false)) return false;
  name = diary.name;
  pending_ = diary;
  return true;
}

uint32_t DiaryDialog::CommitAdd(const WString& name, uint32_t& idCounter) {
  DiaryName diary = pending_;
  diary.name = name;
  diary.id = ++idCounter;
  pending_ = DiaryName();
  return diaries_.Add(diary) ? diary.id : 0;
}

bool DiaryDialog::EditDiary(DiaryName& diary) {
  return Run(diary, true);
}

bool DiaryDialog::Run(DiaryName& diary, bool editing) {
  shown_ = diary;
  editing_ = editing;
  if (app.RunDialog(IDD_DIARY_NAME, DialogProc, reinterpret_cast<LPARAM>(this)) != IDOK) return false;
  diary = shown_;
  return true;
}

INT_PTR CALLBACK DiaryDialog::DialogProc(HWND dialog, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_INITDIALOG) {
    SetWindowLongPtrW(dialog, DWLP_USER, lp);
    reinterpret_cast<DiaryDialog*>(lp)->OnInit(dialog);
    return TRUE;
  }
  auto* self = reinterpret_cast<DiaryDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
  if (!self || msg != WM_COMMAND) return FALSE;
  if (LOWORD(wp) == IDOK) {
    if (self->OnOK(dialog)) EndDialog(dialog, IDOK);
    return TRUE;
  }
  if (LOWORD(wp) == IDCANCEL) {
    EndDialog(dialog, IDCANCEL);
    return TRUE;
  }
  return FALSE;
}

void DiaryDialog::OnInit(HWND dialog) const {
  if (editing_) SetWindowTextW(dialog, app.String(IDS_DIARY_EDIT_CAPTION).c_str());
  SetItemText(dialog, IDC_DIARY_NAME, shown_.name);
  const HWND sex = GetDlgItem(dialog, IDC_DIARY_SEX);
  for (uint32_t code = 0; code < kSexCodes; ++code) AddComboItem(sex, app.String(IDS_SEX_FIRST + code), code);
  if (!SelectComboData(sex, shown_.sex)) SelectComboData(sex, 0);
  const HWND age = GetDlgItem(dialog, IDC_DIARY_AGE);
  for (uint32_t code = 0; code < kAgeBandCodes; ++code)
    AddComboItem(age, AgeBandText(code, app.String(IDS_SEX_FIRST)), code);
  if (!SelectComboData(age, shown_.ageBand)) SelectComboData(age, 0);
}

bool DiaryDialog::OnOK(HWND dialog) {
  const WString name = ItemText(dialog, IDC_DIARY_NAME);
  // Like a category, a diary needs a name: the dialog stays open without one.
  if (name.empty()) return false;
  shown_.name = name;
  shown_.sex = static_cast<uint32_t>(SelectedComboData(GetDlgItem(dialog, IDC_DIARY_SEX)));
  shown_.ageBand = static_cast<uint32_t>(SelectedComboData(GetDlgItem(dialog, IDC_DIARY_AGE)));
  return true;
}
