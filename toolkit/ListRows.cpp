#include "toolkit/ListRows.h"

#include <algorithm>
#include <numeric>

#include "storage/XMLDoc.h"

namespace DAVavador {

namespace {

// Appends the bytes CompareStringW(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE) compares: two keys
// compare as unsigned bytes the way the texts compare.
void AppendSortKey(const WString& text, std::string& keys) {
  const int length = static_cast<int>(std::min<size_t>(text.size(), ListRows::kSortTextLength));
  constexpr DWORD flags = LCMAP_SORTKEY | NORM_IGNORECASE;
  char key[512];  // enough for every name; a longer text asks for its size
  int size = LCMapStringW(LOCALE_SYSTEM_DEFAULT, flags, text.c_str(), length, reinterpret_cast<LPWSTR>(key),
                          sizeof(key));
  if (size > 0) {
    keys.append(key, static_cast<size_t>(size));
    return;
  }
  size = LCMapStringW(LOCALE_SYSTEM_DEFAULT, flags, text.c_str(), length, nullptr, 0);
  if (size <= 0) return;
  std::string longer(static_cast<size_t>(size), '\0');
  LCMapStringW(LOCALE_SYSTEM_DEFAULT, flags, text.c_str(), length, reinterpret_cast<LPWSTR>(longer.data()),
               size);
  keys += longer;
}

// Lower case maps each UTF-16 unit on its own, so the whole mapping fits one table, made with one
// call; folding is then a lookup a character.
const std::vector<WChar>& LowerCaseTable() {
  static const std::vector<WChar> table = [] {
    std::vector<WChar> units(0x10000), lower(0x10000);
    std::iota(units.begin(), units.end(), WChar{0});
    for (WChar unit = 0xD800; unit < 0xE000; ++unit) units[unit] = L' ';  // lone surrogates
    // Without the system's table the find compares exactly.
    if (!LCMapStringW(LOCALE_SYSTEM_DEFAULT, LCMAP_LOWERCASE | LCMAP_LINGUISTIC_CASING, units.data(), 0x10000,
                      lower.data(), 0x10000))
      std::iota(lower.begin(), lower.end(), WChar{0});
    for (WChar unit = 0xD800; unit < 0xE000; ++unit) lower[unit] = unit;
    return lower;
  }();
  return table;
}

void FoldInPlace(WChar* first, WChar* last) {
  const std::vector<WChar>& lower = LowerCaseTable();
  for (; first != last; ++first) *first = lower[*first];
}

}  // namespace

WString FoldForFind(WString text) {
  FoldInPlace(text.data(), text.data() + text.size());
  return text;
}

void ListRows::SetSources(CellSource cells, NameSource names) {
  cells_ = std::move(cells);
  names_ = std::move(names);
  keyColumn_ = -1;
  namesFolded_ = false;
}

WString ListRows::Cell(size_t shown, int column) const {
  return cells_ ? cells_(Shown(shown).record, column) : WString();
}

template <class Matches>
int ListRows::FindShown(const Matches& matches) const {
  for (size_t i = 0; i < shown_.size(); ++i)
    if (matches(entries_[shown_[i]].row)) return static_cast<int>(i);
  return -1;
}

int ListRows::FindData(LPARAM data) const {
  return FindShown([data](const Row& row) { return row.data == data; });
}

int ListRows::FindRecord(const void* record) const {
  return FindShown([record](const Row& row) { return row.record == record; });
}

void ListRows::Assign(std::vector<Row> rows) {
  entries_.clear();
  entries_.reserve(rows.size());
  for (const Row& row : rows) entries_.push_back(Entry{row, {}, 0, {}});
  gaps_ = 0;
  keyBytes_.clear();
  foldedNames_.clear();
  order_.resize(entries_.size());
  std::iota(order_.begin(), order_.end(), 0u);
  keyColumn_ = -1;
  namesFolded_ = false;
  if (!foldedFilter_.empty()) FoldNames();
  ShowPassing();
}

int ListRows::Append(const Row& row) {
  entries_.push_back(Entry{row, {}, 0, {}});
  Entry& entry = entries_.back();
  if (keyColumn_ >= 0) ComputeKey(entry);
  if (namesFolded_) FoldName(entry);
  const auto index = static_cast<uint32_t>(entries_.size() - 1);
  order_.push_back(index);
  if (!Passes(entry)) return -1;
  shown_.push_back(index);
  return static_cast<int>(shown_.size() - 1);
}

void ListRows::Changed(size_t shown) {
  Entry& entry = entries_[shown_[shown]];
  if (keyColumn_ >= 0) ComputeKey(entry);
  if (namesFolded_) FoldName(entry);
}

void ListRows::Erase(size_t shown) {
  // The entry stays as a gap until the rows are next ordered or filtered: deleting the selected
  // rows one by one from the last costs no more than the rows themselves.
  entries_[shown_[shown]].gone = true;
  shown_.erase(shown_.begin() + static_cast<ptrdiff_t>(shown));
  ++gaps_;
}

void ListRows::ForgetNames() {
  namesFolded_ = false;
  if (foldedFilter_.empty()) return;
  FoldNames();
  ShowPassing();
}

void ListRows::EraseHidden(const void* record) {
  for (Entry& entry : entries_) {
    if (entry.gone || entry.row.record != record) continue;
    entry.gone = true;
    ++gaps_;
  }
}

void ListRows::CloseGaps() {
  if (gaps_ == 0) return;
  constexpr uint32_t kGone = ~uint32_t{0};
  std::vector<uint32_t> moved(entries_.size(), kGone);
  uint32_t kept = 0;
  for (size_t i = 0; i < entries_.size(); ++i) {
    if (entries_[i].gone) continue;
    moved[i] = kept;
    entries_[kept++] = entries_[i];
  }
  entries_.resize(kept);
  size_t at = 0;
  for (uint32_t index : order_)
    if (moved[index] != kGone) order_[at++] = moved[index];
  order_.resize(at);
  for (uint32_t& index : shown_) index = moved[index];
  gaps_ = 0;
}

void ListRows::Clear() {
  entries_.clear();
  order_.clear();
  shown_.clear();
  keyBytes_.clear();
  foldedNames_.clear();
  gaps_ = 0;
  keyColumn_ = -1;
  namesFolded_ = true;  // every name of no rows
}

void ListRows::ComputeKey(Entry& entry) {
  const WString text = cells_ ? cells_(entry.row.record, keyColumn_) : WString();
  if (keyKind_ == SortKind::Number) {
    entry.number = ParseReal(text.c_str());
    return;
  }
  entry.key.at = static_cast<uint32_t>(keyBytes_.size());
  AppendSortKey(text, keyBytes_);
  entry.key.length = static_cast<uint32_t>(keyBytes_.size()) - entry.key.at;
}

void ListRows::Sort(int column, SortKind kind, bool reverse) {
  CloseGaps();
  if (column != keyColumn_ || kind != keyKind_) {
    keyColumn_ = column;
    keyKind_ = kind;
    keyBytes_.clear();
    for (Entry& entry : entries_) ComputeKey(entry);
  }
  const auto less = [this, kind](uint32_t a, uint32_t b) {
    const Entry &x = entries_[a], &y = entries_[b];
    return kind == SortKind::Number ? x.number < y.number : KeyOf(x) < KeyOf(y);
  };
  if (reverse)
    std::stable_sort(order_.begin(), order_.end(), [&less](uint32_t a, uint32_t b) { return less(b, a); });
  else
    std::stable_sort(order_.begin(), order_.end(), less);
  ShowPassing();
}

void ListRows::FoldName(Entry& entry) {
  const WStringView name = names_ ? names_(entry.row.record) : WStringView();
  const size_t at = foldedNames_.size();
  foldedNames_ += name;
  FoldInPlace(foldedNames_.data() + at, foldedNames_.data() + foldedNames_.size());
  entry.name = {static_cast<uint32_t>(at), static_cast<uint32_t>(name.size())};
}

void ListRows::FoldNames() {
  CloseGaps();
  namesFolded_ = true;
  foldedNames_.clear();
  for (Entry& entry : entries_) FoldName(entry);
}

bool ListRows::Passes(const Entry& entry) const {
  return foldedFilter_.empty() || NameOf(entry).find(foldedFilter_) != WStringView::npos;
}

void ListRows::ShowPassing() {
  CloseGaps();
  if (foldedFilter_.empty()) {
    shown_ = order_;
    return;
  }
  shown_.clear();
  for (uint32_t index : order_)
    if (Passes(entries_[index])) shown_.push_back(index);
}

bool ListRows::SetFilter(const WString& text) {
  filter_ = text;
  WString folded = FoldForFind(text);
  if (folded == foldedFilter_) return false;
  foldedFilter_ = std::move(folded);
  if (!foldedFilter_.empty() && !namesFolded_) FoldNames();
  ShowPassing();
  return true;
}

}  // namespace DAVavador
