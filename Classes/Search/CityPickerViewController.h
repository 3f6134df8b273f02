#pragma once

#include <memory>
#include <vector>

#include "Classes/Records/Area.h"
#include "Classes/Search/LKPickerViewController.h"

namespace lk {

// The cities of one province.
class CityPickerViewController : public LKPickerViewController {
 public:
  static constexpr const char* kTitle = "选择城市";

  std::vector<std::shared_ptr<Area>> cityList;
  std::shared_ptr<Area> province;

  [[nodiscard]] std::vector<Section> sections() const override;

 protected:
  [[nodiscard]] std::string defaultTitle() const override { return kTitle; }
  void _loadDataSource() override;
  void decodeAnswer(const boost::json::value& answer) override;
};

}  // namespace lk
