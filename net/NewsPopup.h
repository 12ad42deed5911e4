#pragma once
// The news pop-up: at startup, at most once a day, the news document of the vendor's web server;
// a message not shown before appears in the news window unless the user hid these messages.
#include "app/Options.h"
#include "net/UpdateCheck.h"

class NewsPopup : public NewsPopupSetting {
 public:
  NewsPopup(const DAVavador::ERApp& app, UpdateSite site) : app_(app), site_(std::move(site)) {}

  // "HintShow": shown unless it reads as 0.
  bool NewsShown() const override;
  void SetNewsShown(bool shown) override;

  // The startup check; blocks while the document downloads. Failures are silent. True when a
  // message was shown.
  bool NewsCheck();
  // The news window with `message` in the HTML subset.
  void ShowNews(const WString& message);

 private:
  bool Fetch(WString& text) const;

  const DAVavador::ERApp& app_;
  UpdateSite site_;
};
