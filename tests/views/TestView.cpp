#include "TestView.h"

#include <algorithm>
#include <new>

#include "app/DataLockGuard.h"
#include "food/CategoryList.h"
#include "storage/XMLDoc.h"

TestView::TestView(DAVavador::ERApp& owner, DAVavador::ERStatusBar& statusBar, DAVavador::ERToolbar& toolbar,
                   Options& options)
    : View(owner, statusBar, toolbar, options, ViewTraits{0, 34, 5100, kLoadingTitle, {30, 29, 0}}) {
  categories = std::make_unique<CategoryList>();
  UseRowSource([this](const void* row, uint8_t id) { return CellOf(row, id); },
               [this](const void* row) {
                 const TestRecord* record = RecordOf(row);
                 return record ? WStringView(record->name) : WStringView();
               });
}

void TestView::Clear() {
  DataLockGuard lock;
  View::Clear();
  records.clear();
}

void TestView::FillList() {
  ++fills;
  size_t count = 0;
  for (const TestRecord& record : records) count += MatchesFilter(record.catId, record.name);
  FillRows(count, [this](FillProgress& progress) {
    for (size_t i = 0; i < records.size(); ++i) {
      if (!MatchesFilter(records[i].catId, records[i].name)) continue;
      AddRow(static_cast<LPARAM>(i), RowOf(i));
      progress.RowAdded();
    }
  });
}

// The tests add records between fills, which moves them: a row names its record by position.
const void* TestView::RowOf(size_t index) {
  return reinterpret_cast<const void*>(index + 1);
}

const TestRecord* TestView::RecordOf(const void* row) const {
  const size_t index = reinterpret_cast<size_t>(row) - 1;
  return index < records.size() ? &records[index] : nullptr;
}

WString TestView::CellOf(const void* row, uint8_t id) const {
  const TestRecord* record = RecordOf(row);
  if (!record) return WString();
  if (id == 30) return record->name;
  if (id == 29) {
    const WString* name = categories->NameById(record->catId);
    return name ? *name : WString();
  }
  return id == 0 ? record->number : WString();
}

void TestView::BuildColumns() {
  BuildColumnsFrom(5100, [](uint8_t id) { return id <= 28 || id == 32; });  // the number columns
}

bool TestView::IsCategoryUsed(uint32_t categoryId) {
  return std::any_of(records.begin(), records.end(),
                     [&](const TestRecord& r) { return r.catId == categoryId; });
}

bool TestView::Load(ProgressWindow* progressWindow, int fromPercent, int toPercent) {
  PrepareLoad();
  if (throwOnLoad) throw std::bad_alloc();
  DataLockGuard lock;
  XMLDoc doc;
  bool finished = false;
  if (doc.Load(workPath) && doc.FindRoot(TXT("TESTLIST"))) {
    TestRecord record;
    while (const WChar* tag = doc.NextTag()) {
      ReportLoadProgress(progressWindow, fromPercent, toPercent, doc);
      const WString name(tag);
      if (name == TXT("TESTLIST") && doc.IsEndTag()) {
        finished = true;
        break;
      }
      if (name == TXT("VIEW") && !doc.IsEndTag()) {
        ReadViewSettings(doc);
      } else if (name == TXT("ITEM")) {
        if (doc.IsEndTag()) records.push_back(record);
        record = TestRecord();
      } else if (name == TXT("CAT")) {
        record.catId = static_cast<uint32_t>(ParseInt(doc.ReadValue(tag)));
      } else if (name == TXT("NAME")) {
        record.name = XMLUnescape(doc.ReadValue(tag));
      } else if (name == TXT("NUM")) {
        record.number = XMLUnescape(doc.ReadValue(tag));
      }
    }
  }
  FillCategorySelector();
  return finished;
}

bool TestView::Save() {
  DataLockGuard lock;
  SetEvent(saveStarted);
  Sleep(static_cast<DWORD>(saveDelay.load()));
  XMLDoc doc;
  doc.OpenElement(TXT("TESTLIST"));
  WriteViewSettings(doc);
  for (size_t i = 0; i < records.size(); ++i) {
    ReportSaveProgress(i, records.size());
    doc.OpenElement(TXT("ITEM"));
    doc.WriteUInt(TXT("CAT"), records[i].catId);
    doc.WriteString(TXT("NAME"), records[i].name);
    doc.WriteString(TXT("NUM"), records[i].number);
    doc.CloseElement();
  }
  doc.CloseElement();
  const bool saved = WriteWorkFile(doc);
  saves.push_back({GetCurrentThreadId(), records.size(), IsExchange(), workPath});
  if (saved && !IsExchange()) modified = false;
  return saved;
}
