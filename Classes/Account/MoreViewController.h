#pragma once

#include <memory>
#include <optional>
#include <string>

#include "Classes/Records/Subscription.h"
#include "Classes/Search/LKPickerDelegate.h"
#include "Classes/Toolkit/LKTableViewController.h"
#include "Platform/UI/ActionSheetDelegate.h"

namespace lk {

class LKPickerViewController;

namespace ui {
class ActionSheet;
}

// "更多": switching the city, feedback, "about", and logging out (or, with nobody logged in,
// the recently viewed shops). The root of the "更多" tab, or pushed from the user centre while
// the tab bar has no room for that tab.
class MoreViewController : public LKTableViewController,
                           public LKPickerDelegate,
                           private ui::ActionSheetDelegate {
 public:
  static constexpr const char* kTitle = "更多";
  static constexpr const char* kSwitchCity = "切换城市";
  static constexpr const char* kFeedback = "意见反馈";
  static constexpr const char* kAbout = "关于我们";
  static constexpr const char* kLogout = "注销";
  static constexpr const char* kBrowseHistory = "我最近浏览的商户";
  static constexpr const char* kLogoutQuestion = "确定要注销吗";
  static constexpr const char* kCancelTitle = "取消";
  static constexpr int kRowCount = 4;

  MoreViewController();
  ~MoreViewController() override;

  // What row `row` reads now (row 3 follows the login).
  [[nodiscard]] static std::string rowTitle(int row);
  [[nodiscard]] const std::shared_ptr<ui::ActionSheet>& logoutSheet() const { return logoutSheet_; }

  // The rows' actions.
  void switchCity();
  void openFeedback();
  void openAbout();
  void askLogout();
  void openBrowseHistory();

  void pickerControllerPickData(LKPickerViewController& picker,
                                const std::shared_ptr<LKObject>& data) override;
  void pickerControllerCancelled(LKPickerViewController& picker) override;

  void viewDidLoad() override;
  void viewDidUnload() override;

  int tableViewNumberOfRowsInSection(ui::TableView& tableView, int section) override;
  std::shared_ptr<ui::TableViewCell> tableViewCellForRowAtIndexPath(ui::TableView& tableView,
                                                                    ui::IndexPath ip) override;
  void tableViewDidSelectRowAtIndexPath(ui::TableView& tableView, ui::IndexPath ip) override;

 private:
  void actionSheetClickedButtonAtIndex(ui::ActionSheet& sheet, int index) override;
  void logout();
  void push(const std::shared_ptr<ui::ViewController>& screen);

  std::shared_ptr<ui::ActionSheet> logoutSheet_;
  Subscription ssidSubscription_;
};

}  // namespace lk
