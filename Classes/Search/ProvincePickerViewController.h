#pragma once

#include <memory>
#include <vector>

#include "Classes/Records/Area.h"
#include "Classes/Search/LKPickerViewController.h"
#include "Platform/Notifications/NotificationCenter.h"

namespace lk {

// Provinces, hot cities and the located city. A province either opens its cities (when
// cascading) or is returned itself; the two special regions are always returned themselves.
class ProvincePickerViewController : public LKPickerViewController {
 public:
  static constexpr const char* kTitle = "选择省(直辖市)";
  static constexpr const char* kCurrentCitySection = "当前所在城市";
  static constexpr const char* kHotCitySection = "热门城市";
  static constexpr const char* kProvinceSection = "按省份选择城市（按音序排列）";
  static constexpr const char* kLocating = "正在定位...";
  static constexpr const char* kLocationFailed = "定位失败";

  ProvincePickerViewController();
  ~ProvincePickerViewController() override;

  std::vector<std::shared_ptr<Area>> provinceList;
  std::vector<std::shared_ptr<Area>> hotCityList;
  std::shared_ptr<Area> currentArea;
  bool needLocating = false;
  bool isCascadeCity = false;

  [[nodiscard]] static bool isSAR(const Area& province);
  [[nodiscard]] std::vector<Section> sections() const override;

 protected:
  [[nodiscard]] std::string defaultTitle() const override { return kTitle; }
  void _loadDataSource() override;
  void decodeAnswer(const boost::json::value& answer) override;
  void didChoose(const Section& section, const std::shared_ptr<LKObject>& row) override;

 private:
  void locationSuccessed();
  void locationFailed();

  std::vector<ObserverToken> observers_;
};

}  // namespace lk
