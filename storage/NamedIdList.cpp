#include "storage/NamedIdList.h"

#include <algorithm>

size_t NamedIdList::InsertionIndex(WStringView name) const {
  if (!sorted_) return entries_.size();
  const auto greater = std::find_if(entries_.begin(), entries_.end(),
                                    [&](const NamedId& e) { return CompareNoCase(e.name, name) > 0; });
  return static_cast<size_t>(greater - entries_.begin());
}

size_t NamedIdList::Insert(WStringView name, uint32_t id) {
  if (IndexOfName(name) != kNone) return kNone;
  const size_t index = InsertionIndex(name);
  entries_.insert(entries_.begin() + static_cast<std::ptrdiff_t>(index), NamedId{WString(name), id});
  return index;
}

void NamedIdList::Append(WStringView name, uint32_t id) {
  entries_.push_back(NamedId{WString(name), id});
}

void NamedIdList::RemoveAt(size_t index) {
  if (index < entries_.size()) entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(index));
}

size_t NamedIdList::IndexOfName(WStringView name) const {
  for (size_t i = 0; i < entries_.size(); ++i)
    if (EqualsNoCase(entries_[i].name, name)) return i;
  return kNone;
}

uint32_t NamedIdList::IdByName(WStringView name) const {
  const size_t i = IndexOfName(name);
  return i == kNone ? 0 : entries_[i].id;
}

uint32_t NamedIdList::IdByName(WStringView name, size_t length) const {
  const WStringView word = name.substr(0, length);
  for (const NamedId& e : entries_)
    if (EqualsNoCase(WStringView(e.name).substr(0, length), word)) return e.id;
  return 0;
}

size_t NamedIdList::IndexOfId(uint32_t id) const {
  for (size_t i = 0; i < entries_.size(); ++i)
    if (entries_[i].id == id) return i;
  return kNone;
}

const WString* NamedIdList::NameById(uint32_t id) const {
  const size_t i = IndexOfId(id);
  return i == kNone ? nullptr : &entries_[i].name;
}

uint32_t NamedIdList::HighestId() const {
  uint32_t highest = 0;
  for (const NamedId& e : entries_) highest = std::max(highest, e.id);
  return highest;
}

size_t NamedIdList::ComboIndex(size_t listIndex) const {
  return header_ == HeaderPosition::Top ? listIndex + 1 : listIndex;
}
