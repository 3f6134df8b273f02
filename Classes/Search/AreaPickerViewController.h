#pragma once

#include <memory>
#include <vector>

#include "Classes/Records/Area.h"
#include "Classes/Search/LKPickerViewController.h"

namespace lk {

// The districts of one city.
class AreaPickerViewController : public LKPickerViewController {
 public:
  std::vector<std::shared_ptr<Area>> areaList;
  std::shared_ptr<Area> city;

  [[nodiscard]] std::vector<Section> sections() const override;

 protected:
  [[nodiscard]] std::string defaultTitle() const override { return city ? city->nameText() : ""; }
  void _loadDataSource() override;
  void decodeAnswer(const boost::json::value& answer) override;
};

}  // namespace lk
