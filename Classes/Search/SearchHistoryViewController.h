#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Classes/Records/Area.h"
#include "Classes/ServiceClient/HttpRequestDelegate.h"
#include "Classes/Toolkit/LKTableViewController.h"
#include "Platform/UI/ActionSheetDelegate.h"
#include "Platform/UI/SegmentedControl.h"

namespace lk {

class HttpRequest;
class SearchHistoryDelegate;

// The full recent-search list of one field, with a command to clear it, and the city's
// directory for that field (hot and all categories, or all districts). A chosen entry goes to
// the delegate and the screen is dismissed.
class SearchHistoryViewController : public LKTableViewController,
                                    public HttpRequestDelegate,
                                    public ui::ActionSheetDelegate {
 public:
  static constexpr int kPlaceType = 0;
  static constexpr int kKeywordType = 1;
  static constexpr int kRecentSegment = 0;
  static constexpr int kDirectorySegment = 1;
  static constexpr const char* kRecentTitle = "最近搜索";
  static constexpr const char* kAllChannelTitle = "所有分类";
  static constexpr const char* kHotChannelTitle = "热门分类";
  static constexpr const char* kAllAreaTitle = "所有区域";
  static constexpr const char* kClearTitle = "清除记录";
  static constexpr const char* kClearQuestion = "确定要清空搜索记录吗";
  static constexpr const char* kClearButton = "清空";
  static constexpr const char* kCancelButton = "取消";
  static constexpr const char* kBackTitle = "返回";

  SearchHistoryViewController();
  ~SearchHistoryViewController() override;

  SearchHistoryDelegate* delegate = nullptr;  // not owned
  int controllerType = kKeywordType;

  std::vector<std::string> hotChannel;
  std::vector<std::string> allChannel;
  std::vector<std::shared_ptr<Area>> areaList;
  std::map<std::string, std::vector<std::shared_ptr<Area>>> subAreaList;

  [[nodiscard]] const std::shared_ptr<ui::SegmentedControl>& segmentedControl() const {
    return segmentedControl_;
  }
  [[nodiscard]] const HttpRequest* request() const { return request_.get(); }
  // The field's history, newest first.
  [[nodiscard]] const std::vector<std::string>& history() const;
  // The sections shown: a title and its rows.
  struct Section {
    std::string title;
    std::vector<std::string> rows;
  };
  [[nodiscard]] std::vector<Section> sections() const;

  void switchSegment();
  void clearHistory();
  void choose(const std::string& text);
  void goBack();

  void loadView() override;
  void viewDidLoad() override;

  int numberOfSectionsInTableView(ui::TableView& tableView) override;
  int tableViewNumberOfRowsInSection(ui::TableView& tableView, int section) override;
  std::shared_ptr<ui::TableViewCell> tableViewCellForRowAtIndexPath(ui::TableView& tableView,
                                                                    ui::IndexPath ip) override;
  std::optional<std::string> tableViewTitleForHeaderInSection(ui::TableView& tableView,
                                                              int section) override;
  void tableViewDidSelectRowAtIndexPath(ui::TableView& tableView, ui::IndexPath ip) override;

  void actionSheetClickedButtonAtIndex(ui::ActionSheet& sheet, int index) override;

  void requestSucceeded(HttpRequest& request) override;
  void requestFailed(HttpRequest& request, const PlatformError& error) override;

 private:
  [[nodiscard]] bool showsDirectory() const;
  void requestDirectory();
  void updateBar();

  std::shared_ptr<ui::SegmentedControl> segmentedControl_;
  std::unique_ptr<HttpRequest> request_;
  std::shared_ptr<ui::ActionSheet> sheet_;
};

}  // namespace lk
