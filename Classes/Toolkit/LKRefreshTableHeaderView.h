#pragma once

#include <chrono>
#include <memory>
#include <string>

#include "Classes/Toolkit/LKPullIndicator.h"
#include "Classes/Toolkit/LKPullState.h"
#include "Classes/Toolkit/LKRefreshTableHeaderDelegate.h"
#include "Platform/UI/ActivityIndicatorView.h"
#include "Platform/UI/ImageView.h"
#include "Platform/UI/Label.h"
#include "Platform/UI/ScrollView.h"

namespace lk {

// The header above a list's first row that refreshes the list when it is pulled down far enough
// and let go. It is placed above the content at (0, -H, W, H).
class LKRefreshTableHeaderView : public ui::View {
 public:
  static constexpr double kTriggerDistance = 65;
  static constexpr double kLoadingInset = 60;
  // The user-defaults key of the last-updated line.
  static constexpr const char* kLastRefreshKey = "LKRefreshTableView_LastRefresh";

  explicit LKRefreshTableHeaderView(ui::Rect frame);

  // Not retained: the list screen, which must outlive the header or clear it.
  LKRefreshTableHeaderDelegate* delegate = nullptr;
  std::string downText;
  std::string releaseText;
  std::string loadingText;

  [[nodiscard]] int state() const { return state_; }
  void setState(int state);
  // Shows "Last Updated: <date>" from the delegate (and stores the line), or empties the line.
  void refreshLastUpdatedDate();
  void refreshScrollViewDidScroll(ui::ScrollView& scrollView);
  void refreshScrollViewDidEndDragging(ui::ScrollView& scrollView);
  void refreshScrollViewDataSourceDidFinishedLoading(ui::ScrollView& scrollView);

  // "MM/dd/yyyy hh:mm:a" in local time, with "AM" and "PM".
  static std::string formatDate(std::chrono::system_clock::time_point when);

  [[nodiscard]] const std::shared_ptr<ui::Label>& lastUpdatedLabel() const {
    return lastUpdatedLabel_;
  }
  [[nodiscard]] const std::shared_ptr<ui::Label>& statusLabel() const {
    return indicator_.statusLabel();
  }
  [[nodiscard]] const std::shared_ptr<ui::ImageView>& arrowImage() const {
    return indicator_.arrowImage();
  }
  [[nodiscard]] const std::shared_ptr<ui::ActivityIndicatorView>& activityView() const {
    return indicator_.activityView();
  }

 private:
  bool isDelegateLoading();

  int state_ = kLKPullNormal;
  // Declared in the order they are added to the view: the last-updated line lies below the rest.
  std::shared_ptr<ui::Label> lastUpdatedLabel_;
  LKPullIndicator indicator_;
};

}  // namespace lk
