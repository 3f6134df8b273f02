#pragma once

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Classes/Search/SearchResultsViewController.h"
#include "Classes/Toolkit/TabRootScreen.h"
#include "Platform/Notifications/NotificationCenter.h"
#include "Platform/UI/AlertViewDelegate.h"

namespace lk {

class LocationDisplayLabel;

namespace ui {
class AlertView;
}

// The "附近" tab: the shops within a chosen distance of the user's position (or of a given
// point), with the list, paging, rows and category filter of the search results. The left
// header button chooses the distance, the sort tabs include "距离", and a bar above the list
// shows the resolved address. Without a position it starts positioning and searches once the
// position is known.
class NearbyViewController : public SearchResultsViewController,
                             public TabRootScreen,
                             private ui::AlertViewDelegate {
 public:
  struct DistanceChoice {
    const char* label;
    float distance;  // kilometres, "sd"
  };
  static constexpr std::array<DistanceChoice, 3> kDistanceList{{
      {"500米", 0.5F},
      {"1000米", 1.0F},
      {"3000米", 3.0F},
  }};
  static constexpr int kDefaultDistanceRow = 1;
  static constexpr const char* kTitle = "附近";
  static constexpr const char* kRefreshImage = "navigationbar_refresh";
  static constexpr const char* kSearchImage = "button_navigation_search";
  static constexpr const char* kFailedTitle = "定位失败";
  static constexpr const char* kRefusedMessage = "请确认是否开启定位服务";
  static constexpr const char* kHelpTitle = "帮助";
  static constexpr const char* kSearchTitle = "周边搜索";

  NearbyViewController();
  ~NearbyViewController() override;

  // The shops around a point (a shop's position), as the shop detail screen lists them: 3000米
  // by distance, in the current city, without tab bar, header and address bar.
  [[nodiscard]] static std::shared_ptr<NearbyViewController> shopsAround(double x, double y);

  // The position searched around ("x", "y"), as the service's text; absent until located.
  std::optional<std::string> x;
  std::optional<std::string> y;
  float distance = 1.0F;  // "sd", kilometres
  // Search in the current city, not the located one; position notifications are not for it.
  bool GPSDisabled = false;
  bool hideLocation = false;

  [[nodiscard]] int distanceRow() const { return distanceRow_; }
  [[nodiscard]] const std::shared_ptr<LocationDisplayLabel>& locationLabel() const {
    return locationLabel_;
  }
  // A typed place text makes it the keyword and place search of the results screen.
  [[nodiscard]] bool isNormalSearch() const;

  // Asks the location service for the position again.
  void newGPS() override;
  // The navigation bar's buttons: the whole list again around the known position; the search
  // entry for a keyword near the position.
  void refresh();
  void goSearch();

  [[nodiscard]] std::string searchURL() const override;
  void searchRequest() override;
  [[nodiscard]] std::string sectionTitle() const override;
  [[nodiscard]] bool showDistance() const override { return true; }
  void setPickerDefaultTitle() override;
  void cleanChannelFilter() override;
  void selectLeft() override;

  // The distance picker (tag kAreaPicker) has one wheel; the category picker is the base's.
  void finishPick(VSPickerView& picker) override;
  int numberOfComponentsInPickerView(ui::PickerView& picker) override;
  int pickerViewNumberOfRowsInComponent(ui::PickerView& picker, int component) override;
  std::string pickerViewTitleForRow(ui::PickerView& picker, int row, int component) override;
  void pickerViewDidSelectRow(ui::PickerView& picker, int row, int component) override;

  void loadView() override;
  void viewDidLoad() override;
  void viewDidUnload() override;
  void initTableView() override;

 protected:
  [[nodiscard]] bool requestsAreaTree() const override { return false; }
  [[nodiscard]] bool hasDistanceSort() const override { return true; }
  // Presents the help on allowing positioning, modally in a stack of its own.
  virtual void openHelp();

 private:
  void observeLocation();
  void locationSuccessed();
  void locationFailed(const Notification& notification);
  void alertViewClickedButtonAtIndex(ui::AlertView& alert, int index) override;
  void setDistanceRow(int row);

  int distanceRow_ = kDefaultDistanceRow;
  // The city of the position; "ci" of the nearby search unless GPSDisabled.
  int positionCityId_ = 0;
  std::shared_ptr<LocationDisplayLabel> locationLabel_;
  // The address of the position searched around, kept for a rebuilt address bar.
  std::optional<std::string> address_;
  std::shared_ptr<ui::AlertView> refusalAlert_;
  std::vector<ObserverToken> locationObservers_;
};

}  // namespace lk
