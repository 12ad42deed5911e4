#include "net/RecipeSharing.h"

#include <wininet.h>

#include "app/ProgressWindow.h"
#include "food/CategoryList.h"
#include "food/Recipe.h"
#include "net/ERXferHTTP.h"
#include "net/HttpReader.h"
#include "net/SharingWire.h"
#include "net/TransferWindow.h"
#include "net/UpdateSchedule.h"
#include "resources/resource.h"
#include "storage/Files.h"
#include "storage/XMLDoc.h"
#include "toolkit/ERApp.h"
#include "toolkit/ERDialog.h"

const WChar kUploadFile[] = TXT("RecipeUpload.xml");
const WChar kDownloadFile[] = TXT("RecipeDownload.xml");

namespace {

constexpr UINT kMessageCaption = IDS_DISPLAY_NAME;
constexpr const wchar_t kFormHeader[] = L"Content-Type: application/x-www-form-urlencoded";
constexpr DWORD kFormHeaderLength = 47;
static_assert(sizeof kFormHeader / sizeof kFormHeader[0] == kFormHeaderLength + 1,
              "the header's length is sent");

// InternetConnectW takes a v6 address without its brackets.
WString ConnectHost(const ServerAddress& server) {
  const WString& host = server.host;
  if (host.size() > 2 && host.front() == '[' && host.back() == ']') return host.substr(1, host.size() - 2);
  return host;
}

}  // namespace

bool WriteSharedRecipe(const WString& path, const Recipe& recipe, const CategoryList& recipeCategories,
                       const CategoryList& ingredientCategories) {
  XMLDoc doc;
  doc.OpenElement(TXT("RECIPELIST"));
  doc.OpenElement(TXT("RECIPES"));
  recipe.WriteRecipeElement(doc, true, recipeCategories, ingredientCategories);
  doc.CloseElement();
  doc.CloseElement();
  return doc.Save(path);
}

UploadResult PostSharedRecipe(const ServerAddress& server, WStringView document, HANDLE cancel) {
  DAVavador::HttpReader reader(TXT("RecipeUpload"), cancel, DAVavador::kStallMs);
  const auto failed = [&reader](UploadResult result) {
    return reader.Error() == ERROR_CANCELLED ? UploadResult::Cancelled : result;
  };
  if (!reader.OpenPost(
          ConnectHost(server), server.port, TXT("/mirepan/uploadrecipe.php"),
          INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_UI | (server.secure ? INTERNET_FLAG_SECURE : 0)))
    return failed(UploadResult::NotConnected);
  if (!reader.Send(kFormHeader, UploadBody(document))) return failed(UploadResult::Failed);
  // One block of the reply: its first six characters decide.
  DWORD got = 0;
  if (!reader.ReadBlock(got)) return failed(UploadResult::Failed);
  return IsUploadAccepted(std::string_view(reader.Block(), got)) ? UploadResult::Accepted
                                                                 : UploadResult::Failed;
}

namespace {

// The upload as the worker of a progress window whose Cancel, or the main window's close, ends it.
class UploadJob {
 public:
  UploadJob(const ServerAddress& server, const WString& document)
      : server_(server), document_(document), cancel_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

  UploadResult Run(const DAVavador::ERApp& app) {
    ProgressWindow window(app);
    window_ = &window;
    window.Run(nullptr, IDS_UPLOADING_RECIPE, &Worker, this, &Cancel);
    return result_;
  }

 private:
  static DWORD WINAPI Worker(void* job) {
    auto* self = static_cast<UploadJob*>(job);
    self->result_ = PostSharedRecipe(self->server_, self->document_, self->cancel_.Get());
    self->window_->Finish(self->result_ != UploadResult::Accepted);
    return 0;
  }
  static void Cancel(void* job) { SetEvent(static_cast<UploadJob*>(job)->cancel_.Get()); }

  const ServerAddress& server_;
  const WString& document_;
  DAVavador::ScopedHandle cancel_;
  ProgressWindow* window_ = nullptr;
  UploadResult result_ = UploadResult::Failed;
};

}  // namespace

void UploadRecipe(const DAVavador::ERApp& app, const ServerAddress& server, const Recipe& recipe,
                  const CategoryList& recipeCategories, const CategoryList& ingredientCategories,
                  const WString& dataFolder) {
  const WString caption = app.String(kMessageCaption);
  if (app.ShowMessage(app.String(IDS_UPLOAD_QUESTION) + recipe.name, caption, MB_YESNO | MB_ICONQUESTION) !=
      IDYES)
    return;
  const WString path = dataFolder + kUploadFile;
  WString document;
  UploadResult result = UploadResult::Failed;
  if (WriteSharedRecipe(path, recipe, recipeCategories, ingredientCategories) &&
      FileHandle(path).ReadAllText(document)) {
    result = UploadJob(server, document).Run(app);
  }
  if (result != UploadResult::NotConnected && result != UploadResult::Cancelled) {
    const bool accepted = result == UploadResult::Accepted;
    app.ShowMessage(app.String(accepted ? IDS_UPLOAD_DONE : IDS_UPLOAD_FAILED), caption,
                    accepted ? MB_OK | MB_ICONINFORMATION : MB_OK | MB_ICONWARNING);
  }
  DeleteFileAt(path);
}

namespace {

// A search through the one bounded transfer: the address is the transfer's base up to the page,
// and the page with its query as the file.
class SearchTransfer {
 public:
  explicit SearchTransfer(const WString& address) : transfer_(address.substr(0, PageStart(address))) {
    transfer_.SetRequest(address.substr(PageStart(address)), WString());
    transfer_.Request().agent = TXT("RecipeDownload");
    transfer_.Request().maxBytes = DAVavador::kMaxListBytes;
  }

  // Behind a progress window over `owner` whose Cancel ends it, or right here without an owner.
  WString Run(const DAVavador::ERApp* app, HWND owner) {
    bool fetched = false;
    if (app) {
      ProgressWindow progress(*app);
      DAVavador::TransferWindow window(progress);
      fetched = transfer_.RunWithWindow(window, owner, IDS_DOWNLOADING_RECIPES);
    } else {
      fetched = transfer_.Download(transfer_.Request(), nullptr, 0, 0) == 0;
    }
    WString reply;
    const std::string& bytes = transfer_.Request().reply;
    if (fetched) AppendBytes(reply, bytes.data(), bytes.size());
    return reply;
  }

 private:
  // Where the page's name starts: after the last "/" before the query.
  static size_t PageStart(const WString& address) {
    const size_t slash = address.rfind('/', address.find('?'));
    return slash == WString::npos ? 0 : slash + 1;
  }

  DAVavador::ERXferHTTP transfer_;
};

}  // namespace

WString FetchSearchReply(const WString& address) {
  return SearchTransfer(address).Run(nullptr, nullptr);
}

// ---- the download dialog ----

namespace {

constexpr int kSinceButtons[] = {IDC_DOWNLOAD_SINCE_LAST, IDC_DOWNLOAD_SINCE_MONTH, IDC_DOWNLOAD_SINCE_WEEK,
                                 IDC_DOWNLOAD_SINCE_YESTERDAY, IDC_DOWNLOAD_ALL};

}  // namespace

bool RecipeDownloadDialog::Run() {
  chosen_.clear();
  return RunModal(app_, IDD_DOWNLOAD_RECIPES) == IDOK;
}

bool RecipeDownloadDialog::OnInit() {
  FillComboUnderAll(IDC_DOWNLOAD_CATEGORY, app_.String(IDS_ALL), categories_.Entries(), 0);
  CheckRadioButton(Dialog(), IDC_DOWNLOAD_SINCE_LAST, IDC_DOWNLOAD_ALL, IDC_DOWNLOAD_SINCE_LAST);
  DisableMoves();
  return true;
}

bool RecipeDownloadDialog::OnCommand(int id, int code) {
  switch (id) {
    case IDC_DOWNLOAD_FIND:
      Find();
      return true;
    case IDC_DOWNLOAD_AVAILABLE:
    case IDC_DOWNLOAD_SELECTED:
      if (code == LBN_SELCHANGE) SelectionChanged(id);
      if (code != LBN_DBLCLK || id != IDC_DOWNLOAD_AVAILABLE) return true;
      [[fallthrough]];
    case IDC_DOWNLOAD_ADD:
      MoveRow(IDC_DOWNLOAD_AVAILABLE, IDC_DOWNLOAD_SELECTED);
      EnableWindow(Item(IDC_DOWNLOAD_ADD), FALSE);
      EnableWindow(Item(IDOK), Message(IDC_DOWNLOAD_SELECTED, LB_GETCOUNT) > 0);
      return true;
    case IDC_DOWNLOAD_REMOVE:
      MoveRow(IDC_DOWNLOAD_SELECTED, IDC_DOWNLOAD_AVAILABLE);
      EnableWindow(Item(IDC_DOWNLOAD_REMOVE), FALSE);
      if (Message(IDC_DOWNLOAD_SELECTED, LB_GETCOUNT) == 0) EnableWindow(Item(IDOK), FALSE);
      return true;
    default:
      return false;
  }
}

bool RecipeDownloadDialog::OnOK() {
  const auto count = static_cast<int>(Message(IDC_DOWNLOAD_SELECTED, LB_GETCOUNT));
  for (int row = 0; row < count; ++row)
    chosen_.push_back(static_cast<int32_t>(Message(IDC_DOWNLOAD_SELECTED, LB_GETITEMDATA, row)));
  return true;
}

void RecipeDownloadDialog::DisableMoves() const {
  for (int id : {IDOK, IDC_DOWNLOAD_ADD, IDC_DOWNLOAD_REMOVE}) EnableWindow(Item(id), FALSE);
}

SearchSince RecipeDownloadDialog::ChosenSince() const {
  for (size_t i = 0; i < std::size(kSinceButtons); ++i)
    if (IsChecked(kSinceButtons[i])) return static_cast<SearchSince>(i);
  return SearchSince::LastDownload;
}

void RecipeDownloadDialog::Find() {
  const CalendarDate start = SearchStartDate(ChosenSince(), lastDownload_, CalendarDate::Now());
  const bool allCategories = Message(IDC_DOWNLOAD_CATEGORY, CB_GETCURSEL) <= 0;
  const WString category = allCategories ? WString() : ItemText(IDC_DOWNLOAD_CATEGORY);
  const WString reply = SearchTransfer(SearchAddress(server_, start, category, ItemText(IDC_DOWNLOAD_NAME)))
                            .Run(&app_, Dialog());
  Message(IDC_DOWNLOAD_AVAILABLE, LB_RESETCONTENT);
  if (reply.empty()) return;
  DisableMoves();
  for (const SharedRecipeListing& row : ParseSearchReply(reply))
    AddRow(IDC_DOWNLOAD_AVAILABLE, row.name, row.id);
}

void RecipeDownloadDialog::AddRow(int list, const WString& name, int32_t id) const {
  const LRESULT row = Message(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
  if (row >= 0) Message(list, LB_SETITEMDATA, static_cast<WPARAM>(row), static_cast<LPARAM>(id));
}

void RecipeDownloadDialog::MoveRow(int from, int to) const {
  const LRESULT row = Message(from, LB_GETCURSEL);
  if (row < 0) return;
  WString text(static_cast<size_t>(Message(from, LB_GETTEXTLEN, static_cast<WPARAM>(row))), 0);
  Message(from, LB_GETTEXT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(text.data()));
  AddRow(to, text, static_cast<int32_t>(Message(from, LB_GETITEMDATA, static_cast<WPARAM>(row))));
  Message(from, LB_DELETESTRING, static_cast<WPARAM>(row));
}

void RecipeDownloadDialog::SelectionChanged(int list) const {
  const bool available = list == IDC_DOWNLOAD_AVAILABLE;
  const bool selected = Message(list, LB_GETCURSEL) >= 0;
  EnableWindow(Item(available ? IDC_DOWNLOAD_ADD : IDC_DOWNLOAD_REMOVE), selected);
  EnableWindow(Item(available ? IDC_DOWNLOAD_REMOVE : IDC_DOWNLOAD_ADD), FALSE);
  Message(available ? IDC_DOWNLOAD_SELECTED : IDC_DOWNLOAD_AVAILABLE, LB_SETCURSEL, static_cast<WPARAM>(-1));
}

// ---- the background fetch ----

size_t FetchSharedRecipes(const ServerAddress& server, const std::vector<int32_t>& ids,
                          const WString& localPath, ProgressWindow* window, const ImportFetched& import) {
  DAVavador::ERXferHTTP transfer(server.Url(TXT("/mirepan/")));
  const size_t count = ids.size();
  size_t imported = 0;
  int reached = 0;
  for (size_t n = 1; n <= count; ++n) {
    const int next = static_cast<int>(n * 100 / (count + 1));
    transfer.SetRequest(TXT("downloadrecipe.php?id=") + FromAscii(std::to_string(ids[n - 1])), localPath);
    transfer.Request().reportProgress = false;
    transfer.Request().maxBytes = DAVavador::kMaxListBytes;
    if (transfer.Download(transfer.Request(), nullptr, static_cast<uint32_t>(reached),
                          static_cast<uint32_t>(next)) == 0) {
      import(reached, next);
      ++imported;
    } else if (window) {
      window->SetProgress(next);
    }
    reached = next;
  }
  return imported;
}
