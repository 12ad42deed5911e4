#pragma once
// The base of every window wrapper: one window handle, owned (created here) or attached (a dialog's
// control), subclassed so that its messages come back into the wrapper. Without a window every
// operation does nothing and every query returns 0.
#include <windows.h>

#include <functional>
#include <memory>

#include "storage/Text.h"

namespace DAVavador {

// A WM_COMMAND callback; true when it handled the command, which then goes no further.
using CommandCallback = bool (*)(void* arg, WPARAM wParam, LPARAM lParam);
// Updates the pop-up menu (enables, checks) right before it is shown.
using PopupPrepare = void (*)(void* arg, HMENU menu);
// Receives the wheel distance of WM_MOUSEWHEEL (a multiple of WHEEL_DELTA per notch).
using WheelCallback = void (*)(void* arg, int distance);

struct ERWindowData;

class ERWindow {
 public:
  ERWindow();
  ERWindow(const ERWindow&) = delete;
  ERWindow& operator=(const ERWindow&) = delete;

  // The virtual slots, in their fixed order.
  virtual ~ERWindow();
  virtual bool Create(HWND parent, int id) = 0;
  virtual bool CreateAt(HWND parent, int id, int x, int y, int width, int height) = 0;
  virtual bool GetClientRect(RECT& rect) const;
  virtual WString GetText() const;
  virtual int Height() const;
  virtual int Width() const;
  virtual void Detach();
  virtual void Attach(HWND window);
  virtual void AutoSize();
  virtual void Move(int x, int y, int width, int height);
  // Negative x or y keeps the position, negative width or height the size; a null insertAfter
  // keeps the Z order.
  virtual void SetPos(int x, int y, int width, int height, HWND insertAfter);
  virtual void SetText(const WString& text);
  virtual void SetText(const WChar* text);

  HWND Window() const;
  HWND Parent() const;
  int Id() const;
  bool IsAttached() const;
  LRESULT Send(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const;
  // Runs `work` on the thread that owns the window and returns when it is done (here, without a
  // window or on that thread): a worker's many updates of a control become one round trip.
  void RunOnWindowThread(const std::function<void()>& work) const;
  // Runs `work` on the thread that owns the window without waiting for it: at once when called on
  // that thread, otherwise when that thread next reads its messages. A worker that holds what the
  // window's thread may be waiting for (the data lock) tells it something this way.
  void PostToWindowThread(std::function<void()> work) const;
  void Show(bool show) const;
  bool IsVisible() const;
  void Enable(bool enable) const;
  void Invalidate() const;
  void SetFont(HFONT font) const;

  void AddCommandHandler(CommandCallback callback, void* arg);
  // Takes ownership of `menu` (a menu resource as loaded: its first pop-up is shown, or the menu
  // itself when it has none). A right click shows it; the chosen command goes to the top-level window.
  void SetPopupMenu(HMENU menu, PopupPrepare prepare, void* arg);
  HMENU PopupMenu() const;
  void SetHoverTracking(bool on);
  bool IsHovering() const;
  void SetWheelCallback(WheelCallback callback, void* arg);
  // A tool tip over the whole window; SetPos keeps its area in step.
  void SetTooltip(const WString& text);
  HWND Tooltip() const;

 protected:
  // Creates the control (after releasing the current window), subclasses it and gives it the
  // dialog font. False when the system refuses.
  bool CreateControl(const wchar_t* className, DWORD style, DWORD exStyle, HWND parent, int id, int x, int y,
                     int width, int height);
  // An item text of a list-like control, read with its length and text messages.
  WString QueryText(UINT lengthMessage, UINT textMessage, WPARAM index) const;

 private:
  friend struct ERWindowRouter;
  LRESULT Route(HWND window, UINT msg, WPARAM wp, LPARAM lp);
  // Shows the pop-up menu at `place` (screen coordinates), or at the pointer without one.
  void ShowPopup(HWND window, const POINT* place = nullptr);
  static void SelectRowUnderPointer(HWND window, LPARAM lp);
  static POINT KeyboardMenuPoint(HWND window);
  void TrackHover(HWND window, LPARAM lp);
  void Hook(HWND window);
  void Unhook();
  void ReleaseWindow();
  void UpdateTooltipArea() const;

  std::unique_ptr<ERWindowData> data_;
};

// The text of a string-table entry of the program's module, empty when there is none.
WString ResourceString(UINT id);

}  // namespace DAVavador
