#pragma once
// The categories of one catalog: a sorted named-id list whose ids come from the catalog's running
// id counter (id 0 means "all" in filters and never names a category), stored in the view
// settings as the CATEGORIES element. The add, rename and move dialog and the combo box that shows
// the list belong to the views, which work on the list through the operations below.
#include <cstdint>
#include <map>
#include <vector>

#include "storage/NamedIdList.h"
#include "storage/Text.h"

class XMLDoc;

class CategoryList {
 public:
  CategoryList() = default;
  virtual ~CategoryList() = default;

  const NamedIdList& Entries() const { return entries_; }
  uint32_t IdByName(WStringView name) const { return entries_.IdByName(name); }
  const WString* NameById(uint32_t id) const { return entries_.NameById(id); }
  uint32_t HighestId() const { return entries_.HighestId(); }

  // Adds in sorted place; false when a category of that name (ignoring case) exists.
  virtual bool Add(WStringView name, uint32_t id);
  virtual bool Remove(uint32_t id);
  virtual void Clear();

  // The add command: the counter moves on even when the name is taken. Returns the new id, 0 when
  // nothing was added.
  uint32_t AddNew(WStringView name, uint32_t& idCounter);
  // The id of the named category; one the list lacks is created with the next counter value, as
  // categories named in imported data are.
  uint32_t FindOrCreate(WStringView name, uint32_t& idCounter);
  // Gives a category a new name and its sorted place, keeping its id and so its records. A name
  // that another category already has (ignoring case) is refused and nothing changes; the caller
  // tells the user. A change of letter case alone is accepted.
  bool Rename(uint32_t id, WStringView newName);

  // Reads the entries after the caller consumed the CATEGORIES start tag, until any other tag
  // (normally the end tag): true then, false at the end of the text. Entries keep the file's order;
  // one lacking its name, or repeating an earlier id, is dropped. The ids read raise the counter
  // (TakeFileId); an entry without a usable one gets the next counter value after them.
  bool Load(XMLDoc& doc, uint32_t& idCounter);
  void Save(XMLDoc& doc) const;
  // The category a record of the file last loaded names by `id`: the new id of an entry that
  // came with that unusable one, else `id` itself.
  uint32_t FileCategoryId(uint32_t id) const;

 protected:
  // One entry as read from the file; the person fields are the diary names' own.
  struct PendingEntry {
    WString name;
    uint32_t id = 0;
    uint32_t ageBand = 0;
    uint32_t sex = 0;
    bool hasName = false;
  };

  virtual const WChar* EntryTag() const;
  // Stores a leaf of an entry; false for a tag that is no field of an entry.
  virtual bool ReadEntryField(const WChar* tag, const WChar* value, PendingEntry& entry) const;
  virtual void CommitEntry(const PendingEntry& entry);
  virtual void WriteEntryFields(XMLDoc& doc, const NamedId& entry) const;

  NamedIdList entries_;

 private:
  // The entries of the element in file order; false when the text ended first.
  bool ReadEntries(XMLDoc& doc, std::vector<PendingEntry>& read) const;

  std::map<uint32_t, uint32_t> renumbered_;  // unusable id in the file -> the entry's new id
};
