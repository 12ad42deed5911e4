#pragma once
// An ordered list of (name, id) pairs: the categories of a catalog, the serving-unit names, the
// diary names. It needs no window; a combo box that shows it (DAVavador::ERComboBox) owns one and
// mirrors each change into the control, using InsertionIndex/ComboIndex to place the rows.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "storage/Text.h"

struct NamedId {
  WString name;
  uint32_t id = 0;
};

// Where the "--All--" row (id 0) stands in an attached combo box. It is never part of the list.
enum class HeaderPosition { None, Top, Bottom };

class NamedIdList {
 public:
  static constexpr size_t kNone = static_cast<size_t>(-1);
  using const_iterator = std::vector<NamedId>::const_iterator;

  explicit NamedIdList(bool sorted = true) : sorted_(sorted) {}

  bool Sorted() const { return sorted_; }
  size_t Count() const { return entries_.size(); }
  bool Empty() const { return entries_.empty(); }
  const NamedId& operator[](size_t index) const { return entries_[index]; }
  const_iterator begin() const { return entries_.begin(); }
  const_iterator end() const { return entries_.end(); }

  // Refuses (false / kNone) a name equal, ignoring case, to one already listed. Otherwise a sorted
  // list inserts before the first entry whose name compares greater and an unsorted one appends;
  // Insert returns the index the entry took.
  bool Add(WStringView name, uint32_t id) { return Insert(name, id) != kNone; }
  size_t Insert(WStringView name, uint32_t id);
  // Appends without the name check: loaders keep the order and names of their file.
  void Append(WStringView name, uint32_t id);
  // The index Add would give a new entry of that name.
  size_t InsertionIndex(WStringView name) const;
  void RemoveAt(size_t index);
  void Clear() { entries_.clear(); }

  // The id of the first entry whose name equals the text ignoring case, 0 when none. The counted
  // form compares at most the first `length` characters of both names, as prefix matching needs.
  uint32_t IdByName(WStringView name) const;
  uint32_t IdByName(WStringView name, size_t length) const;
  // The name of the first entry with that id, null when none.
  const WString* NameById(uint32_t id) const;
  size_t IndexOfId(uint32_t id) const;
  size_t IndexOfName(WStringView name) const;
  bool ContainsId(uint32_t id) const { return IndexOfId(id) != kNone; }
  uint32_t HighestId() const;

  // The header row shifts every combo index by one when it stands at the top.
  HeaderPosition Header() const { return header_; }
  void SetHeader(HeaderPosition header) { header_ = header; }
  size_t ComboIndex(size_t listIndex) const;

 private:
  bool sorted_;
  HeaderPosition header_ = HeaderPosition::None;
  std::vector<NamedId> entries_;
};
