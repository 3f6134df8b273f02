#pragma once

namespace lk::ui {

class AlertView;

// Told what happened to an alert. Every callback is optional.
class AlertViewDelegate {
 public:
  AlertViewDelegate() = default;
  AlertViewDelegate(const AlertViewDelegate&) = delete;
  AlertViewDelegate& operator=(const AlertViewDelegate&) = delete;
  virtual ~AlertViewDelegate() = default;

  virtual void alertViewClickedButtonAtIndex(AlertView& /*alert*/, int /*index*/) {}
  virtual void alertViewWillDismissWithButtonIndex(AlertView& /*alert*/, int /*index*/) {}
  virtual void alertViewDidDismissWithButtonIndex(AlertView& /*alert*/, int /*index*/) {}
};

}  // namespace lk::ui
