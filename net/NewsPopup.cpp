#include "net/NewsPopup.h"

#include "net/RegistrySettings.h"
#include "net/UpdateSchedule.h"
#include "resource.h"
#include "richtext/ERHTML2RTF.h"
#include "toolkit/ERApp.h"
#include "toolkit/ERDialog.h"

namespace {

constexpr const wchar_t* kShowValue = L"HintShow";
constexpr const wchar_t* kLastDayValue = L"LastHint";
constexpr const wchar_t* kLastDateValue = L"HintDate";
constexpr size_t kReservedUnits = 128 * 1024;
constexpr UINT kArrived = WM_APP + 1;
constexpr wchar_t kArrivalClass[] = L"MirepanNewsArrival";

HWND CreateArrivalWindow(WNDPROC proc) {
  static const ATOM registered = [proc] {
    WNDCLASSW type{};
    type.lpfnWndProc = proc;
    type.hInstance = GetModuleHandleW(nullptr);
    type.lpszClassName = kArrivalClass;
    return RegisterClassW(&type);
  }();
  if (!registered) return nullptr;
  return CreateWindowExW(0, kArrivalClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
}

class NewsDialog : public DAVavador::ERDialog {
 public:
  NewsDialog(const DAVavador::ERApp& app, const WString& message, NewsPopup& popup)
      : app_(app), message_(message), popup_(popup) {}

  void Run() { RunModal(app_, IDD_NEWS); }

 private:
  bool OnInit() override {
    SetWindowTextW(Dialog(), app_.ProductName().c_str());
    RECT client;
    GetClientRect(Dialog(), &client);
    if (!text_.CreateAt(Dialog(), IDC_NEWS_TEXT, 10, 10, client.right - 20, client.bottom - 55)) {
      End(IDCANCEL);
      return true;
    }
    text_.SetText(message_);
    return true;
  }

  // "Close" and Escape both close; the check box is read either way.
  bool OnCommand(int id, int) override {
    if (id != IDC_NEWS_CLOSE && id != IDCANCEL) return false;
    if (IsChecked(IDC_NEWS_HIDE)) popup_.SetNewsShown(false);
    End(IDOK);
    return true;
  }

  const DAVavador::ERApp& app_;
  const WString& message_;
  NewsPopup& popup_;
  DAVavador::ERHTML2RTF text_;
};

}  // namespace

bool NewsPopup::NewsShown() const {
  int32_t shown = 1;
  return !RegistrySettings(site_.settingsKey).ReadNumber(kShowValue, shown) || shown != 0;
}

void NewsPopup::SetNewsShown(bool shown) {
  RegistrySettings(site_.settingsKey).WriteText(kShowValue, shown ? TXT("1") : TXT("0"));
}

NewsPopup::NewsPopup(const DAVavador::ERApp& app, UpdateSite site)
    : app_(app), site_(std::move(site)), transfer_(site_.FolderUrl()) {}

NewsPopup::~NewsPopup() {
  Cancel();
  if (worker_.joinable()) worker_.join();
  if (arrival_) DestroyWindow(arrival_);
}

bool NewsPopup::NewsCheck() {
  if (Pending() || !NewsShown()) return false;
  RegistrySettings settings(site_.settingsKey);
  const WString today = HintDayText(CalendarDate::Now());
  WString lastDay;
  if (settings.ReadText(kLastDayValue, lastDay) && lastDay == today) return false;
  settings.WriteText(kLastDayValue, today);

  if (!arrival_ && (arrival_ = CreateArrivalWindow(&NewsPopup::ArrivalProc)))
    SetWindowLongPtrW(arrival_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  if (!arrival_) return false;
  transfer_.SetRequest(TXT("popup.xml"), WString());
  DAVavador::TransferRequest& request = transfer_.Request();
  request.agent = app_.ProductName();
  request.reportProgress = false;
  worker_ = std::thread([this] {
    fetched_ = transfer_.Download(transfer_.Request(), nullptr, 0, 0) == 0;
    PostMessageW(arrival_, kArrived, 0, 0);
  });
  return true;
}

LRESULT CALLBACK NewsPopup::ArrivalProc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
  auto* popup = reinterpret_cast<NewsPopup*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (msg != kArrived || !popup) return DefWindowProcW(window, msg, wp, lp);
  popup->Arrived();
  return 0;
}

void NewsPopup::Arrived() {
  if (!worker_.joinable()) return;
  worker_.join();
  if (!fetched_ || transfer_.Request().cancelled) return;
  WString text;
  text.reserve(kReservedUnits);
  const std::string& bytes = transfer_.Request().reply;
  AppendBytes(text, bytes.data(), bytes.size());
  const NewsDocument news = ReadNewsDocument(std::move(text));
  RegistrySettings settings(site_.settingsKey);
  WString lastDate;
  if (news.date.empty() || (settings.ReadText(kLastDateValue, lastDate) && lastDate == news.date)) return;
  settings.WriteText(kLastDateValue, news.date);
  ShowNews(news.message);
}

void NewsPopup::ShowNews(const WString& message) {
  NewsDialog(app_, message, *this).Run();
}
