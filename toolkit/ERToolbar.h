#pragma once
// The main window's toolbar: a fixed set of registered buttons (image index, command, initial
// state), of which the layout bytes choose the shown ones and their order (255 = separator). The
// system's customize dialog edits the arrangement; Layout reads it back.
#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <vector>

#include "resources/resource.h"
#include "toolkit/ERWindow.h"

namespace DAVavador {

class ERToolbar : public ERWindow {
 public:
  static constexpr uint8_t kSeparator = 255;
  static constexpr int kImageSize = 32;
  static constexpr UINT kFirstNormalIcon = IDI_TOOLBAR_FIRST;
  static constexpr UINT kFirstDisabledIcon = IDI_TOOLBAR_DISABLED_FIRST;
  static constexpr UINT kFirstTooltip = IDS_TOOLBAR_TIP_FIRST;

  ~ERToolbar() override;
  bool Create(HWND parent, int id) override;
  bool CreateAt(HWND parent, int id, int x, int y, int width, int height) override;
  int Height() const override;
  int Width() const override;
  void AutoSize() override;
  void Move(int x, int y, int width, int height) override;
  void SetPos(int x, int y, int width, int height, HWND insertAfter) override;

  // Both image lists, image n from the icons kFirstNormalIcon + n and kFirstDisabledIcon + n; false
  // when an icon is missing.
  // kImageSize is their size at 96 DPI; they come at the toolbar's DPI.
  bool LoadImages(HINSTANCE instance, int count);
  // The same images again at the toolbar's DPI now (after it changed).
  bool ReloadImages();
  void RegisterButton(uint8_t imageIndex, int command, bool enabled);
  size_t RegisteredCount() const { return registered_.size(); }

  // Shows the buttons of the layout in its order; hides the toolbar when the layout names no
  // button (empty, or separators only). Bytes that name no registered button are skipped.
  void Arrange(const std::vector<uint8_t>& layout);
  // The arrangement now shown; separators appear only in front of a button, one for a run.
  std::vector<uint8_t> Layout() const;
  int ButtonCount() const;  // shown buttons and separators
  void EnableButton(int command, bool enable);
  bool IsButtonEnabled(int command) const;
  // The system's customize dialog (modal); afterwards Layout gives the user's arrangement.
  void Customize();

  // WM_NOTIFY that the toolbar's parent passes on: tool tips and the customize dialog's queries.
  // True when handled; `result` is then the notification's answer.
  bool OnNotify(const NMHDR* header, LRESULT& result);

 private:
  const TBBUTTON* FindRegistered(int command) const;
  TBBUTTON ButtonOf(uint8_t imageIndex) const;
  void DestroyImages();

  std::vector<TBBUTTON> registered_;
  std::vector<uint8_t> beforeCustomize_;
  HIMAGELIST normal_ = nullptr;
  HIMAGELIST disabled_ = nullptr;
  HINSTANCE instance_ = nullptr;
  int imageCount_ = 0;
};

}  // namespace DAVavador
