// The owners of GDI objects, device contexts, selections and kernel handles give back what they
// took when their scope ends, and nothing when they hold nothing.
#include <gtest/gtest.h>

#include "ToolkitTestSupport.h"
#include "toolkit/ScopedGdi.h"
#include "toolkit/ScopedHandle.h"
#include "toolkit/ScopedResource.h"

#include <vector>

using namespace DAVavador;

namespace {

bool HandleIsOpen(HANDLE handle) {
  DWORD flags = 0;
  return GetHandleInformation(handle, &flags) != 0;
}

// Paints through a painting context and records whether it held the painting's own context.
bool paintedWithItsContext = false;
LRESULT CALLBACK PaintProc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg != WM_PAINT) return DefWindowProcW(window, msg, wp, lp);
  const ScopedDC dc = ScopedDC::ForPaint(window);
  paintedWithItsContext = dc.Get() != nullptr && dc.Paint().hdc == dc.Get();
  return 0;
}

}  // namespace

// The one owner behind every handle kind: a counting trait records what it closes.
struct CountingTraits {
  static inline std::vector<int> closed;
  static bool IsReal(int handle) { return handle > 0; }
  static void Close(int handle) { closed.push_back(handle); }
};
using Counted = ScopedResource<int, CountingTraits>;

TEST(ScopedResourceTest, ClosesWhatItHoldsOnceAndNothingWhenEmptyOrReleased) {
  CountingTraits::closed.clear();
  {
    Counted one(1), none, invalid(-1);
    EXPECT_EQ((std::vector<bool>{true, false, false}),
              (std::vector<bool>{bool(one), bool(none), bool(invalid)}));
    one.Reset(2);                   // closes 1
    Counted moved(std::move(one));  // only `moved` closes 2 then
    Counted kept(3);
    EXPECT_EQ(3, kept.Release());  // and nobody 3
    moved = Counted(4);            // closes 2
  }                                // closes 4
  EXPECT_EQ((std::vector<int>{1, 2, 4}), CountingTraits::closed);
}

TEST(ScopedGdiTest, ObjectsHandlesContextsAndSelectionsAreGivenBackAtTheEndOfTheirScope) {
  HGDIOBJ brush = nullptr;
  HDC compatible = nullptr;
  HDC adopted = nullptr;
  HANDLE event = nullptr;
  const auto types = [&] {
    return std::vector<DWORD>{GetObjectType(brush), GetObjectType(compatible), GetObjectType(adopted)};
  };
  {
    const ScopedGdiObject<HBRUSH> owned(CreateSolidBrush(RGB(1, 2, 3)));
    const ScopedDC one = ScopedDC::Compatible(nullptr);
    const ScopedDC two = ScopedDC::Adopt(CreateCompatibleDC(nullptr));
    const ScopedHandle handle(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    brush = owned.Get();
    compatible = one.Get();
    adopted = two.Get();
    event = handle.Get();
    EXPECT_EQ((std::vector<DWORD>{OBJ_BRUSH, OBJ_MEMDC, OBJ_MEMDC}), types());
    EXPECT_TRUE(HandleIsOpen(event));
  }
  EXPECT_EQ((std::vector<DWORD>{0, 0, 0}), types());
  EXPECT_FALSE(HandleIsOpen(event));
  EXPECT_FALSE(ScopedHandle(INVALID_HANDLE_VALUE)) << "a failed CreateFile holds nothing";
  EXPECT_FALSE(ScopedDC::Adopt(nullptr));
  // A selection puts the previous object back before the object goes.
  const ScopedDC memory = ScopedDC::Compatible(nullptr);
  ASSERT_TRUE(memory);
  const HGDIOBJ original = GetCurrentObject(memory.Get(), OBJ_BITMAP);
  HBITMAP bitmap = nullptr;
  {
    const ScopedGdiObject<HBITMAP> owned(CreateCompatibleBitmap(memory.Get(), 4, 4));
    bitmap = owned.Get();
    const ScopedSelection selected(memory.Get(), owned.Get());
    EXPECT_EQ(static_cast<HGDIOBJ>(bitmap), GetCurrentObject(memory.Get(), OBJ_BITMAP));
  }
  EXPECT_EQ(original, GetCurrentObject(memory.Get(), OBJ_BITMAP));
  EXPECT_EQ(0u, GetObjectType(bitmap));  // deselected first, so the delete succeeded
}

// A window's context (with flags) draws into the window and a painting context validates the window
// it painted. The screen's context: every canvas of PictureFiles is made on it.
TEST(ScopedGdiTest, WindowAndPaintingContexts) {
  toolkit_test::RecordingWindow window(50, 50);
  {
    const ScopedDC dc = ScopedDC::ForWindow(window.Handle(), DCX_CACHE);
    ASSERT_TRUE(dc);
    EXPECT_EQ(window.Handle(), WindowFromDC(dc.Get()));
  }
  SetWindowLongPtrW(window.Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&PaintProc));
  paintedWithItsContext = false;
  InvalidateRect(window.Handle(), nullptr, FALSE);
  UpdateWindow(window.Handle());
  EXPECT_TRUE(paintedWithItsContext);
  RECT left = {};
  EXPECT_FALSE(GetUpdateRect(window.Handle(), &left, FALSE));  // EndPaint ran
}
