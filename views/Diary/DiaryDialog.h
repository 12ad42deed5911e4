#pragma once
// "Add Food Diary": a diary's name and the sex and age band of its person. It takes the place of
// the category dialog for the diary's category commands.
#include <windows.h>

#include "food/DiaryNameList.h"
#include "toolkit/ERDialog.h"
#include "views/CategoryDialog.h"

class DiaryDialog : public CategoryDialog, private DAVavador::ERDialog {
 public:
  DiaryDialog(const DAVavador::ERApp& app, DiaryNameList& diaries)
      : CategoryDialog(app, diaries), diaries_(diaries) {}

  // A new diary's name; its person waits for CommitAdd.
  bool AddDialog(WString& name) override;
  // Adds the diary asked for with the next counter value and the person chosen; 0 when the name
  // is taken.
  uint32_t CommitAdd(const WString& name, uint32_t& idCounter) override;
  // "Edit Food Diary" preset to `diary`; on OK it holds the new name, sex and age band.
  bool EditDiary(DiaryName& diary);

 private:
  bool Run(DiaryName& diary, bool editing);
  bool OnInit() override;
  bool OnOK() override;

  DiaryNameList& diaries_;
  DiaryName shown_;    // the dialog's input and output
  DiaryName pending_;  // the person of the diary AddDialog asked for
  bool editing_ = false;
};
