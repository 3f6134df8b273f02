#pragma once

#include <memory>
#include <string>

#include "Classes/Search/SearchResultsViewController.h"
#include "Platform/UI/ActionSheetDelegate.h"

namespace lk {

namespace ui {
class ActionSheet;
}

// The shops opened on this device, most recent first, as the search results draw them: the
// whole list at once, no request, no filter header, no add-shop row. "清空" forgets them.
class BrowseHistoryViewController : public SearchResultsViewController,
                                    private ui::ActionSheetDelegate {
 public:
  static constexpr const char* kTitle = "最近浏览";
  static constexpr const char* kCleanTitle = "清空";
  static constexpr const char* kCleanQuestion = "确定要清空浏览记录吗";
  static constexpr const char* kCancelTitle = "取消";

  BrowseHistoryViewController();
  ~BrowseHistoryViewController() override;

  // The list is complete: nothing to ask for.
  void searchRequest() override {}
  [[nodiscard]] std::string sectionTitle() const override;
  // Asks whether to forget the history.
  void clean();
  [[nodiscard]] const std::shared_ptr<ui::ActionSheet>& cleanSheet() const { return cleanSheet_; }

  void viewDidLoad() override;
  void viewWillAppear(bool animated) override;

 private:
  // The stored history, in its current order.
  void showHistory();
  void actionSheetClickedButtonAtIndex(ui::ActionSheet& sheet, int index) override;

  std::shared_ptr<ui::ActionSheet> cleanSheet_;
};

}  // namespace lk
