#pragma once

#include <memory>
#include <string>

#include "Platform/UI/Button.h"
#include "Platform/UI/TextView.h"
#include "Platform/UI/View.h"

namespace lk {

class ShopInfo;

// The shop's opening hours, services and directions over the whole window, on dimmed black.
// The close button or any tap on it hides it.
class ShopInfoPopupView : public ui::View {
 public:
  static constexpr double kFadeSeconds = 0.3;

  explicit ShopInfoPopupView(const ShopInfo& shop);

  // "营业时间: …", "特色服务: …, …", "交通信息: …", blank lines between those present.
  [[nodiscard]] static std::string extraContent(const ShopInfo& shop);

  // Adds the popup to the key window and fades it in; hide fades it out and removes it.
  void show();
  void hide();

  [[nodiscard]] const std::shared_ptr<ui::TextView>& textView() const { return textView_; }

 private:
  std::shared_ptr<ui::TextView> textView_;
  std::shared_ptr<ui::Button> closeButton_;
};

}  // namespace lk
