#pragma once

#include <memory>
#include <string>

#include "Classes/Toolkit/LKPullIndicator.h"
#include "Classes/Toolkit/LKPullState.h"
#include "Classes/Toolkit/LKRefreshTableFooterDelegate.h"
#include "Platform/UI/ActivityIndicatorView.h"
#include "Platform/UI/ImageView.h"
#include "Platform/UI/Label.h"
#include "Platform/UI/ScrollView.h"

namespace lk {

// The footer below a list's last row that loads the next page when the list is pulled up far
// enough and let go. It sits directly below the content; while loading it keeps the content
// inset so that it stays in view.
class LKRefreshTableFooterView : public ui::View {
 public:
  static constexpr double kTriggerDistance = 65;
  static constexpr double kLoadingInset = 60;

  explicit LKRefreshTableFooterView(ui::Rect frame);

  // Not retained: the list screen, which must outlive the footer or clear it.
  LKRefreshTableFooterDelegate* delegate = nullptr;
  std::string upText;
  std::string releaseText;
  std::string loadingText;

  [[nodiscard]] int state() const { return state_; }
  void setState(int state);
  void refreshLastUpdatedDate();
  void refreshScrollViewDidScroll(ui::ScrollView& scrollView);
  void refreshScrollViewDidEndDragging(ui::ScrollView& scrollView);
  void refreshScrollViewDataSourceDidFinishedLoading(ui::ScrollView& scrollView);

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
  LKPullIndicator indicator_;
};

}  // namespace lk
