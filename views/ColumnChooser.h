#pragma once
// The "Customize Columns" dialog (2308): the column identifiers not shown on the left in
// identifier order, the shown ones on the right in display order, moved across and reordered with
// the arrow, Up and Down buttons.
#include <windows.h>

#include <cstdint>
#include <vector>

#include "toolkit/ERApp.h"
#include "toolkit/ERDialog.h"

class ColumnChooser : private DAVavador::ERDialog {
 public:
  // `idCount` identifiers, captioned by string `firstCaption` + identifier; a read-only catalog
  // gets no OK button.
  ColumnChooser(const DAVavador::ERApp& app, int idCount, UINT firstCaption, bool readOnly)
      : app_(app), idCount_(idCount), firstCaption_(firstCaption), readOnly_(readOnly) {}

  // Runs the dialog on `columns`; true on OK, which needs at least one displayed column, with the
  // new display order in `columns`.
  bool Run(std::vector<uint8_t>& columns);

 private:
  bool OnInit() override;
  bool OnCommand(int id, int code) override;
  bool OnOK() override;
  void AddEntry(HWND list, int index, uint8_t id) const;
  void MoveAcross(HWND from, HWND to, bool toEnd);
  void MoveBy(int step);
  void UpdateButtons() const;

  const DAVavador::ERApp& app_;
  int idCount_;
  UINT firstCaption_;
  bool readOnly_;
  std::vector<uint8_t> columns_;
  HWND available_ = nullptr;
  HWND displayed_ = nullptr;
};
