#include "food/DiaryNameList.h"

#include "food/Nutrients.h"
#include "food/NumberText.h"
#include "food/TagNames.h"
#include "storage/XMLDoc.h"

namespace {
// Each age band runs from one bound to the next; 999 stands for no upper bound.
constexpr uint32_t kAgeBounds[] = {9, 13, 18, 30, 50, 70, 999};
constexpr uint32_t kNoUpperBound = 999;
}  // namespace

bool DiaryNameList::Add(WStringView name, uint32_t id) {
  return Add(DiaryName{WString(name), id, 0, 0});
}

bool DiaryNameList::Add(const DiaryName& diary) {
  if (!CategoryList::Add(diary.name, diary.id)) return false;
  people_[diary.id] = Person{diary.ageBand, diary.sex};
  return true;
}

bool DiaryNameList::Update(const DiaryName& diary) {
  if (!Rename(diary.id, diary.name)) return false;
  people_[diary.id] = Person{diary.ageBand, diary.sex};
  return true;
}

DiaryNameList::Person DiaryNameList::PersonOf(uint32_t id) const {
  const auto it = people_.find(id);
  return it == people_.end() ? Person() : it->second;
}

DiaryName DiaryNameList::Find(uint32_t id) const {
  const WString* name = NameById(id);
  if (!name) return DiaryName();
  const Person person = PersonOf(id);
  return DiaryName{*name, id, person.ageBand, person.sex};
}

bool DiaryNameList::Remove(uint32_t id) {
  people_.erase(id);
  return CategoryList::Remove(id);
}

void DiaryNameList::Clear() {
  CategoryList::Clear();
  people_.clear();
}

const WChar* DiaryNameList::EntryTag() const {
  return TXT("DIARYNAME");
}

bool DiaryNameList::ReadEntryField(const WChar* tag, const WChar* value, PendingEntry& entry) const {
  if (IsTag(tag, TXT("AGE"))) {
    entry.ageBand = static_cast<uint32_t>(ParseInt(value));
  } else if (IsTag(tag, TXT("SEX"))) {
    entry.sex = static_cast<uint32_t>(ParseInt(value));
  } else {
    return CategoryList::ReadEntryField(tag, value, entry);
  }
  return true;
}

void DiaryNameList::CommitEntry(const PendingEntry& entry) {
  if (entries_.ContainsId(entry.id)) return;
  entries_.Append(entry.name, entry.id);
  people_[entry.id] = Person{entry.ageBand, entry.sex};
}

void DiaryNameList::WriteEntryFields(XMLDoc& doc, const NamedId& entry) const {
  CategoryList::WriteEntryFields(doc, entry);
  const Person person = PersonOf(entry.id);
  if (person.ageBand != 0) doc.WriteInt(TXT("AGE"), static_cast<int32_t>(person.ageBand));
  if (person.sex != 0) doc.WriteInt(TXT("SEX"), static_cast<int32_t>(person.sex));
}

WString AgeBandText(uint32_t ageBand, const WString& unspecified) {
  if (ageBand == kAgeBandUnspecified) return unspecified;
  if (ageBand >= kAgeBandCount) return WString();
  WString text;
  AppendInteger(text, kAgeBounds[ageBand - 1]);
  if (kAgeBounds[ageBand] == kNoUpperBound) return text + TXT('+');
  text += TXT(" - ");
  AppendInteger(text, kAgeBounds[ageBand]);
  return text;
}
