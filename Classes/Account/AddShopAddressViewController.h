#pragma once

#include <memory>

#include "Classes/Records/NewShop.h"
#include "Classes/Search/LKPickerDelegate.h"
#include "Classes/Toolkit/LKTableViewController.h"
#include "Platform/UI/TextFieldDelegate.h"

namespace lk {

// "详细地址" of a proposed shop: the street typed in, the city and the district chosen with the
// directory pickers. It edits the form's NewShop in place and never changes the current city.
class AddShopAddressViewController : public LKTableViewController,
                                     public ui::TextFieldDelegate,
                                     public LKPickerDelegate {
 public:
  static constexpr const char* kTitle = "详细地址";
  static constexpr const char* kAddressLabel = "详细地址";
  static constexpr const char* kAddressPlaceholder = "具体街道门牌";
  static constexpr const char* kCityLabel = "市";
  static constexpr const char* kAreaLabel = "区";
  static constexpr const char* kNoCityTitle = "提示";
  static constexpr const char* kNoCityMessage = "请先选择市";
  static constexpr int kAddressTag = 0;
  enum Row { kAddressRow = 0, kCityRow = 1, kAreaRow = 2 };

  explicit AddShopAddressViewController(std::shared_ptr<NewShop> shop);

  [[nodiscard]] const std::shared_ptr<NewShop>& shop() const { return shop_; }
  void setShop(std::shared_ptr<NewShop> shop);
  // Another city than the shop's also clears the district.
  void setCity(const std::shared_ptr<Area>& city);
  // Another district reloads the rows.
  void setArea(const std::shared_ptr<Area>& area);

  void viewDidLoad() override;
  void viewWillAppear(bool animated) override;
  void viewWillDisappear(bool animated) override;

  int tableViewNumberOfRowsInSection(ui::TableView& tableView, int section) override;
  std::shared_ptr<ui::TableViewCell> tableViewCellForRowAtIndexPath(ui::TableView& tableView,
                                                                    ui::IndexPath ip) override;
  void tableViewDidSelectRowAtIndexPath(ui::TableView& tableView, ui::IndexPath ip) override;

  void textFieldDidChange(ui::TextField& field) override;
  void textFieldDidEndEditing(ui::TextField& field) override;
  bool textFieldShouldReturn(ui::TextField& field) override;

  void pickerControllerPickData(LKPickerViewController& picker,
                                const std::shared_ptr<LKObject>& data) override;
  void pickerControllerCancelled(LKPickerViewController& picker) override;

 private:
  void reload();
  void openCityPicker();
  void openAreaPicker();

  std::shared_ptr<NewShop> shop_;
};

}  // namespace lk
