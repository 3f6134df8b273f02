#pragma once

#include <memory>
#include <optional>
#include <string>

#include "Platform/UI/AlertViewDelegate.h"

namespace lk {

namespace ui {
class AlertView;
}

// The one message box of the application: request failures by error code and the screens' own
// warnings. Only one box shows at a time; a request to show another while it is up is dropped.
// Main thread only.
class AlertCenter : private ui::AlertViewDelegate {
 public:
  static AlertCenter& sharedInstance();
  static void resetSharedInstanceForTesting();

  AlertCenter();
  AlertCenter(const AlertCenter&) = delete;
  AlertCenter& operator=(const AlertCenter&) = delete;
  ~AlertCenter() override;

  void showAlertWithTitle(const std::optional<std::string>& title,
                          const std::optional<std::string>& message);
  // The texts for the code of a failed request (a platform networking error or an HTTP status).
  void showAlertWithErrorCode(int code);

  struct Texts {
    std::optional<std::string> title;
    std::string message;
  };
  [[nodiscard]] static Texts textsForErrorCode(int code);

  [[nodiscard]] bool isShow() const { return isShow_; }
  [[nodiscard]] const std::shared_ptr<ui::AlertView>& sharedAlertView() const {
    return sharedAlertView_;
  }

 private:
  void alertViewDidDismissWithButtonIndex(ui::AlertView& alert, int index) override;

  std::shared_ptr<ui::AlertView> sharedAlertView_;
  bool isShow_ = false;
};

}  // namespace lk
