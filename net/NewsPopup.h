#pragma once
// The news pop-up: at startup, at most once a day, the news document of the vendor's web server;
// a message not shown before appears in the news window unless the user hid these messages.
#include <windows.h>

#include <thread>

#include "app/Options.h"
#include "net/ERXferHTTP.h"
#include "net/UpdateCheck.h"

class NewsPopup : public NewsPopupSetting {
 public:
  NewsPopup(const DAVavador::ERApp& app, UpdateSite site);
  // Ends a download still running; on the thread that made the object.
  ~NewsPopup() override;
  NewsPopup(const NewsPopup&) = delete;
  NewsPopup& operator=(const NewsPopup&) = delete;

  // "HintShow": shown unless it reads as 0.
  bool NewsShown() const override;
  void SetNewsShown(bool shown) override;

  // The startup check: the gate here, the download on a thread of its own, so that the program's
  // window stays alive meanwhile; a message not shown before appears once the document has arrived
  // and this thread's messages run. Failures are silent. False when the gate stopped it.
  bool NewsCheck();
  // A check started whose outcome this thread has not handled yet.
  bool Pending() const { return worker_.joinable(); }
  // Ends the download at once; nothing is shown.
  void Cancel() { transfer_.Cancel(); }
  // The news window with `message` in the HTML subset.
  void ShowNews(const WString& message);

 private:
  static LRESULT CALLBACK ArrivalProc(HWND window, UINT msg, WPARAM wp, LPARAM lp);
  // On this thread, once the worker is done: the document read and perhaps shown.
  void Arrived();

  const DAVavador::ERApp& app_;
  UpdateSite site_;
  DAVavador::ERXferHTTP transfer_;
  bool fetched_ = false;  // the worker's outcome, read once it has ended
  std::thread worker_;
  HWND arrival_ = nullptr;  // message-only: the worker posts its end to it
};
