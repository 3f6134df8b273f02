#include "Classes/Search/ProvincePickerViewController.h"

#include "Classes/Location/LKLocation.h"
#include "Classes/Location/LocationNotifications.h"
#include "Classes/Location/LocationService.h"
#include "Classes/Records/DirectoryDecoder.h"
#include "Classes/Search/CityPickerViewController.h"
#include "Classes/ServiceClient/ServiceEndpoints.h"
#include "Classes/Toolkit/AlertCenter.h"
#include "Platform/UI/NavigationController.h"
#include "Platform/UI/TableView.h"

namespace lk {

ProvincePickerViewController::ProvincePickerViewController() = default;

ProvincePickerViewController::~ProvincePickerViewController() = default;

bool ProvincePickerViewController::isSAR(const Area& province) {
  return province.id() == DirectoryDecoder::kSarId2911 ||
         province.id() == DirectoryDecoder::kSarId2912;
}

std::vector<LKPickerViewController::Section> ProvincePickerViewController::sections() const {
  std::vector<Section> out;
  if (needLocating) {
    Section current{kCurrentCitySection, {currentArea}, kLocating, false};
    out.push_back(std::move(current));
  }
  out.push_back({kHotCitySection, {hotCityList.begin(), hotCityList.end()}, {}, false});
  out.push_back({kProvinceSection, {provinceList.begin(), provinceList.end()}, {}, isCascadeCity});
  return out;
}

void ProvincePickerViewController::_loadDataSource() {
  needLocating = true;
  auto& center = NotificationCenter::defaultCenter();
  observers_.clear();
  observers_.push_back(
      center.addObserver(kLocationSuccessed, [this](const Notification&) { locationSuccessed(); }));
  observers_.push_back(
      center.addObserver(kLocationFailed, [this](const Notification&) { locationFailed(); }));
  LocationService::sharedInstance().startLocation();
  startRequest(ServiceEndpoints::serviceURL() + "/index/0/province");
}

void ProvincePickerViewController::decodeAnswer(const boost::json::value& answer) {
  auto index = DirectoryDecoder::decodeProvinceIndex(answer);
  hotCityList = std::move(index.hot);
  provinceList = std::move(index.provinces);
}

void ProvincePickerViewController::locationSuccessed() {
  const auto& location = LocationService::sharedInstance().location();
  // A lookup without a city would offer a city that does not exist.
  if (!location || location->cityId() <= 0 || location->cityName().empty()) return;
  currentArea = std::make_shared<Area>(location->cityId(), location->cityName());
  if (tableView()) tableView()->reloadData();
}

void ProvincePickerViewController::locationFailed() {
  AlertCenter::sharedInstance().showAlertWithTitle(std::nullopt, std::string(kLocationFailed));
}

void ProvincePickerViewController::didChoose(const Section& section,
                                             const std::shared_ptr<LKObject>& row) {
  if (!row) return;  // the located city is not known yet
  if (section.title != kProvinceSection) {
    pick(row);
    return;
  }
  const auto province = std::dynamic_pointer_cast<Area>(row);
  if (!isCascadeCity || !province || isSAR(*province)) {
    pick(row);
    return;
  }
  auto cities = std::make_shared<CityPickerViewController>();
  cities->province = province;
  cities->setTitle(province->nameText());
  cities->delegate = delegate;
  cities->hasTabbar = hasTabbar;
  if (auto* stack = navigationController()) stack->pushViewController(cities, true);
}

}  // namespace lk
