#pragma once

#include <memory>
#include <optional>
#include <string>

#include "Classes/Search/SearchHistoryDelegate.h"
#include "Classes/Toolkit/LKSearchBar.h"
#include "Classes/Toolkit/LKSearchBarDelegate.h"
#include "Classes/Toolkit/LKTableViewController.h"
#include "Platform/UI/SegmentedControl.h"

namespace lk {

class NearbyViewController;

// The search entry: a keyword field "找:", a place field "在:" shown with the "周边" segment, and
// under them the recent entries of the field being edited. The search key records the entry
// and runs the search on the results screen or, around the current position or when opened
// from the nearby tab, on the nearby screen.
class SearchViewController : public LKTableViewController,
                             public LKSearchBarDelegate,
                             public SearchHistoryDelegate {
 public:
  static constexpr const char* kCurrentLocation = "当前位置";
  static constexpr const char* kKeywordLabel = "找:";
  static constexpr const char* kPlaceLabel = "在:";
  static constexpr const char* kKeywordPlaceholder = "商户名, 商圈等";
  static constexpr const char* kSearchSegment = "搜索";
  static constexpr const char* kAroundSegment = "周边";
  static constexpr const char* kCancelTitle = "取消";
  static constexpr int kKeywordField = 0;
  static constexpr int kPlaceField = 1;

  SearchViewController();
  ~SearchViewController() override;

  [[nodiscard]] const std::shared_ptr<LKSearchBar>& searchBar() const { return searchBar_; }
  [[nodiscard]] const std::shared_ptr<LKSearchBar>& nearbyBar() const { return nearbyBar_; }
  [[nodiscard]] const std::shared_ptr<ui::SegmentedControl>& segmentedControl() const {
    return segmentedControl_;
  }

  int currentSearchType = kKeywordField;
  bool isNearbySearch = false;
  bool chooseCurrentLocation = false;
  bool hideSegmentedControl = false;
  int foucesOn = kKeywordField;
  bool showHistoryRightNow = false;

  // Whether the place takes part in the search: the "周边" segment, or no switch at all (the
  // nearby entry shows the place field alone).
  [[nodiscard]] bool isAroundPlace() const;
  // The recent entries listed under the fields for the field being edited.
  [[nodiscard]] std::vector<std::string> listedEntries() const;

  void switchSearch();
  void showNearbyBar();
  void hideNearbyBar();
  // A text for the field being edited (from the history screen). A place text replaces the
  // current position.
  void setSearchText(const std::string& text) override;
  void goSearch();
  void cancel();

  // The fields.
  void searchBarDidBeginEditing(LKSearchBar& bar) override;
  void searchBarDidChange(LKSearchBar& bar) override;
  void searchBarCleared(LKSearchBar& bar) override;
  void searchBarSearch(LKSearchBar& bar) override;
  void showHistory(LKSearchBar& bar) override;

  // Life cycle.
  void loadView() override;
  void viewDidLoad() override;
  void viewDidAppear(bool animated) override;
  void initTableView() override;

  // The list.
  int tableViewNumberOfRowsInSection(ui::TableView& tableView, int section) override;
  std::shared_ptr<ui::TableViewCell> tableViewCellForRowAtIndexPath(ui::TableView& tableView,
                                                                    ui::IndexPath ip) override;
  void tableViewDidSelectRowAtIndexPath(ui::TableView& tableView, ui::IndexPath ip) override;

 protected:
  // Opens the history screen for a field (1 keywords and categories, 0 places and districts).
  virtual void presentHistory(int controllerType);
  // The nearby screen, root of the second tab; nullptr when there is none.
  [[nodiscard]] NearbyViewController* nearbyScreen() const;

 private:
  [[nodiscard]] LKSearchBar* barOf(int searchType) const;
  void setPlaceText(const std::string& text, bool currentLocation);
  void reloadList();

  std::shared_ptr<LKSearchBar> searchBar_;
  std::shared_ptr<LKSearchBar> nearbyBar_;
  std::shared_ptr<ui::SegmentedControl> segmentedControl_;
};

}  // namespace lk
