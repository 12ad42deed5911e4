#pragma once
// A text label: a static control, or a button-like one. On request its owner draws it (the owner
// receives WM_DRAWITEM and may hand it to Draw). A link-like label tracks the mouse (repainting as
// it enters and leaves) and tells its parent of a click with a WM_COMMAND carrying its control
// identifier; drawn by Draw it looks like a link, underlined while the mouse is over it.
#include "toolkit/ERWindow.h"

namespace DAVavador {

class ERLabel : public ERWindow {
 public:
  enum Flags : unsigned { kPlain = 0, kOwnerDraw = 1, kButtonLike = 2, kLinkLike = 4 };

  explicit ERLabel(unsigned flags = kPlain) : flags_(flags) {}

  bool Create(HWND parent, int id) override;
  bool CreateAt(HWND parent, int id, int x, int y, int width, int height) override;

  unsigned Flags() const { return flags_; }
  // Paints an owner-drawn label: its text in the window's font, in the link colour when link-like.
  void Draw(const DRAWITEMSTRUCT& item) const;

 private:
  unsigned flags_;
};

}  // namespace DAVavador
