#pragma once

#include <memory>
#include <string>

#include "Platform/UI/ActivityIndicatorView.h"
#include "Platform/UI/Image.h"
#include "Platform/UI/ImageView.h"
#include "Platform/UI/Label.h"
#include "Platform/UI/View.h"

namespace lk {

// The status line, arrow and spinner of a pull-to-load view, and how each pull state shows on
// them. The refresh header and footer differ only in where these sit and which way they are
// pulled.
class LKPullIndicator {
 public:
  // Adds the three parts to `host` at the given frames.
  LKPullIndicator(ui::View& host, ui::Rect statusFrame, ui::Image arrow, ui::Rect arrowFrame,
                  ui::Rect activityFrame);

  // Shows `state`, reached from `previous`, with the status text of that state. Returns false,
  // changing nothing, for a value that is no pull state.
  bool show(int state, int previous, const std::string& normalText, const std::string& releaseText,
            const std::string& loadingText);

  // The state a drag `distance` past the resting edge leads to from `state`: pulled beyond
  // `triggerDistance` it would load when released, back inside it would not. Unchanged while the
  // list is already loading.
  static int draggedState(int state, double distance, double triggerDistance, bool loading);

  // The small gray, centred, embossed line of the pull views.
  static std::shared_ptr<ui::Label> grayLabel(ui::Rect frame, ui::Font font);

  [[nodiscard]] const std::shared_ptr<ui::Label>& statusLabel() const { return statusLabel_; }
  [[nodiscard]] const std::shared_ptr<ui::ImageView>& arrowImage() const { return arrowImage_; }
  [[nodiscard]] const std::shared_ptr<ui::ActivityIndicatorView>& activityView() const {
    return activityView_;
  }

 private:
  std::shared_ptr<ui::Label> statusLabel_;
  std::shared_ptr<ui::ImageView> arrowImage_;
  std::shared_ptr<ui::ActivityIndicatorView> activityView_;
};

}  // namespace lk
