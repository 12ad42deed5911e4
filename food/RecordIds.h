#pragma once
// Record and category ids as files give them. A catalog numbers its records and categories from
// one running counter, whose next value each new one takes; the ids a file holds raise it. Only
// 1..kHighestFileId are taken from a file: 0 names nothing, and a counter at 4294967295 would give
// the next new record 0 (written as no id) and the ones after it ids the catalog already uses.
#include <cstdint>

constexpr uint32_t kHighestFileId = 0xFFFFFFFEu;

// The id when a file may name a record or category by it, else 0.
constexpr uint32_t UsableId(uint32_t id) {
  return id <= kHighestFileId ? id : 0;
}

// Takes an id read from a file into the counter. Returns it, or 0 when it is not usable: the mark
// of a record that NumberUnnumbered numbers once the whole file is read, so that it cannot take an
// id a later record of the same file holds.
inline uint32_t TakeFileId(uint32_t id, uint32_t& counter) {
  id = UsableId(id);
  if (id > counter) counter = id;
  return id;
}

// Gives each record (held by pointer) whose FOODID is 0 the next counter value, in their order.
template <typename Records>
void NumberUnnumbered(Records& records, uint32_t& counter) {
  for (auto& record : records)
    if (record->foodId == 0) record->foodId = ++counter;
}
