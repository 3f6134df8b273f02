#pragma once

#include <memory>
#include <vector>

#include "Platform/UI/Button.h"
#include "Platform/UI/View.h"

namespace lk {

class Channel;
class HotChannelViewDelegate;

// The panel of category buttons above the hot districts: one picture button per category
// ("firstpage_channel_<id>", "firstpage_channel_<id>_clicked" while pressed), laid out fanwise.
class HotChannelView : public ui::View {
 public:
  static constexpr double kHeight = 160;
  static constexpr int kColumns = 4;

  HotChannelView(ui::Rect frame, std::vector<std::shared_ptr<Channel>> items);
  ~HotChannelView() override;

  HotChannelViewDelegate* delegate = nullptr;  // not owned

  [[nodiscard]] const std::vector<std::shared_ptr<Channel>>& items() const { return items_; }
  [[nodiscard]] const std::vector<std::shared_ptr<ui::Button>>& buttons() const { return buttons_; }
  [[nodiscard]] static ui::Rect itemRectWithIndex(int index);
  [[nodiscard]] static double itemAngleWithIndex(int index);
  // Puts the buttons into their places.
  void show();

 private:
  std::vector<std::shared_ptr<Channel>> items_;
  std::vector<std::shared_ptr<ui::Button>> buttons_;
};

}  // namespace lk
