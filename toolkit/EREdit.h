#pragma once
// A one-line edit box whose text the program reads as the user types (EN_CHANGE reaches the
// parent as usual). Escape empties it; Enter and the Down arrow hand the keyboard to the window
// named by SetNextWindow, as a search box over a list does.
#include "toolkit/ERWindow.h"

namespace DAVavador {

class EREdit : public ERWindow {
 public:
  ~EREdit() override;

  bool Create(HWND parent, int id) override;
  bool CreateAt(HWND parent, int id, int x, int y, int width, int height) override;

  // What the box shows now (GetText is the text last set by the program).
  WString Text() const;
  void SetNextWindow(HWND next) { next_ = next; }
  // Gives the box the keyboard with its text selected.
  void Focus() const;

 private:
  static LRESULT CALLBACK KeyProc(HWND window, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR self);

  HWND next_ = nullptr;
};

}  // namespace DAVavador
