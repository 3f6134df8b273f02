#pragma once

#include <memory>

#include "Classes/Toolkit/LKNavigationController.h"

namespace lk {

namespace ui {
class Button;
class Label;
}  // namespace ui

// "关于我们": the operator's web address, which opens in the device's browser, and the version.
class AboutViewController : public LKNavigationController {
 public:
  static constexpr const char* kTitle = "关于我们";
  static constexpr const char* kWebsite = "www.quorza.example";
  static constexpr const char* kVersion = "1.0.0";
  static constexpr const char* kBackground = "about_background";

  AboutViewController();

  // Hands the web address to the system's browser.
  void accessWebsite();

  void loadView() override;

  [[nodiscard]] const std::shared_ptr<ui::Label>& websiteLabel() const { return websiteLabel_; }
  [[nodiscard]] const std::shared_ptr<ui::Button>& websiteButton() const { return websiteButton_; }
  [[nodiscard]] const std::shared_ptr<ui::Label>& versionLabel() const { return versionLabel_; }

 private:
  std::shared_ptr<ui::Label> websiteLabel_;
  std::shared_ptr<ui::Button> websiteButton_;
  std::shared_ptr<ui::Label> versionLabel_;
};

}  // namespace lk
