// The view's catalog file under Wine: the VIEW element, opening with and without a backup, the
// read-only attribute, saving in the background or at once under the data lock, the export and
// import workers, and Restore from Backup.
#include "ViewTestSupport.h"
#include "food/CategoryList.h"
#include "resource.h"
#include "storage/XMLDoc.h"

namespace view_test {
namespace {

const WString kSettings =
    L"<TESTLIST>\r\n<VIEW>\r\n<COLS>30,0,31</COLS>\r\n<COLWIDTHS>-1,-1,120</COLWIDTHS>\r\n"
    L"<SORTCOL>2</SORTCOL>\r\n<SORTREVERSE>1</SORTREVERSE>\r\n<SELECTEDCATEGORY>7</SELECTEDCATEGORY>\r\n"
    L"<SELECTEDLETTER>2</SELECTEDLETTER>\r\n<CATEGORIES>\r\n<CATEGORY>\r\n<NAME>Fruit &amp; Nuts</NAME>\r\n"
    L"<ID>7</ID>\r\n</CATEGORY>\r\n</CATEGORIES>\r\n</VIEW>\r\n</TESTLIST>\r\n";

// Catalog text with a VIEW element holding `view` and one ITEM per name.
WString Catalog(const WString& view, std::initializer_list<const wchar_t*> names) {
  WString text = L"<TESTLIST>\r\n<VIEW>\r\n" + view + L"</VIEW>\r\n";
  for (const wchar_t* name : names) text += L"<ITEM>\r\n<NAME>" + WString(name) + L"</NAME>\r\n</ITEM>\r\n";
  return text + L"</TESTLIST>\r\n";
}

class SettingsTest : public ViewTest {
 protected:
  // Reads the VIEW element of `text` as Load does, right after its start tag.
  void Read(const WString& text) {
    doc_.SetText(text);
    while (const WChar* tag = doc_.NextTag()) {
      if (WString(tag) == L"VIEW") break;
    }
    view_.ReadViewSettings(doc_);
  }
  WString Written() const {
    XMLDoc out;
    out.OpenElement(L"TESTLIST");
    view_.WriteViewSettings(out);
    out.CloseElement();
    return out.Output();
  }
  std::tuple<int, bool, uint32_t> Sort() const {
    return {view_.sortColumn, view_.sortReverse, view_.selectedLetter};
  }
  XMLDoc doc_;
};

TEST_F(SettingsTest, ReadsEveryChildAndWritesTheSameBytesCategoryIdsOnlyRaiseTheIdCounterFindKeepsMarkup) {
  Read(kSettings);
  EXPECT_EQ(std::tuple(view_.columns, view_.columnWidths, Sort(), view_.selectedCategory, view_.lastId),
            std::tuple(std::vector<uint8_t>{30, 0, 31}, std::vector<int32_t>{-1, -1, 120},
                       std::tuple(2, true, 2u), 7u, 7u));
  ASSERT_NE(view_.categories->NameById(7), nullptr);
  EXPECT_EQ(std::tuple(*view_.categories->NameById(7), Written()), std::tuple(L"Fruit & Nuts", kSettings));
  view_.lastId = 50;
  Read(kSettings);
  EXPECT_EQ(view_.lastId, 50u);

  // The find text keeps its markup characters through a save and a read.
  view_.findText = L"M&M <small>";
  const WString written = Written();
  EXPECT_NE(written.find(L"<FIND>M&amp;M &lt;small&gt;</FIND>"), WString::npos);
  view_.findText.clear();
  Read(written);
  EXPECT_EQ(view_.findText, L"M&M <small>");
}

// Children come in any order, unknown ones are skipped and reading stops at the end tag.
TEST_F(SettingsTest, ElementsInAnyOrderOrWithoutAValueKeepTheFieldsALetterNotOfferedMeansAllZerosAreEmpty) {
  Read(
      L"<TESTLIST>\r\n<VIEW>\r\n<SELECTEDLETTER>3</SELECTEDLETTER>\r\n<EXTRA>5</EXTRA>\r\n"
      L"<SORTCOL>4</SORTCOL>\r\n</VIEW>\r\n<SORTCOL>9</SORTCOL>\r\n</TESTLIST>\r\n");
  EXPECT_EQ(Sort(), std::tuple(4, false, 3u));
  EXPECT_EQ(view_.columns, (std::vector<uint8_t>{30, 29, 0}));  // no COLS: the defaults stay
  const WChar* next = doc_.NextTag();
  ASSERT_NE(next, nullptr);
  EXPECT_EQ(WString(next), L"SORTCOL");

  std::tie(view_.sortColumn, view_.sortReverse, view_.selectedLetter) = std::tuple(3, true, 4u);
  Read(
      L"<TESTLIST>\r\n<VIEW>\r\n<COLS></COLS>\r\n<COLWIDTHS></COLWIDTHS>\r\n<SORTCOL></SORTCOL>\r\n"
      L"<SORTREVERSE></SORTREVERSE>\r\n<SELECTEDLETTER></SELECTEDLETTER>\r\n</VIEW>\r\n</TESTLIST>\r\n");
  EXPECT_EQ(view_.columns, (std::vector<uint8_t>{30, 29, 0}));  // the defaults
  EXPECT_FALSE(view_.columnWidths.empty());
  EXPECT_EQ(Sort(), std::tuple(3, true, 4u));

  for (const auto& [letter, read] : {std::pair{L"27", 0u}, {L"4000000000", 0u}, {L"-1", 0u}, {L"26", 26u}}) {
    view_.selectedLetter = 5;
    Read(L"<TESTLIST>\r\n<VIEW>\r\n<SELECTEDLETTER>" + WString(letter) + L"</SELECTEDLETTER>\r\n</VIEW>\r\n");
    EXPECT_EQ(view_.selectedLetter, read) << ToUtf8(letter);
  }

  // Zero and empty values are written as empty elements.
  const WString zeros =
      L"<TESTLIST>\r\n<VIEW>\r\n<COLS/>\r\n<COLWIDTHS/>\r\n<SORTCOL/>\r\n<SORTREVERSE/>\r\n"
      L"<SELECTEDCATEGORY/>\r\n<SELECTEDLETTER/>\r\n<CATEGORIES>\r\n</CATEGORIES>\r\n</VIEW>\r\n</"
      L"TESTLIST>\r\n";
  std::tie(view_.sortColumn, view_.sortReverse, view_.selectedLetter) = std::tuple(3, true, 4u);
  Read(zeros);
  EXPECT_EQ(std::tuple(view_.columns.empty(), view_.columnWidths.empty(), Sort()),
            std::tuple(true, true, std::tuple(0, false, 0u)));
  EXPECT_EQ(Written(), zeros);
}

class CatalogTest : public ViewTest {
 protected:
  bool WaitForSaves(size_t count) {
    return WaitUntil([&] { return view_.saves.size() >= count; });
  }
  void Open(bool makeBackup = false) { view_.OpenCatalog(CatalogPath(), makeBackup, 0, 100, nullptr); }
  WString Backup() const { return CatalogPath() + L".bak"; }
  storage_test::ScriptedPrompts prompts_;
  DialogScripts dialogs_;
};

TEST_F(CatalogTest, OpenCatalogCopiesTheFileToItsBackupOnlyWhenAsked) {
  const WString text = Catalog(L"<COLS>30</COLS>\r\n", {L"apple", L"pear"});
  WriteText(CatalogPath(), text);
  EXPECT_TRUE(view_.OpenCatalog(CatalogPath(), false, 0, 100, nullptr));
  EXPECT_EQ(std::tuple(FileExists(Backup()), view_.records.size(), view_.readOnly, view_.CatalogPath()),
            std::tuple(false, 2u, false, CatalogPath()));

  view_.records.clear();
  EXPECT_TRUE(view_.OpenCatalog(CatalogPath(), true, 0, 100, nullptr));
  EXPECT_EQ(FileText(Backup()), text);
}

// A missing catalog is a new one that the first change creates. A damaged one, one whose reader
// fails and a read-only file are browsed read-only: never written over, no category added.
TEST_F(CatalogTest, ACatalogThatCannotBeWrittenIsBrowsedReadOnlyAndOnlyAMissingOneIsCreated) {
  const WString good = Catalog(L"", {L"apple"});
  const struct {
    const wchar_t* name;
    const wchar_t* text;  // null: no file
    bool throws, readOnlyFile, opens;
  } rows[] = {{L"missing", nullptr, false, false, false},
              {L"damaged", L"<TESTLIST>\r\n<ITEM>\r\n<NAME>apple", false, false, false},
              {L"throwing", good.c_str(), true, false, false},
              {L"read-only", good.c_str(), false, true, true}};
  for (const auto& row : rows) {
    SCOPED_TRACE(ToUtf8(row.name));
    const WString path = folder_ / row.name;
    if (row.text) WriteText(path, row.text);
    if (row.readOnlyFile) SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY);
    view_.readOnly = false;
    view_.throwOnLoad = row.throws;
    EXPECT_EQ(view_.OpenCatalog(path, !row.readOnlyFile, 0, 100, nullptr), row.opens);
    view_.throwOnLoad = false;
    EXPECT_EQ(view_.readOnly, row.text != nullptr);
    EXPECT_EQ(FileExists(path + L".bak"), false);
    view_.modified = true;  // a find text typed, say
    view_.SaveIfModified(true);
    view_.UpdateStatus();
    if (row.text) {
      EXPECT_EQ(FileText(path), row.text);
      EXPECT_TRUE(view_.saves.empty());
      EXPECT_EQ(status_.Text(1), L"Read-only");
      view_.AddCategory();
      EXPECT_EQ(dialogs_.Opened(IDD_CATEGORY), 0);
    } else {
      EXPECT_TRUE(FileExists(path));
      view_.saves.clear();
    }
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  }
}

TEST_F(CatalogTest, SavingTakesTheColumnWidthsBackAndWritesTheCatalogFile) {
  Open();
  LayOut();
  view_.BuildColumns();
  view_.modified = false;
  view_.SaveIfModified(true);
  EXPECT_TRUE(view_.saves.empty());  // nothing changed

  view_.List().SetColumnWidth(0, 123);
  view_.workPath = folder_ / L"Export.xml";
  view_.SaveIfModified(true);
  EXPECT_EQ(view_.columnWidths[30], 123);
  ASSERT_EQ(view_.saves.size(), 1u);
  const auto& save = view_.saves[0];
  EXPECT_EQ(std::tuple(save.thread, save.path, save.exchange, view_.modified),
            std::tuple(GetCurrentThreadId(), CatalogPath(), false, false));
  EXPECT_NE(FileText(CatalogPath()).find(L"<COLWIDTHS>"), WString::npos);
}

// A synchronous save waits for the background save.
TEST_F(CatalogTest, ABackgroundSaveWritesOnlyAfterTheLockIsReleasedASynchronousOneWaitsForIt) {
  Open();
  {
    DataLockGuard lock;
    view_.modified = true;
    view_.SaveIfModified(false);
    Sleep(200);
    EXPECT_TRUE(view_.saves.empty());
    view_.records.push_back({0, L"late", L""});  // committed before the save may write
  }
  ASSERT_TRUE(WaitForSaves(1));
  EXPECT_EQ(std::tuple(view_.saves[0].thread != GetCurrentThreadId(), view_.saves[0].records),
            std::tuple(true, 1u));
  EXPECT_NE(FileText(CatalogPath()).find(L"<NAME>late</NAME>"), WString::npos);

  ResetEvent(view_.saveStarted);
  view_.saveDelay = 300;
  view_.modified = true;
  view_.SaveIfModified(false);
  ASSERT_EQ(WaitForSingleObject(view_.saveStarted, 5000), WAIT_OBJECT_0);
  view_.saveDelay = 0;
  view_.SaveIfModified(true);
  // Returning required the lock, so the background save had finished.
  ASSERT_GE(view_.saves.size(), 2u);
  EXPECT_NE(view_.saves[1].thread, GetCurrentThreadId());
}

// Restore is refused without a backup and on a read-only catalog. After a restore the list and the
// selectors show the same filter.
TEST_F(CatalogTest, RestoreAsksThenReplacesTheCatalogWithItsBackupAndItsFilterUnlessNoneOrReadOnly) {
  WriteText(CatalogPath(), Catalog(L"", {L"apple", L"pear"}));
  Open();
  view_.BuildColumns();
  view_.records.push_back({0, L"since", L""});
  view_.modified = true;
  view_.SaveIfModified(true);
  view_.RestoreBackup();  // no backup yet
  WriteText(Backup(), Catalog(L"<SELECTEDLETTER>2</SELECTEDLETTER>\r\n", {L"apple", L"banana", L"bread"}));
  view_.readOnly = true;
  view_.RestoreBackup();
  view_.readOnly = false;
  EXPECT_EQ(std::tuple(prompts_.questions.size(), dialogs_.Opened(IDD_PROGRESS), view_.records.size()),
            std::tuple(0u, 0, 3u));

  prompts_.answers = {Prompt::kAnswerNo};
  view_.RestoreBackup();
  EXPECT_EQ(std::tuple(prompts_.questions.size(), std::get<0>(Question(prompts_, 0)),
                       std::get<2>(Question(prompts_, 0)), view_.records.size()),
            std::tuple(1u, app_.String(4601), MB_YESNO | MB_ICONQUESTION, 3u));

  prompts_.answers = {Prompt::kAnswerYes};
  const size_t saves = view_.saves.size();
  view_.RestoreBackup();
  EXPECT_EQ(std::tuple(dialogs_.Opened(IDD_PROGRESS), view_.records.size(), view_.List().ItemCount()),
            std::tuple(1, 3u, 3));
  EXPECT_EQ(view_.selectedLetter, view_.letterCombo.SelectedId());
  ASSERT_TRUE(WaitForSaves(saves + 1));
  EXPECT_EQ(std::tuple(view_.saves.back().path, FileText(CatalogPath()).find(L"since")),
            std::tuple(CatalogPath(), WString::npos));
}

// An export writes the work file and leaves the catalog modified, but never onto the catalog or its
// backup; an import adds and marks it.
TEST_F(CatalogTest, ExportAndImportWorkBehindTheProgressWindowAnExportOntoTheCatalogIsRefused) {
  const WString text = Catalog(L"", {L"apple", L"pear"});
  WriteText(CatalogPath(), text);
  WriteText(Backup(), text);
  Open();
  view_.records.resize(1);
  view_.modified = true;
  WString shouting = CatalogPath();
  for (WChar& c : shouting) c = static_cast<WChar>(towupper(c));
  const WString roundabout = folder_ / L"sub\\..\\Test.xml";
  for (const WString& target : {CatalogPath(), shouting, roundabout, Backup()}) {
    SCOPED_TRACE(ToUtf8(target));
    prompts_.answers = {Prompt::kAnswerOk};
    EXPECT_FALSE(view_.StartExport(4505, target));
    ASSERT_EQ(prompts_.questions.size(), 1u);
    EXPECT_EQ(prompts_.questions[0].text, app_.String(IDS_VIEW_EXPORT_TO_CATALOG));
    prompts_.questions.clear();
  }
  EXPECT_EQ(std::tuple(dialogs_.Opened(IDD_PROGRESS), view_.saves.size(), FileText(CatalogPath()),
                       FileText(Backup())),
            std::tuple(0, 0u, text, text));
  // The export dialog starts beside the catalog under another name, then at the last export.
  EXPECT_TRUE(IsSameFile(view_.ExportSuggestion(L".csv"), folder_ / L"Test export.csv"));
  EXPECT_TRUE(view_.StartExport(4505, folder_ / L"Export.xml"));
  EXPECT_EQ(view_.ExportSuggestion(L".csv"), folder_ / L"Export.xml");
  ASSERT_EQ(view_.saves.size(), 1u);
  EXPECT_EQ(std::tuple(dialogs_.Opened(IDD_PROGRESS), view_.saves[0].thread != GetCurrentThreadId(),
                       view_.saves[0].exchange, view_.workPath, view_.modified),
            std::tuple(1, true, true, CatalogPath(), true));
  EXPECT_EQ(FileText(folder_ / L"Export.xml").find(L"pear"), WString::npos);
  EXPECT_NE(FileText(folder_ / L"Export.xml").find(L"apple"), WString::npos);

  view_.modified = false;
  WriteText(folder_ / L"Import.xml", Catalog(L"", {L"pear", L"plum"}));
  EXPECT_TRUE(view_.StartImport(4512, folder_ / L"Import.xml"));
  EXPECT_EQ(std::tuple(dialogs_.Opened(IDD_PROGRESS), view_.records.size(), view_.modified, view_.workerMode),
            std::tuple(2, size_t{3}, true, false));
}

TEST_F(CatalogTest, AFailedSaveKeepsTheOldFileAndTheChangesAndTellsTheUserOnce) {
  const WString text = Catalog(L"", {L"apple"});
  WriteText(CatalogPath(), text);
  Open();
  view_.records.push_back({0, L"pear", L""});
  LimitWrites(20);  // the disk fills up halfway through the save
  for (int attempt = 0; attempt < 2; ++attempt) {
    view_.modified = true;
    prompts_.answers = {Prompt::kAnswerOk};
    view_.SaveIfModified(false);
    view_.WaitForBackgroundSaves();
    // The message comes through this thread's message loop.
    MSG message;
    for (int i = 0; i < 20; ++i, Sleep(5))
      while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  }
  LimitWrites(kUnlimitedWrites);
  ASSERT_EQ(prompts_.questions.size(), 1u);
  const WString& message = prompts_.questions[0].text;
  EXPECT_NE(message.find(CatalogPath()), WString::npos);
  EXPECT_NE(message.find(DAVavador::SystemMessage(ERROR_DISK_FULL)), WString::npos);
  EXPECT_EQ(std::tuple(FileText(CatalogPath()), view_.modified), std::tuple(text, true));

  view_.SaveIfModified(true);  // the disk has room again
  EXPECT_FALSE(view_.modified);
  EXPECT_NE(FileText(CatalogPath()).find(L"pear"), WString::npos);
  EXPECT_EQ(folder_.Names(), std::vector<WString>{L"Test.xml"});
}

}  // namespace
}  // namespace view_test
