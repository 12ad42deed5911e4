#include <gtest/gtest.h>
#include <windows.h>

#include <richedit.h>

#include <string>
#include <tuple>

#include "richtext/ERHTML2RTF.h"

using DAVavador::ERHTML2RTF;
using DAVavador::RichEditContext;

namespace {

class RichEdit : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    parent_ = CreateWindowExW(0, L"Static", L"", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
  }
  static void TearDownTestSuite() { DestroyWindow(parent_); }

  // The plain text the control shows, paragraph ends as "\r".
  std::wstring Shown() const {
    GETTEXTEX request{};
    request.cb = 4096;
    request.flags = GT_DEFAULT;
    request.codepage = 1200;  // UTF-16
    wchar_t text[2048] = {};
    control_.Send(EM_GETTEXTEX, reinterpret_cast<WPARAM>(&request), reinterpret_cast<LPARAM>(text));
    std::wstring shown = text;
    while (!shown.empty() && (shown.back() == L'\r' || shown.back() == L'\n')) shown.pop_back();
    return shown;
  }

  CHARFORMAT2W FormatAt(int from, int to) const {
    control_.Send(EM_SETSEL, from, to);
    CHARFORMAT2W format{};
    format.cbSize = sizeof format;
    control_.Send(EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    return format;
  }

  static HWND parent_;
  ERHTML2RTF control_;
};

HWND RichEdit::parent_ = nullptr;

// The first library of the chain that loads gives the control's class; without one there is no
// control and text does nothing.
TEST_F(RichEdit, TheFirstLibraryOfTheChainThatLoadsMakesAReadOnlyMultiLineChildThatGoesWithItsWrapper) {
  const RichEditContext& context = control_.Context();
  ASSERT_NE(context.library, nullptr);
  EXPECT_EQ(std::make_tuple(GetModuleHandleW(L"Msftedit.dll"), std::wstring(L"RICHEDIT50W"), true),
            std::make_tuple(context.library, context.className, context.keepLinkTags));
  RichEditContext next({{L"NoSuchRichEdit.dll", L"NoSuchClass"}, {L"Riched20.dll", L"RichEdit20W"}});
  EXPECT_EQ(std::make_pair(GetModuleHandleW(L"Riched20.dll"), std::wstring(L"RichEdit20W")),
            std::make_pair(next.library, next.className));
  ERHTML2RTF control({{L"NoSuchRichEdit.dll", L"NoSuchClass"}, {L"NoSuchEither.dll", L"Other"}});
  EXPECT_EQ(std::make_pair(HMODULE{nullptr}, std::wstring()),
            std::make_pair(control.Context().library, control.Context().className));
  EXPECT_FALSE(control.CreateAt(parent_, 100, 0, 0, 100, 100));
  EXPECT_EQ(control.Window(), nullptr);
  control.SetText(L"<body>nothing to show it in</body>");
  // The control shows its vertical scroll bar only while the text needs it, and goes with its wrapper.
  HWND window;
  {
    ERHTML2RTF created;
    ASSERT_TRUE(created.CreateAt(parent_, 101, 10, 10, 300, 200));
    window = created.Window();
    LONG style = GetWindowLongW(window, GWL_STYLE);
    for (LONG bit :
         {LONG(WS_CHILD), LONG(WS_VISIBLE), LONG(ES_MULTILINE), LONG(ES_AUTOVSCROLL), LONG(ES_READONLY)}) {
      EXPECT_EQ(style & bit, bit) << std::hex << bit;
    }
    wchar_t className[64] = {};
    GetClassNameW(window, className, 64);
    EXPECT_EQ(_wcsicmp(className, L"RICHEDIT50W"), 0) << className;
    EXPECT_EQ(GetDlgCtrlID(window), 101);
  }
  EXPECT_FALSE(IsWindow(window));
}

// Text set before the control exists is not shown; each text replaces the one before.
TEST_F(RichEdit, TheHtmlArrivesAsFormattedTextWithItsColoursSizesAndFacesReplacingTheOneBefore) {
  control_.SetText(L"<body>too early</body>");
  ASSERT_TRUE(control_.Create(parent_, 102));
  EXPECT_EQ(Shown(), L"");
  control_.SetText(L"<html><body>Hello <b>world</b> &copy; {x} a\\b</body></html>");
  EXPECT_EQ(Shown(), L"Hello world \u00a9 {x} a\\b");
  EXPECT_FALSE(FormatAt(0, 5).dwEffects & CFE_BOLD);
  EXPECT_TRUE(FormatAt(6, 11).dwEffects & CFE_BOLD);
  // Colours, sizes and faces reach the control.
  control_.SetText(L"<body><font color=\"#FF0000\" size=5 face=\"Courier New\">red</font> plain</body>");
  EXPECT_EQ(Shown(), L"red plain");
  CHARFORMAT2W red = FormatAt(0, 3);
  EXPECT_FALSE(red.dwEffects & CFE_AUTOCOLOR);
  // Size 5 is 12 points, in twips.
  EXPECT_EQ(std::make_tuple(RGB(255, 0, 0), LONG{12 * 20}, std::wstring(L"Courier New")),
            std::make_tuple(red.crTextColor, red.yHeight, std::wstring(red.szFaceName)));
  CHARFORMAT2W plain = FormatAt(4, 9);
  EXPECT_EQ(plain.yHeight, 10 * 20);
  EXPECT_NE(plain.crTextColor, RGB(255, 0, 0));
  control_.SetText(static_cast<const wchar_t*>(nullptr));
  EXPECT_EQ(Shown(), L"");
}

}  // namespace
