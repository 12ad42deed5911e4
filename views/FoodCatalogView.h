#pragma once
// The base of the views whose records are foods known by FOODID, the ingredients and the recipes:
// the records themselves, a record by id or by list row, and the save that writes the catalog
// file or, for an export, the records of the export category as XML or CSV.
#include <cstdint>
#include <memory>
#include <vector>

#include "app/DataLockGuard.h"
#include "food/CategoryList.h"
#include "storage/Files.h"
#include "storage/Csv.h"
#include "views/View.h"

template <class Record>
class FoodCatalogView : public View {
 public:
  FoodCatalogView(DAVavador::ERApp& owner, DAVavador::ERStatusBar& statusBar, DAVavador::ERToolbar& toolbar,
                  Options& options, const ViewTraits& traits)
      : View(owner, statusBar, toolbar, options, traits) {
    UseRecordRows<Record>();
  }

  const std::vector<std::unique_ptr<Record>>& Records() const { return records_; }

  bool Save() override {
    DataLockGuard lock;
    // The export category restricts exports only; the catalog file always holds every record.
    const bool exchange = IsExchange();
    const uint32_t exportCategory = exchange ? filterCategoryId : 0;
    std::vector<const Record*> written;
    for (const auto& record : records_) {
      if (exportCategory == 0 || record->catId == exportCategory) written.push_back(record.get());
    }
    const bool saved = IsCsvPath(workPath) ? WriteCsvFile(written) : WriteXmlFile(written);
    if (saved && !exchange) modified = false;
    return saved;
  }

 protected:
  Record* FindRecord(uint32_t foodId) const {
    for (const auto& record : records_) {
      if (record->foodId == foodId) return record.get();
    }
    return nullptr;
  }
  // The record a row shows; the view owns its records, so it may change them.
  Record* RecordOfRow(int row) const {
    return const_cast<Record*>(static_cast<const Record*>(listView.ItemRecord(row)));
  }
  Record* FocusedRecord() const { return RecordOfRow(listView.FocusedOfOne()); }

  // The category a name typed into an editor's category box names, created when the catalog
  // lacks it and then shown in the selector.
  uint32_t CategoryNamed(const WString& name) {
    uint32_t id;
    {
      DataLockGuard lock;
      id = categories->FindOrCreate(name, lastId);
      modified = true;
    }
    FillCategorySelector();
    return id;
  }

  // A CSV catalog or exchange file; one without a known column in UTF-16 is read again as 8-bit
  // text.
  bool ReadCsvFile(ProgressWindow* progressWindow, int fromPercent, int toPercent) {
    std::string bytes;
    if (!ReadFileBytes(workPath, bytes)) return false;
    return ImportCsv(Utf16Units(bytes), progressWindow, fromPercent, toPercent) ||
           ImportCsv(WidenedBytes(bytes), progressWindow, fromPercent, toPercent);
  }

  // False when the header names no known column.
  virtual bool ImportCsv(const WString& text, ProgressWindow* progressWindow, int fromPercent,
                         int toPercent) = 0;
  virtual bool WriteXmlFile(const std::vector<const Record*>& written) = 0;
  virtual bool WriteCsvFile(const std::vector<const Record*>& written) = 0;

  std::vector<std::unique_ptr<Record>> records_;
};
