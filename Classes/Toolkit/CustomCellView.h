#pragma once

#include <any>
#include <memory>
#include <string>
#include <typeinfo>

#include "Platform/UI/DrawnView.h"

namespace lk {

// The drawn content of a list row: one record, drawn by the subclass, with a highlighted look.
class CustomCellView : public ui::DrawnView {
 public:
  explicit CustomCellView(ui::Rect frame = {});

  // Keeps `record` when it is not the one already shown. Subclasses call this and then ask for a
  // redraw; the base never redraws here.
  virtual void setDataModel(std::shared_ptr<void> record, const std::type_info& type);
  template <typename T>
  void setDataModel(const std::shared_ptr<T>& record) {
    setDataModel(std::const_pointer_cast<void>(std::static_pointer_cast<const void>(record)),
                 typeid(std::remove_const_t<T>));
  }
  // The record as T, or null when there is none or it is of another type.
  template <typename T>
  [[nodiscard]] std::shared_ptr<T> dataModel() const {
    if (!model_ || type_ == nullptr || *type_ != typeid(std::remove_const_t<T>)) return nullptr;
    return std::static_pointer_cast<T>(model_);
  }
  [[nodiscard]] bool hasDataModel() const { return model_ != nullptr; }

  [[nodiscard]] bool isHighlighted() const { return isHighlighted_; }
  // Stores the flag and asks for a redraw.
  virtual void setHighlighted(bool highlighted, bool animated);

  // A property of the record changed (a picture arrived): redraw.
  virtual void observeValueForKeyPath(const std::string& keyPath);

  // The row height for `record`. Every subclass supplies its own; the base is a programming
  // error and stops with "Must implements by subclass".
  static double heightOfCell(const std::any& record);

 private:
  std::shared_ptr<void> model_;
  const std::type_info* type_ = nullptr;
  bool isHighlighted_ = false;
};

}  // namespace lk
