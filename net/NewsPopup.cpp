#include "net/NewsPopup.h"
#include "net/InternetHandle.h"

#include <wininet.h>

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

bool NewsPopup::Fetch(WString& text) const {
  InternetHandle internet(
      InternetOpenW(app_.ProductName().c_str(), INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
  if (!internet) return false;
  const WString address = site_.FolderUrl() + TXT("popup.xml");
  InternetHandle url(InternetOpenUrlW(internet.Get(), address.c_str(), nullptr, 0, 0, 0));
  if (!url) return false;
  text.reserve(kReservedUnits);
  char block[4096];
  DWORD read = 0;
  while (InternetReadFile(url.Get(), block, sizeof block, &read) && read > 0) AppendBytes(text, block, read);
  return true;
}

bool NewsPopup::NewsCheck() {
  if (!NewsShown()) return false;
  RegistrySettings settings(site_.settingsKey);
  const WString today = HintDayText(CalendarDate::Now());
  WString lastDay;
  if (settings.ReadText(kLastDayValue, lastDay) && lastDay == today) return false;
  settings.WriteText(kLastDayValue, today);

  WString text;
  if (!Fetch(text)) return false;
  const NewsDocument news = ReadNewsDocument(std::move(text));
  WString lastDate;
  if (news.date.empty() || (settings.ReadText(kLastDateValue, lastDate) && lastDate == news.date))
    return false;
  settings.WriteText(kLastDateValue, news.date);
  ShowNews(news.message);
  return true;
}

void NewsPopup::ShowNews(const WString& message) {
  NewsDialog(app_, message, *this).Run();
}
