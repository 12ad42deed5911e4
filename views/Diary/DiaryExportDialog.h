#pragma once
// The export dialog (2500) as the diary shows it: the file and the diary to export ("--All--" for
// every diary). Diary files are XML, so the column and picture choices are not offered.
#include <windows.h>

#include <cstdint>

#include "storage/Text.h"
#include "toolkit/ERApp.h"
#include "toolkit/ERDialog.h"

class CategoryList;

class DiaryExportDialog : private DAVavador::ERDialog {
 public:
  DiaryExportDialog(const DAVavador::ERApp& app, const CategoryList& diaries)
      : app_(app), diaries_(diaries) {}

  // Preset to `path` and `diaryId`; true on OK with the chosen file and diary in them.
  bool Run(WString& path, uint32_t& diaryId);

 private:
  bool OnInit() override;
  bool OnCommand(int id, int code) override;
  bool OnOK() override;
  void Browse() const;

  const DAVavador::ERApp& app_;
  const CategoryList& diaries_;
  WString path_;
  uint32_t diaryId_ = 0;
};
