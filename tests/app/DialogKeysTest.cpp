// Every dialog of the program as a keyboard user meets it, read from its template: each label of a
// control and each button has an access key no other control shown with it has, and Tab walks the
// controls as one reads them, row by row, each page of a tabbed dialog on its own.
#include <windows.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "resources/resource.h"

namespace {

struct Control {
  int id = 0;
  DWORD style = 0;
  RECT rect{};  // dialog units
  std::wstring className;
  std::wstring text;

  bool IsButton() const { return className == L"button" && (style & BS_TYPEMASK) != BS_GROUPBOX; }
  bool IsRadio() const {
    const DWORD type = style & BS_TYPEMASK;
    return IsButton() && (type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON);
  }
  bool IsGroupBox() const { return className == L"button" && (style & BS_TYPEMASK) == BS_GROUPBOX; }
  // A text naming the control after it; one drawn without prefixes is only shown.
  bool IsLabel() const {
    const DWORD type = style & SS_TYPEMASK;
    return className == L"static" && !text.empty() && !(style & SS_NOPREFIX) &&
           (type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT || type == SS_LEFTNOWORDWRAP);
  }
  // Tab reaches a group of radio buttons once, at the one that starts it.
  bool IsTabStop() const {
    return (style & WS_TABSTOP) && className != L"static" && (!IsRadio() || (style & WS_GROUP));
  }
  // The access key, upper case; 0 without one.
  wchar_t Key() const {
    for (size_t i = 0; i + 1 < text.size(); ++i) {
      if (text[i] != L'&') continue;
      if (text[i + 1] != L'&') return static_cast<wchar_t>(towupper(text[i + 1]));
      ++i;
    }
    return 0;
  }
};

// Reads a string-or-ordinal field of a template; an ordinal class becomes its name.
std::wstring ReadField(const WORD*& p) {
  static const std::map<WORD, std::wstring> classes = {{0x80, L"button"},    {0x81, L"edit"},
                                                       {0x82, L"static"},    {0x83, L"listbox"},
                                                       {0x84, L"scrollbar"}, {0x85, L"combobox"}};
  if (*p == 0xFFFF) {
    const WORD ordinal = p[1];
    p += 2;
    const auto named = classes.find(ordinal);
    return named == classes.end() ? std::wstring() : named->second;
  }
  std::wstring text(reinterpret_cast<const wchar_t*>(p));
  p += text.size() + 1;
  return text;
}

const WORD* AlignToDword(const WORD* p) {
  return reinterpret_cast<const WORD*>((reinterpret_cast<uintptr_t>(p) + 3) & ~uintptr_t{3});
}

// An extended dialog template's header, up to the fields that vary in length.
#pragma pack(push, 2)
struct TemplateHead {
  WORD version, signature;
  DWORD helpId, exStyle, style;
  WORD controls;
  short x, y, cx, cy;
};
#pragma pack(pop)

std::vector<Control> ReadTemplate(const TemplateHead* head) {
  const WORD* p = reinterpret_cast<const WORD*>(head + 1);
  ReadField(p);  // menu
  ReadField(p);  // class
  ReadField(p);  // title
  if (head->style & (DS_SETFONT | DS_SHELLFONT)) {
    p += 3;  // point size, weight, italic and character set
    ReadField(p);
  }
  std::vector<Control> controls;
  for (WORD i = 0; i < head->controls; ++i) {
    p = AlignToDword(p);
    const auto* fields = reinterpret_cast<const DWORD*>(p);
    Control control;
    control.style = fields[2];
    const auto* place = reinterpret_cast<const short*>(fields + 3);
    control.rect = RECT{place[0], place[1], place[0] + place[2], place[1] + place[3]};
    control.id = static_cast<int>(fields[5]);
    p = reinterpret_cast<const WORD*>(fields + 6);
    control.className = ReadField(p);
    std::transform(control.className.begin(), control.className.end(), control.className.begin(), towlower);
    control.text = ReadField(p);
    const WORD extra = *p++;
    p = reinterpret_cast<const WORD*>(reinterpret_cast<const BYTE*>(p) + extra);
    // A combo box's height holds its drop-down list, a tab control's its pages: either reads as
    // one line.
    if (control.className == L"combobox" || control.className == L"systabcontrol32")
      control.rect.bottom = control.rect.top + 14;
    controls.push_back(control);
  }
  return controls;
}

// A tabbed dialog: the first control of each page; those before the first page and from `shared` on
// show with every page.
struct TabbedDialog {
  std::vector<int> pageStarts;
  int shared;
};

const std::map<int, TabbedDialog>& TabbedDialogs() {
  static const std::map<int, TabbedDialog> dialogs = {
      {IDD_MEAL, {{IDC_MEAL_DIARY_LABEL, IDC_MEAL_AMOUNT_LABEL}, IDOK}},
      {IDD_RECIPE_EDITOR,
       {{IDC_RECIPE_GENERAL_LABEL, IDC_RECIPE_INGREDIENTS_LABEL, IDC_RECIPE_INSTRUCTIONS_LABEL,
         IDC_RECIPE_PICTURE},
        IDOK}},
      {IDD_SHOPLIST, {{IDC_SHOPLIST_NAME_LABEL, IDC_SHOPLIST_WHOLE}, IDOK}},
      {IDD_INGREDIENT_EDITOR,
       {{IDC_EDITOR_CATEGORY_LABEL, IDC_EDITOR_FIRST_NUTRIENT_LABEL, IDC_EDITOR_FIRST_NUTRIENT_LABEL + 10,
         IDC_EDITOR_FIRST_NUTRIENT_LABEL + 21, IDC_EDITOR_PICTURE_AREA},
        IDOK}},
  };
  return dialogs;
}

// The controls shown together: the whole dialog, or each page of a tabbed one with the controls
// around the pages.
std::vector<std::vector<Control>> ShownTogether(int dialog, const std::vector<Control>& controls) {
  const auto tabbed = TabbedDialogs().find(dialog);
  if (tabbed == TabbedDialogs().end()) return {controls};
  const auto at = [&](int id) {
    const auto found =
        std::find_if(controls.begin(), controls.end(), [&](const Control& c) { return c.id == id; });
    EXPECT_NE(found, controls.end()) << "dialog " << dialog << " has no control " << id;
    return found;
  };
  const auto shared = at(tabbed->second.shared);
  std::vector<std::vector<Control>> pages;
  const std::vector<int>& starts = tabbed->second.pageStarts;
  for (size_t page = 0; page < starts.size(); ++page) {
    std::vector<Control> shown(controls.begin(), at(starts.front()));
    shown.insert(shown.end(), at(starts[page]), page + 1 < starts.size() ? at(starts[page + 1]) : shared);
    shown.insert(shown.end(), shared, controls.end());
    pages.push_back(shown);
  }
  return pages;
}

// Controls that need an access key: a label right before a control that takes the focus, and every
// button but OK and Cancel (Enter and Escape press them), one whose caption has no letter ("...",
// "-->"), and a radio button inside a group box whose key reaches its group.
std::vector<Control> NeedingKeys(const std::vector<Control>& shown) {
  std::vector<Control> needing;
  const Control* groupBox = nullptr;
  for (size_t i = 0; i < shown.size(); ++i) {
    const Control& control = shown[i];
    if (control.IsGroupBox()) groupBox = control.Key() ? &control : nullptr;
    const bool labels = (control.IsLabel() || control.IsGroupBox()) && i + 1 < shown.size() &&
                        shown[i + 1].IsTabStop() && !control.text.empty();
    const bool inKeyedGroup = groupBox && control.IsRadio() && control.rect.top >= groupBox->rect.top &&
                              control.rect.bottom <= groupBox->rect.bottom;
    const bool hasLetter = std::any_of(control.text.begin(), control.text.end(), iswalnum);
    const bool button =
        control.IsButton() && control.id != IDOK && control.id != IDCANCEL && hasLetter && !inKeyedGroup;
    if (labels || button) needing.push_back(control);
  }
  return needing;
}

// Where the tab stops leave reading order, stops.size() when they keep it: each one is in the row
// of the one before (their heights overlap) and right of it, in a row below, or at the top of a
// column right of the stops of the column before that reach down beside it (a form in two
// columns).
size_t OutOfOrder(const std::vector<Control>& stops) {
  RECT row = stops.front().rect;
  size_t column = 0;
  for (size_t i = 1; i < stops.size(); ++i) {
    const RECT& next = stops[i].rect;
    const bool sameRow = next.top < row.bottom && next.bottom > row.top;
    const bool newColumn = std::all_of(stops.begin() + column, stops.begin() + i, [&](const Control& c) {
      return c.rect.bottom <= next.top || c.rect.right <= next.left;
    });
    if (sameRow ? next.left < stops[i - 1].rect.left : next.top < row.bottom && !newColumn) return i;
    if (!sameRow && next.top < row.bottom) column = i;
    if (sameRow) {
      row.top = std::min(row.top, next.top);
      row.bottom = std::max(row.bottom, next.bottom);
    } else {
      row = next;
    }
  }
  return stops.size();
}

// Tab goes round, so the order may start at any stop.
void ExpectReadingOrder(const std::wstring& where, const std::vector<Control>& shown) {
  std::vector<Control> stops;
  std::copy_if(shown.begin(), shown.end(), std::back_inserter(stops),
               [](const Control& c) { return c.IsTabStop(); });
  if (stops.empty()) return;
  const size_t wrong = OutOfOrder(stops);
  for (size_t start = 0; start < stops.size(); ++start) {
    if (OutOfOrder(stops) == stops.size()) return;
    std::rotate(stops.begin(), stops.begin() + 1, stops.end());
  }
  ADD_FAILURE() << testing::PrintToString(where) << ": control " << stops[wrong].id << " after "
                << stops[wrong - 1].id;
}

BOOL CALLBACK CollectDialog(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR ids) {
  if (IS_INTRESOURCE(name)) reinterpret_cast<std::vector<int>*>(ids)->push_back(LOWORD(name));
  return TRUE;
}

TEST(DialogKeysTest, EveryDialogGivesEachLabelAndButtonItsOwnKeyAndTabsInReadingOrder) {
  const HMODULE module = GetModuleHandleW(nullptr);
  std::vector<int> dialogs;
  EnumResourceNamesW(module, RT_DIALOG, &CollectDialog, reinterpret_cast<LONG_PTR>(&dialogs));
  ASSERT_GT(dialogs.size(), 20u);
  for (const int dialog : dialogs) {
    const HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(dialog), RT_DIALOG);
    const auto* head = static_cast<const TemplateHead*>(LockResource(LoadResource(module, found)));
    ASSERT_TRUE(head && head->signature == 0xFFFF) << "dialog " << dialog << " is not an extended template";
    const auto pages = ShownTogether(dialog, ReadTemplate(head));
    for (size_t page = 0; page < pages.size(); ++page) {
      const std::wstring where = L"dialog " + std::to_wstring(dialog) + L" page " + std::to_wstring(page);
      for (const Control& control : NeedingKeys(pages[page]))
        EXPECT_NE(control.Key(), 0) << testing::PrintToString(where) << ": "
                                    << testing::PrintToString(control.text);
      std::map<wchar_t, std::wstring> taken;
      for (const Control& control : pages[page]) {
        const wchar_t key = control.Key();
        if (!key) continue;
        EXPECT_EQ(taken.count(key), 0u)
            << testing::PrintToString(where) << ": " << testing::PrintToString(control.text) << " and "
            << testing::PrintToString(taken[key]);
        taken[key] = control.text;
      }
      ExpectReadingOrder(where, pages[page]);
    }
  }
}

}  // namespace
