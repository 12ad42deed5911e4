#include "views/Diary/DiaryDialog.h"

#include "resources/resource.h"

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
  if (RunModal(app, IDD_DIARY_NAME) != IDOK) return false;
  diary = shown_;
  return true;
}

bool DiaryDialog::OnInit() {
  if (editing_) SetWindowTextW(Dialog(), app.String(IDS_DIARY_EDIT_CAPTION).c_str());
  SetItemText(IDC_DIARY_NAME, shown_.name);
  for (uint32_t code = 0; code < kSexCodes; ++code)
    AddComboItem(IDC_DIARY_SEX, app.String(IDS_SEX_FIRST + code), code);
  SelectComboData(IDC_DIARY_SEX, shown_.sex, 0);
  for (uint32_t code = 0; code < kAgeBandCodes; ++code)
    AddComboItem(IDC_DIARY_AGE, AgeBandText(code, app.String(IDS_SEX_FIRST)), code);
  SelectComboData(IDC_DIARY_AGE, shown_.ageBand, 0);
  return true;
}

bool DiaryDialog::OnOK() {
  const WString name = ItemText(IDC_DIARY_NAME);
  // Like a category, a diary needs a name: the dialog stays open without one.
  if (name.empty()) return false;
  shown_.name = name;
  shown_.sex = static_cast<uint32_t>(SelectedComboData(IDC_DIARY_SEX));
  shown_.ageBand = static_cast<uint32_t>(SelectedComboData(IDC_DIARY_AGE));
  return true;
}
