#pragma once
// The names of the food diaries, one per person, with the person's sex and age band, which choose
// the daily allowances the diary's nutrition is compared with. Stored like categories, each entry
// as a DIARYNAME element with NAME, ID, AGE and SEX.
#include <cstdint>
#include <map>

#include "food/CategoryList.h"

struct DiaryName {
  WString name;
  uint32_t id = 0;
  uint32_t ageBand = 0;  // 0 "Unspecified", 1..6 the bands of AgeBandText
  uint32_t sex = 0;      // SexCode
};

class DiaryNameList : public CategoryList {
 public:
  // A diary added by name alone has sex and age "Unspecified".
  bool Add(WStringView name, uint32_t id) override;
  bool Add(const DiaryName& diary);
  // The edit dialog's result: a new name (same rules as Rename), sex and age band for that id.
  bool Update(const DiaryName& diary);
  // The diary with that id; id 0 and the unspecified person when there is none.
  DiaryName Find(uint32_t id) const;
  bool Remove(uint32_t id) override;
  void Clear() override;

 protected:
  const WChar* EntryTag() const override;
  bool ReadEntryField(const WChar* tag, const WChar* value, PendingEntry& entry) const override;
  void CommitEntry(const PendingEntry& entry) override;
  void WriteEntryFields(XMLDoc& doc, const NamedId& entry) const override;

 private:
  struct Person {
    uint32_t ageBand = 0;
    uint32_t sex = 0;
  };
  Person PersonOf(uint32_t id) const;

  std::map<uint32_t, Person> people_;  // by diary id; absent means unspecified
};

// The age band's combo text: `unspecified` for code 0, then "9 - 13", "13 - 18", "18 - 30",
// "30 - 50", "50 - 70", "70+"; other codes give "".
WString AgeBandText(uint32_t ageBand, const WString& unspecified);
