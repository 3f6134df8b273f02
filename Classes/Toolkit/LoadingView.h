#pragma once

#include <memory>

#include "Platform/UI/ActivityIndicatorView.h"
#include "Platform/UI/Label.h"

namespace lk {

// The small "loading" overlay of a list's first page: a running spinner and a gray line.
class LoadingView : public ui::View {
 public:
  static constexpr const char* kText = "正在载入数据...";

  // The frame given is ignored: the overlay always sits at (90, 150), 140 × 40.
  explicit LoadingView(ui::Rect ignored = {});

  [[nodiscard]] const std::shared_ptr<ui::ActivityIndicatorView>& indicatorView() const {
    return indicatorView_;
  }
  [[nodiscard]] const std::shared_ptr<ui::Label>& label() const { return label_; }

 private:
  std::shared_ptr<ui::ActivityIndicatorView> indicatorView_;
  std::shared_ptr<ui::Label> label_;
};

}  // namespace lk
