#pragma once
// The rows behind an owner-data list view: for each row a data value and the record it shows, in
// display order, and the rows a find text lets through ("shown" rows, which the control sees). The
// texts come from the owner's cell source when asked for. Sort keys of one column and the folded
// names the find text is matched against are computed once and kept with the rows until the rows
// or that column change, so a re-sort or a keystroke of the find text costs no text formatting.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "storage/Text.h"

namespace DAVavador {

enum class SortKind { Text, Number };

class ListRows {
 public:
  static constexpr int kSortTextLength = 1024;  // characters of a cell that sorting compares

  struct Row {
    LPARAM data;         // the owner's (an id)
    const void* record;  // handed back to the sources; distinct rows show distinct records
  };
  // A cell's text by column position, and the name the find text is matched against (held by the
  // record while it is listed).
  using CellSource = std::function<WString(const void* record, int column)>;
  using NameSource = std::function<WStringView(const void* record)>;

  void SetSources(CellSource cells, NameSource names);
  WString Cell(size_t shown, int column) const;

  size_t ShownCount() const { return shown_.size(); }
  size_t Count() const { return entries_.size() - gaps_; }
  const Row& Shown(size_t shown) const { return entries_[shown_[shown]].row; }
  // The shown index of the first row carrying `data` or showing `record`; -1 when none does.
  int FindData(LPARAM data) const;
  int FindRecord(const void* record) const;

  // Replaces every row, in the given order; keys and names are computed again when needed.
  void Assign(std::vector<Row> rows);
  // Appends a row; its shown index, or -1 when the find text hides it.
  int Append(const Row& row);
  // The record of a shown row changed: its key and name are computed again. It stays shown.
  void Changed(size_t shown);
  void Erase(size_t shown);
  // Erases the rows of `record` that the find text hides (a record about to be freed).
  void EraseHidden(const void* record);
  void Clear();
  // The column's texts changed meaning (columns rebuilt): its keys are computed again.
  void ForgetKeys() { keyColumn_ = -1; }
  // The names changed in place: they are folded again, at once while a find text is on.
  void ForgetNames();

  // Orders every row by the column, stably, descending with `reverse`. Texts compare as the
  // system's locale orders them without regard to case, numbers by value.
  void Sort(int column, SortKind kind, bool reverse);
  // Shows the rows whose name holds `text`, ignoring case as the system's locale does; an empty
  // text shows every row. True when the shown rows changed.
  bool SetFilter(const WString& text);
  const WString& Filter() const { return filter_; }

 private:
  // A piece of one of the stores below: a key or a name each row, without an allocation each.
  struct Span {
    uint32_t at = 0;
    uint32_t length = 0;
  };
  struct Entry {
    Row row;
    Span key;           // in keyBytes_: the sort key of the keyed column's text (text columns)
    double number = 0;  // its value (number columns)
    Span name;          // in foldedNames_
    bool gone = false;  // erased; its place is taken back by CloseGaps
  };
  std::string_view KeyOf(const Entry& entry) const {
    return {keyBytes_.data() + entry.key.at, entry.key.length};
  }
  WStringView NameOf(const Entry& entry) const {
    return {foldedNames_.data() + entry.name.at, entry.name.length};
  }
  template <class Matches>
  int FindShown(const Matches& matches) const;  // the first shown row that matches, or -1
  void ComputeKey(Entry& entry);
  void FoldName(Entry& entry);
  void FoldNames();
  void CloseGaps();
  bool Passes(const Entry& entry) const;
  void ShowPassing();

  CellSource cells_;
  NameSource names_;
  std::vector<Entry> entries_;   // in the order the rows came
  std::vector<uint32_t> order_;  // display order: indices into entries_
  std::vector<uint32_t> shown_;  // the rows of order_ the find text lets through
  size_t gaps_ = 0;              // erased entries still in entries_ and order_
  std::string keyBytes_;         // the sort keys, one after the other
  WString foldedNames_;          // the folded names, one after the other
  int keyColumn_ = -1;           // the column whose keys the entries hold, -1 for none
  SortKind keyKind_ = SortKind::Text;
  bool namesFolded_ = false;
  WString filter_;        // as typed
  WString foldedFilter_;  // as matched
};

// `text` in lower case by the system locale's rules (LCMapStringW), character for character.
WString FoldForFind(WString text);

}  // namespace DAVavador
