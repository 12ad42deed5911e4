#pragma once
// The picture of the selected record at its own size (dialog 3000): the window fits itself around
// the picture with a 10-pixel margin, centres itself, and closes on a right click or Escape.
#include <windows.h>

#include "toolkit/ERApp.h"
#include "toolkit/ERDialog.h"
#include "toolkit/Picture.h"

class PictureDialog : private DAVavador::ERDialog {
 public:
  static constexpr int kMargin = 10;

  PictureDialog(const DAVavador::ERApp& app, const DAVavador::ERPictureHolder& picture)
      : app_(app), picture_(picture) {}
  void Run();

 private:
  bool OnInit() override;
  bool OnOK() override;
  bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, INT_PTR& result) override;
  void Paint() const;

  const DAVavador::ERApp& app_;
  const DAVavador::ERPictureHolder& picture_;
};
