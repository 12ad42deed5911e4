#include "toolkit/ERToolbar.h"

#include <algorithm>

#include "toolkit/Dpi.h"

namespace DAVavador {

namespace {

TBBUTTON Separator() {
  TBBUTTON button = {};
  button.fsStyle = BTNS_SEP;
  return button;
}

bool IsSeparator(const TBBUTTON& button) {
  return (button.fsStyle & BTNS_SEP) != 0;
}

}  // namespace

ERToolbar::~ERToolbar() {
  DestroyImages();
}

bool ERToolbar::Create(HWND parent, int id) {
  return CreateAt(parent, id, 0, 0, 0, 0);
}

bool ERToolbar::CreateAt(HWND parent, int id, int x, int y, int width, int height) {
  const DWORD style = WS_CHILD | TBSTYLE_TOOLTIPS | TBSTYLE_FLAT | CCS_ADJUSTABLE | CCS_TOP;
  if (!CreateControl(TOOLBARCLASSNAMEW, style, 0, parent, id, x, y, width, height)) return false;
  Send(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));  // 20 bytes in a 32-bit build
  if (normal_) Send(TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(normal_));
  if (disabled_) Send(TB_SETDISABLEDIMAGELIST, 0, reinterpret_cast<LPARAM>(disabled_));
  return true;
}

int ERToolbar::Height() const {
  RECT r;
  return Window() && GetWindowRect(Window(), &r) ? r.bottom - r.top : 0;
}

int ERToolbar::Width() const {
  RECT r;
  return Window() && GetWindowRect(Window(), &r) ? r.right - r.left : 0;
}

void ERToolbar::AutoSize() {
  Send(TB_AUTOSIZE);
}

void ERToolbar::Move(int x, int y, int width, int height) {
  SetPos(x, y, width, height, nullptr);
}

void ERToolbar::SetPos(int x, int y, int width, int height, HWND insertAfter) {
  ERWindow::SetPos(x, y, width, height, insertAfter);
  AutoSize();  // a toolbar keeps its own height across the top of its parent
}

bool ERToolbar::LoadImages(HINSTANCE instance, int count) {
  DestroyImages();
  instance_ = instance;
  imageCount_ = count;
  const int size = Scaled(kImageSize, WindowDpi(Window()));
  normal_ = ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, count, 0);
  disabled_ = ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, count, 0);
  bool complete = normal_ && disabled_;
  for (int n = 0; complete && n < count; ++n) {
    for (auto [list, first] :
         {std::pair{normal_, kFirstNormalIcon}, std::pair{disabled_, kFirstDisabledIcon}}) {
      auto icon = static_cast<HICON>(
          LoadImageW(instance, MAKEINTRESOURCEW(first + n), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
      complete = complete && icon && ImageList_AddIcon(list, icon) == n;
      if (icon) DestroyIcon(icon);
    }
  }
  if (!complete) {
    DestroyImages();
    return false;
  }
  Send(TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(normal_));
  Send(TB_SETDISABLEDIMAGELIST, 0, reinterpret_cast<LPARAM>(disabled_));
  return true;
}

bool ERToolbar::ReloadImages() {
  if (!instance_) return false;
  const bool loaded = LoadImages(instance_, imageCount_);
  AutoSize();
  return loaded;
}

void ERToolbar::DestroyImages() {
  Send(TB_SETIMAGELIST, 0, 0);
  Send(TB_SETDISABLEDIMAGELIST, 0, 0);
  if (normal_) ImageList_Destroy(normal_);
  if (disabled_) ImageList_Destroy(disabled_);
  normal_ = disabled_ = nullptr;
}

void ERToolbar::RegisterButton(uint8_t imageIndex, int command, bool enabled) {
  TBBUTTON button = {};
  button.iBitmap = imageIndex;
  button.idCommand = command;
  button.fsState = enabled ? TBSTATE_ENABLED : 0;
  button.fsStyle = BTNS_BUTTON;
  registered_.push_back(button);
}

const TBBUTTON* ERToolbar::FindRegistered(int command) const {
  auto it = std::find_if(registered_.begin(), registered_.end(),
                         [&](const TBBUTTON& b) { return b.idCommand == command; });
  return it == registered_.end() ? nullptr : &*it;
}

void ERToolbar::Arrange(const std::vector<uint8_t>& layout) {
  while (Send(TB_BUTTONCOUNT) > 0) Send(TB_DELETEBUTTON, 0);
  std::vector<TBBUTTON> buttons;
  for (uint8_t byte : layout) {
    if (byte == kSeparator) {
      // Separators in a row show as one.
      if (buttons.empty() || !IsSeparator(buttons.back())) buttons.push_back(Separator());
      continue;
    }
    auto it = std::find_if(registered_.begin(), registered_.end(),
                           [&](const TBBUTTON& b) { return b.iBitmap == byte; });
    if (it != registered_.end()) buttons.push_back(*it);
  }
  const bool anyButton =
      std::any_of(buttons.begin(), buttons.end(), [](const TBBUTTON& b) { return !IsSeparator(b); });
  if (!anyButton) {  // separators alone show nothing
    Show(false);
    return;
  }
  Send(TB_ADDBUTTONSW, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
  AutoSize();
  Show(true);
}

std::vector<uint8_t> ERToolbar::Layout() const {
  std::vector<uint8_t> layout;
  bool separatorPending = false;
  const int count = ButtonCount();
  for (int i = 0; i < count; ++i) {
    TBBUTTON button = {};
    Send(TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button));
    if (IsSeparator(button)) {
      separatorPending = true;
      continue;
    }
    if (separatorPending) layout.push_back(kSeparator);
    separatorPending = false;
    layout.push_back(static_cast<uint8_t>(button.iBitmap));
  }
  return layout;
}

int ERToolbar::ButtonCount() const {
  return static_cast<int>(Send(TB_BUTTONCOUNT));
}

void ERToolbar::EnableButton(int command, bool enable) {
  for (TBBUTTON& b : registered_)
    if (b.idCommand == command) b.fsState = enable ? TBSTATE_ENABLED : 0;
  Send(TB_ENABLEBUTTON, command, MAKELPARAM(enable ? TRUE : FALSE, 0));
}

bool ERToolbar::IsButtonEnabled(int command) const {
  return Send(TB_ISBUTTONENABLED, command) != 0;
}

void ERToolbar::Customize() {
  beforeCustomize_ = Layout();
  Send(TB_CUSTOMIZE);
}

bool ERToolbar::OnNotify(const NMHDR* header, LRESULT& result) {
  result = 0;
  switch (header->code) {
    case TTN_GETDISPINFOW: {
      auto* info = reinterpret_cast<NMTTDISPINFOW*>(const_cast<NMHDR*>(header));
      const TBBUTTON* button = FindRegistered(static_cast<int>(header->idFrom));
      if (!button) return false;
      info->hinst = instance_ ? instance_ : GetModuleHandleW(nullptr);
      info->lpszText = MAKEINTRESOURCEW(kFirstTooltip + button->iBitmap);
      return true;
    }
    case TBN_QUERYINSERT:
    case TBN_QUERYDELETE:
      result = TRUE;
      return true;
    case TBN_GETBUTTONINFOW: {
      auto* info = reinterpret_cast<NMTOOLBARW*>(const_cast<NMHDR*>(header));
      if (info->iItem < 0 || static_cast<size_t>(info->iItem) >= registered_.size()) return true;
      info->tbButton = registered_[info->iItem];
      if (info->pszText && info->cchText > 0) {
        const WString tip = ResourceString(kFirstTooltip + info->tbButton.iBitmap);
        lstrcpynW(info->pszText, tip.c_str(), info->cchText);
      }
      result = TRUE;
      return true;
    }
    case TBN_RESET:
      Arrange(beforeCustomize_);
      return true;
    case TBN_BEGINADJUST:
    case TBN_ENDADJUST:
    case TBN_TOOLBARCHANGE:
      return true;
  }
  return false;
}

}  // namespace DAVavador
