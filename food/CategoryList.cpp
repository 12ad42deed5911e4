#include "food/CategoryList.h"

#include "food/RecordIds.h"
#include "food/TagNames.h"
#include "storage/XMLDoc.h"

bool CategoryList::Add(WStringView name, uint32_t id) {
  return entries_.Add(name, id);
}

bool CategoryList::Remove(uint32_t id) {
  const size_t index = entries_.IndexOfId(id);
  if (index == NamedIdList::kNone) return false;
  entries_.RemoveAt(index);
  return true;
}

void CategoryList::Clear() {
  entries_.Clear();
  renumbered_.clear();
}

uint32_t CategoryList::AddNew(WStringView name, uint32_t& idCounter) {
  const uint32_t id = ++idCounter;
  return Add(name, id) ? id : 0;
}

uint32_t CategoryList::FindOrCreate(WStringView name, uint32_t& idCounter) {
  const size_t index = entries_.IndexOfName(name);
  if (index != NamedIdList::kNone) return entries_[index].id;
  const uint32_t id = ++idCounter;
  Add(name, id);
  return id;
}

bool CategoryList::Rename(uint32_t id, WStringView newName) {
  const size_t index = entries_.IndexOfId(id);
  const size_t holder = entries_.IndexOfName(newName);
  if (index == NamedIdList::kNone || (holder != NamedIdList::kNone && holder != index)) return false;
  const WString name(newName);  // the view may come from the entry itself
  entries_.RemoveAt(index);
  entries_.Insert(name, id);
  return true;
}

const WChar* CategoryList::EntryTag() const {
  return TXT("CATEGORY");
}

bool CategoryList::ReadEntryField(const WChar* tag, const WChar* value, PendingEntry& entry) const {
  if (IsTag(tag, TXT("ID"))) {
    entry.id = static_cast<uint32_t>(ParseInt(value));
  } else if (IsTag(tag, TXT("NAME"))) {
    entry.name = XMLUnescape(value);
    entry.hasName = true;
  } else {
    return false;
  }
  return true;
}

void CategoryList::CommitEntry(const PendingEntry& entry) {
  if (entry.hasName && !entries_.ContainsId(entry.id)) entries_.Append(entry.name, entry.id);
}

bool CategoryList::ReadEntries(XMLDoc& doc, std::vector<PendingEntry>& read) const {
  PendingEntry entry;
  bool inEntry = false;
  while (const WChar* tag = doc.NextTag()) {
    if (IsTag(tag, EntryTag())) {
      if (!doc.IsEndTag()) {
        entry = PendingEntry();
        inEntry = true;
      }
      if (inEntry && (doc.IsEndTag() || doc.IsEmptyTag())) {
        read.push_back(entry);
        inEntry = false;
      }
      continue;
    }
    const bool leaf = !doc.IsEndTag();
    const WChar* value = leaf ? doc.ReadValue(tag) : nullptr;
    PendingEntry ignored;
    if (!ReadEntryField(tag, value ? value : TXT(""), value ? entry : ignored)) return true;
  }
  return false;
}

// New ids are given once every id of the element is in the counter, so that none is one a later
// entry holds.
bool CategoryList::Load(XMLDoc& doc, uint32_t& idCounter) {
  std::vector<PendingEntry> read;
  const bool ended = ReadEntries(doc, read);
  for (const PendingEntry& entry : read) TakeFileId(entry.id, idCounter);
  renumbered_.clear();
  for (PendingEntry& entry : read) {
    if (!UsableId(entry.id)) {
      if (renumbered_.count(entry.id)) continue;  // the first of repeated ids wins
      const uint32_t id = ++idCounter;
      if (entry.id != 0) renumbered_.emplace(entry.id, id);
      entry.id = id;
    }
    CommitEntry(entry);
  }
  return ended;
}

uint32_t CategoryList::FileCategoryId(uint32_t id) const {
  const auto found = renumbered_.find(id);
  return found == renumbered_.end() ? id : found->second;
}

void CategoryList::WriteEntryFields(XMLDoc& doc, const NamedId& entry) const {
  doc.WriteString(TXT("NAME"), entry.name);
  doc.WriteInt(TXT("ID"), static_cast<int32_t>(entry.id));
}

void CategoryList::Save(XMLDoc& doc) const {
  doc.OpenElement(TXT("CATEGORIES"));
  for (const NamedId& entry : entries_) {
    doc.OpenElement(EntryTag());
    WriteEntryFields(doc, entry);
    doc.CloseElement();
  }
  doc.CloseElement();
}
