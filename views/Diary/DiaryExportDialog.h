#pragma once
// The export dialog (2500) as the diary shows it: the file and the diary to export ("--All--" for
// every diary). Diary files are XML, so the column and picture choices are not offered.
#include <windows.h>

#include <cstdint>

#include "storage/Text.h"
#include "toolkit/ERApp.h"

class CategoryList;

class DiaryExportDialog {
 public:
  DiaryExportDialog(const DAVavador::ERApp& app, const CategoryList& diaries)
      : app_(app), diaries_(diaries) {}

  // Preset to `path` and `diaryId`; true on OK with the chosen file and diary in them.
  bool Run(WString& path, uint32_t& diaryId);

 private:
  static INT_PTR CALLBACK DialogProc(HWND dialog, UINT msg, WPARAM wp, LPARAM lp);
  void OnInit(HWND dialog) const;
  void Browse(HWND dialog) const;
  bool OnOK(HWND dialog);

  const DAVavador::ERApp& app_;
  const CategoryList& diaries_;
  WString path_;
  uint32_t diaryId_ = 0;
};
