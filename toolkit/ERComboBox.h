#pragma once
// A drop-down list combo box whose items are a named-id list. The list lives here with or without
// a window; with a window (owned or attached) adds, deletes and selections are mirrored into it,
// each item carrying its id as item data.
#include <cstdint>

#include "resources/resource.h"
#include "storage/NamedIdList.h"
#include "toolkit/ERWindow.h"

namespace DAVavador {

class ERComboBox : public ERWindow {
 public:
  static constexpr UINT kAllText = IDS_ALL;  // "--All--", the header row of id 0
  static constexpr int kDropHeight = 300;

  explicit ERComboBox(bool sorted = true) : list_(sorted) {}

  bool Create(HWND parent, int id) override;
  // `height` is the height of the dropped-down list.
  bool CreateAt(HWND parent, int id, int x, int y, int width, int height) override;

  // The named-id list.
  const NamedIdList& List() const { return list_; }
  // Refuses a name already listed (ignoring case); with `show` the new item is also inserted into
  // the combo at its place and selected.
  bool Add(WStringView name, uint32_t id, bool show);
  uint32_t IdByName(WStringView name) const { return list_.IdByName(name); }
  uint32_t IdByName(WStringView name, size_t length) const { return list_.IdByName(name, length); }
  const WString* NameById(uint32_t id) const { return list_.NameById(id); }
  uint32_t HighestId() const { return list_.HighestId(); }
  // The item data of the combo's selection; 0 without a window or a selection.
  uint32_t SelectedId() const;
  // Removes the selected entry from the list and the combo.
  void DeleteSelected();
  // Empties the list and the combo.
  void Clear();
  // Refills the combo from the list, with the "--All--" header where asked, selecting the entry of
  // `selectedId` (combo index 0 when none matches).
  void Fill(uint32_t selectedId, HeaderPosition header);
  bool SelectById(uint32_t id);
  bool SelectByName(WStringView name);

  // The combo box itself.
  int AddString(const WString& text, LPARAM data);
  int InsertString(int index, const WString& text, LPARAM data);
  void DeleteString(int index);
  void ResetContent();
  int Count() const;
  int Selection() const;  // CB_ERR (-1) when none
  void Select(int index);
  LPARAM ItemData(int index) const;
  WString ItemText(int index) const;

 private:
  int WithData(int index, LPARAM data);  // sets a new item's data, passes its index on

  NamedIdList list_;
};

// Sizes a combo box's dropped list to whole rows: all of its entries up to kMostDroppedRows, so
// that the last entry shows in full. Called as the list drops (CBN_DROPDOWN), when its entries
// are known.
constexpr int kMostDroppedRows = 20;
void FitDroppedList(HWND combo);

}  // namespace DAVavador
