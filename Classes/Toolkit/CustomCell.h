#pragma once

#include <memory>
#include <string>

#include "Classes/Toolkit/CustomCellView.h"
#include "Platform/UI/TableViewCell.h"

namespace lk {

// A list row hosting one drawn cell view that stretches with it.
class CustomCell : public ui::TableViewCell {
 public:
  CustomCell(Style style, std::string reuseIdentifier);

  [[nodiscard]] const std::shared_ptr<CustomCellView>& cellView() const { return cellView_; }
  // Installs `view` unless it is already the one shown; the old one leaves the content area.
  void setCellView(std::shared_ptr<CustomCellView> view);
  template <typename T>
  void setDataModel(const std::shared_ptr<T>& record) {
    if (cellView_) cellView_->setDataModel(record);
  }
  void setHighlighted(bool highlighted, bool animated) override;

 private:
  std::shared_ptr<CustomCellView> cellView_;
};

}  // namespace lk
