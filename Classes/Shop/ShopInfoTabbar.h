#pragma once

#include <array>
#include <memory>

#include "Classes/Shop/ShopInfoTabbarDelegate.h"
#include "Platform/UI/Button.h"
#include "Platform/UI/View.h"

namespace lk {

// The shop screen's own bottom bar: post a broadcast, share, more. Sits at the bottom of the
// window (y 428) while the shop screen shows.
class ShopInfoTabbar : public ui::View {
 public:
  static constexpr const char* kButtonImages[3] = {"shopinfo_tab_broadcast", "shopinfo_tab_share",
                                                   "shopinfo_tab_more"};

  ShopInfoTabbar();

  // Must outlive the bar or be cleared.
  void setDelegate(ShopInfoTabbarDelegate* delegate) { delegate_ = delegate; }
  [[nodiscard]] const std::array<std::shared_ptr<ui::Button>, 3>& buttons() const {
    return buttons_;
  }

 private:
  ShopInfoTabbarDelegate* delegate_ = nullptr;
  std::array<std::shared_ptr<ui::Button>, 3> buttons_;
};

}  // namespace lk
