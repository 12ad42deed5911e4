// Ingredient catalogs read from files.
#include "webrecipe/CatalogFile.h"

#include "food/RecordIds.h"
#include "food/TagNames.h"
#include "food/Texts.h"
#include "storage/Csv.h"
#include "storage/XMLDoc.h"

bool CatalogFile::Read(const WString& text) {
  records_.clear();
  if (text.find(TXT("<INGREDIENTLIST>")) != WString::npos) {
    ReadXml(text);
  } else {
    ReadCsv(text);
  }
  return !records_.empty();
}

bool CatalogFile::Load(const WString& path) {
  std::string bytes;
  return ReadFileBytes(path, bytes) && (Read(Utf16Units(bytes)) || Read(WidenedBytes(bytes)));
}

void CatalogFile::ReadXml(const WString& text) {
  XMLDoc doc;
  doc.SetText(text);
  if (!doc.FindRoot(TXT("INGREDIENTLIST"))) return;
  while (const WChar* tag = doc.NextTag()) {
    if (!IsTag(tag, TXT("FOOD")) || doc.IsEndTag()) continue;
    auto record = std::make_unique<Ingredient>();
    if (!ReadFood(doc, *record, categories_, counter_)) break;
    record->foodId = TakeFileId(record->foodId, counter_);
    records_.push_back(std::move(record));
  }
  NumberUnnumbered(records_, counter_);
}

void CatalogFile::ReadCsv(const WString& text) {
  const std::vector<WStringView> lines = CsvLines(text);
  CsvColumnMap map;
  const auto header = [](uint32_t column) { return EnglishTextById(kTextColumnFirst + column); };
  if (lines.empty() || !MapCsvHeader(SplitCsvLine(lines[0]), header, map)) return;
  for (size_t n = 1; n < lines.size(); ++n) {
    auto record = std::make_unique<Ingredient>();
    if (record->ImportCsvRow(SplitCsvLine(lines[n]), categories_, UnitNames(), counter_, map))
      records_.push_back(std::move(record));
  }
}

Ingredient* CatalogFile::FindById(uint32_t foodId) {
  for (const auto& record : records_)
    if (record->foodId == foodId) return record.get();
  return nullptr;
}

Ingredient* CatalogFile::FindByName(WStringView name) {
  for (const auto& record : records_)
    if (EqualsNoCase(record->name, name)) return record.get();
  return nullptr;
}

Ingredient* CatalogFile::AddIngredient(const Ingredient& ingredient) {
  records_.push_back(std::make_unique<Ingredient>(ingredient));
  records_.back()->foodId = ++counter_;
  return records_.back().get();
}
