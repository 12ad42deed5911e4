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

// Paints through a painting context and records what it saw.
struct PaintRecord {
  bool painted = false;
  bool hadContext = false;
};

LRESULT CALLBACK PaintProc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_PAINT) {
    auto* record = reinterpret_cast<PaintRecord*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    const ScopedDC dc = ScopedDC::ForPaint(window);
    record->painted = true;
    record->hadContext = dc.Get() != nullptr && dc.Paint().hdc == dc.Get();
    return 0;
  }
  return DefWindowProcW(window, msg, wp, lp);
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
    EXPECT_TRUE(one);
    EXPECT_FALSE(none);
    EXPECT_FALSE(invalid);
    one.Reset(2);  // closes 1
    Counted moved(std::move(one));
    EXPECT_FALSE(one);
    EXPECT_EQ(2, moved.Get());
    Counted kept(3);
    EXPECT_EQ(3, kept.Release());
    EXPECT_FALSE(kept);
    moved = Counted(4);  // closes 2
  }                      // closes 4
  EXPECT_EQ((std::vector<int>{1, 2, 4}), CountingTraits::closed);
}

TEST(ScopedGdiTest, ObjectsAndHandlesAreGivenBackAtTheEndOfTheirScope) {
  HBRUSH brush = nullptr;
  HANDLE event = nullptr;
  {
    const ScopedGdiObject<HBRUSH> owned(CreateSolidBrush(RGB(1, 2, 3)));
    const ScopedHandle handle(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    brush = owned.Get();
    event = handle.Get();
    EXPECT_EQ(static_cast<DWORD>(OBJ_BRUSH), GetObjectType(brush));
    EXPECT_TRUE(HandleIsOpen(event));
  }
  EXPECT_EQ(0u, GetObjectType(brush));
  EXPECT_FALSE(HandleIsOpen(event));
  EXPECT_FALSE(ScopedHandle());
  EXPECT_FALSE(ScopedHandle(INVALID_HANDLE_VALUE)) << "a failed CreateFile holds nothing";
}

TEST(ScopedGdiTest, SelectionPutsThePreviousObjectBackBeforeTheObjectGoes) {
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

TEST(ScopedGdiTest, CompatibleAndAdoptedContextsAreDeleted) {
  HDC compatible = nullptr;
  HDC adopted = nullptr;
  {
    const ScopedDC one = ScopedDC::Compatible(nullptr);
    const ScopedDC two = ScopedDC::Adopt(CreateCompatibleDC(nullptr));
    compatible = one.Get();
    adopted = two.Get();
    EXPECT_EQ(static_cast<DWORD>(OBJ_MEMDC), GetObjectType(compatible));
    EXPECT_EQ(static_cast<DWORD>(OBJ_MEMDC), GetObjectType(adopted));
  }
  EXPECT_EQ(0u, GetObjectType(compatible));
  EXPECT_EQ(0u, GetObjectType(adopted));
  const ScopedDC none = ScopedDC::Adopt(nullptr);
  EXPECT_FALSE(none);
}

TEST(ScopedGdiTest, ScreenContextMeasuresTheScreen) {
  const ScopedDC screen = ScopedDC::ForWindow(nullptr);
  ASSERT_TRUE(screen);
  EXPECT_GT(GetDeviceCaps(screen.Get(), LOGPIXELSX), 0);
}

TEST(ScopedGdiTest, WindowContextWithFlagsDrawsIntoTheWindow) {
  toolkit_test::RecordingWindow window;
  const ScopedDC dc = ScopedDC::ForWindow(window.Handle(), DCX_CACHE);
  ASSERT_TRUE(dc);
  EXPECT_EQ(window.Handle(), WindowFromDC(dc.Get()));
}

TEST(ScopedGdiTest, PaintingContextValidatesTheWindow) {
  WNDCLASSW windowClass = {};
  windowClass.lpfnWndProc = PaintProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"MirepanScopedPaintTest";
  RegisterClassW(&windowClass);
  toolkit_test::RecordingWindow parent;
  PaintRecord record;
  const HWND window = CreateWindowW(L"MirepanScopedPaintTest", L"", WS_CHILD | WS_VISIBLE, 0, 0, 50, 50,
                                    parent.Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(nullptr, window);
  SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&record));
  InvalidateRect(window, nullptr, FALSE);
  UpdateWindow(window);
  EXPECT_TRUE(record.painted);
  EXPECT_TRUE(record.hadContext);
  RECT left = {};
  EXPECT_FALSE(GetUpdateRect(window, &left, FALSE));  // EndPaint ran
  DestroyWindow(window);
}
