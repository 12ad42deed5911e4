#pragma once
// A tab control. The main window's views place their controls inside it, so their notifications
// arrive here and reach the main window through the command callbacks.
#include "toolkit/ERWindow.h"

namespace DAVavador {

class ERTabWin : public ERWindow {
 public:
  bool Create(HWND parent, int id) override;
  bool CreateAt(HWND parent, int id, int x, int y, int width, int height) override;

  int AddTab(const WString& caption);  // index of the new tab, -1 on failure
  int InsertTab(int index, const WString& caption);
  bool DeleteTab(int index);
  void DeleteAllTabs();
  int TabCount() const;
  int Selected() const;  // -1 when none (or no window)
  void Select(int index);
  // The client rectangle below the tab strip, in the control's coordinates.
  RECT DisplayRect() const;
};

}  // namespace DAVavador
