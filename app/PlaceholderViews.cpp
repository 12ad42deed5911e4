#include "app/PlaceholderViews.h"

#include "app/DataLockGuard.h"
#include "food/CategoryList.h"
#include "food/TagNames.h"
#include "storage/XMLDoc.h"

PlaceholderView::PlaceholderView(DAVavador::ERApp& owner, DAVavador::ERStatusBar& statusBar,
                                 DAVavador::ERToolbar& toolbar, Options& options, const ViewTraits& traits,
                                 const WChar* rootName)
    : View(owner, statusBar, toolbar, options, traits),
      rootName(rootName),
      columnIdCount(traits.columnIdCount),
      firstCaption(traits.firstCaption) {
  categories = std::make_unique<CategoryList>();
}

void PlaceholderView::FillList() {
  FillRows(0, [](FillProgress&) {});
}

void PlaceholderView::BuildColumns() {
  BuildColumnsFrom(firstCaption, [](uint8_t) { return false; });
}

bool PlaceholderView::Load(ProgressWindow* progressWindow, int fromPercent, int toPercent) {
  PrepareLoad();
  DataLockGuard lock;
  XMLDoc doc;
  if (!doc.Load(workPath) || !doc.FindRoot(rootName)) return false;
  while (const WChar* tag = doc.NextTag()) {
    ReportLoadProgress(progressWindow, fromPercent, toPercent, doc);
    if (IsTag(tag, rootName) && doc.IsEndTag()) return true;
    if (IsTag(tag, TXT("VIEW")) && !doc.IsEndTag()) {
      ReadViewSettings(doc);
    } else {
      holdsRecords = true;
    }
  }
  return false;
}

bool PlaceholderView::Save() {
  DataLockGuard lock;
  if (holdsRecords) return true;
  XMLDoc doc;
  doc.OpenElement(rootName);
  WriteViewSettings(doc);
  doc.CloseElement();
  const bool saved = doc.Save(workPath);
  if (saved && !workerMode) modified = false;
  return saved;
}

PlaceholderRecipeList::PlaceholderRecipeList(DAVavador::ERApp& owner, DAVavador::ERStatusBar& statusBar,
                                             DAVavador::ERToolbar& toolbar, Options& options)
    : PlaceholderView(owner, statusBar, toolbar, options, ViewTraits{1, 40, 5100, 4906, {30, 29}},
                      TXT("RECIPELIST")) {}

PlaceholderDiary::PlaceholderDiary(DAVavador::ERApp& owner, DAVavador::ERStatusBar& statusBar,
                                   DAVavador::ERToolbar& toolbar, Options& options)
    : PlaceholderView(owner, statusBar, toolbar, options, ViewTraits{2, 34, 5200, 4308, {0, 1}},
                      TXT("DIARYLIST")) {}

PlaceholderShopList::PlaceholderShopList(DAVavador::ERApp& owner, DAVavador::ERStatusBar& statusBar,
                                         DAVavador::ERToolbar& toolbar, Options& options)
    : PlaceholderView(owner, statusBar, toolbar, options, ViewTraits{3, 1, 5500, 5409, {0}},
                      TXT("SHOPLISTLIST")) {}
