#include "net/NewsPopup.h"
#include "net/InternetHandle.h"

#include <wininet.h>

#include "net/RegistrySettings.h"
#include "net/UpdateSchedule.h"
#include "resource.h"
#include "richtext/ERHTML2RTF.h"
#include "toolkit/ERApp.h"

namespace {

constexpr const wchar_t* kShowValue = L"HintShow";
constexpr const wchar_t* kLastDayValue = L"LastHint";
constexpr const wchar_t* kLastDateValue = L"HintDate";
constexpr size_t kReservedUnits = 128 * 1024;

struct NewsWindow {
  const DAVavador::ERApp& app;
  const WString& message;
  NewsPopup& popup;
  DAVavador::ERHTML2RTF text;
};

INT_PTR CALLBACK NewsDialogProc(HWND dialog, UINT message, WPARAM wp, LPARAM lp) {
  auto* window = reinterpret_cast<NewsWindow*>(GetWindowLongPtrW(dialog, DWLP_USER));
  if (message == WM_INITDIALOG) {
    window = reinterpret_cast<NewsWindow*>(lp);
    SetWindowLongPtrW(dialog, DWLP_USER, lp);
    SetWindowTextW(dialog, window->app.ProductName().c_str());
    RECT client;
    GetClientRect(dialog, &client);
    if (!window->text.CreateAt(dialog, IDC_NEWS_TEXT, 10, 10, client.right - 20, client.bottom - 55)) {
      EndDialog(dialog, IDCANCEL);
      return TRUE;
    }
    window->text.SetText(window->message);
    return TRUE;
  }
  if (message != WM_COMMAND || !window) return FALSE;
  if (LOWORD(wp) != IDC_NEWS_CLOSE && LOWORD(wp) != IDCANCEL) return FALSE;
  if (IsDlgButtonChecked(dialog, IDC_NEWS_HIDE) == BST_CHECKED) window->popup.SetNewsShown(false);
  EndDialog(dialog, IDOK);
  return TRUE;
}

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
  NewsWindow window{app_, message, *this, {}};
  app_.RunDialog(IDD_NEWS, &NewsDialogProc, reinterpret_cast<LPARAM>(&window));
}
