#include "Classes/Account/AddShopAddressViewController.h"

#include "Classes/Account/AddShopRows.h"
#include "Classes/Search/AreaPickerViewController.h"
#include "Classes/Search/CityPickerViewController.h"
#include "Classes/Search/ProvincePickerViewController.h"
#include "Classes/Toolkit/AlertCenter.h"
#include "Platform/UI/NavigationController.h"
#include "Platform/UI/TextField.h"

namespace lk {

namespace {

constexpr const char* kAddressCellId = "AddressCell";
constexpr const char* kChoiceCellId = "AddressChoiceCell";

std::string nameOf(const std::shared_ptr<Area>& area) {
  return area ? area->nameText() : std::string();
}

}  // namespace

AddShopAddressViewController::AddShopAddressViewController(std::shared_ptr<NewShop> shop)
    : shop_(shop ? std::move(shop) : std::make_shared<NewShop>()) {}

void AddShopAddressViewController::setShop(std::shared_ptr<NewShop> shop) {
  if (!shop) return;
  shop_ = std::move(shop);
  reload();
}

void AddShopAddressViewController::setCity(const std::shared_ptr<Area>& city) {
  if (!city) return;
  if (!shop_->city || shop_->city->id() != city->id()) shop_->area.reset();
  shop_->city = city;
  reload();
}

void AddShopAddressViewController::setArea(const std::shared_ptr<Area>& area) {
  if (!area) return;
  const bool changed = !shop_->area || shop_->area->id() != area->id();
  shop_->area = area;
  if (changed) reload();
}

void AddShopAddressViewController::reload() {
  if (tableView()) tableView()->reloadData();
}

void AddShopAddressViewController::viewDidLoad() {
  LKTableViewController::viewDidLoad();
  setTitle(kTitle);
}

void AddShopAddressViewController::viewWillAppear(bool animated) {
  LKTableViewController::viewWillAppear(animated);
  reload();
}

void AddShopAddressViewController::viewWillDisappear(bool animated) {
  // Going back to the form takes the street along, whatever ended the editing.
  AddShopRows::endEditing(isViewLoaded() ? view().get() : nullptr);
  LKTableViewController::viewWillDisappear(animated);
}

int AddShopAddressViewController::tableViewNumberOfRowsInSection(ui::TableView& /*tableView*/,
                                                                 int /*section*/) {
  return 3;
}

std::shared_ptr<ui::TableViewCell> AddShopAddressViewController::tableViewCellForRowAtIndexPath(
    ui::TableView& tableView, ui::IndexPath ip) {
  if (ip.row == kAddressRow) {
    auto cell = AddShopRows::inputRow(tableView, this, kAddressCellId, kAddressLabel,
                                      shop_->address.value_or(""), kAddressTag);
    cell->textField()->setPlaceholder(kAddressPlaceholder);
    cell->textField()->returnKeyType = ui::TextInput::ReturnKey::kDone;
    return cell;
  }
  if (ip.row == kCityRow)
    return AddShopRows::disclosureRow(tableView, kChoiceCellId, kCityLabel, nameOf(shop_->city));
  return AddShopRows::disclosureRow(tableView, kChoiceCellId, kAreaLabel, nameOf(shop_->area));
}

void AddShopAddressViewController::tableViewDidSelectRowAtIndexPath(ui::TableView& tableView,
                                                                    ui::IndexPath ip) {
  tableView.deselectRowAtIndexPath(ip, true);
  if (ip.row == kAddressRow) {
    if (auto* cell = dynamic_cast<LKTextFieldCell*>(tableView.cellForRowAtIndexPath(ip).get()))
      (void)cell->textField()->becomeFirstResponder();
    return;
  }
  AddShopRows::endEditing(view().get());
  if (ip.row == kCityRow) {
    openCityPicker();
  } else if (ip.row == kAreaRow) {
    openAreaPicker();
  }
}

void AddShopAddressViewController::openCityPicker() {
  auto* stack = navigationController();
  if (stack == nullptr) return;
  auto picker = std::make_shared<ProvincePickerViewController>();
  picker->delegate = this;
  picker->hasCancelButton = true;
  picker->hasTabbar = true;
  picker->isCascadeCity = true;
  stack->pushViewController(picker, true);
}

void AddShopAddressViewController::openAreaPicker() {
  if (!shop_->city) {
    AlertCenter::sharedInstance().showAlertWithTitle(kNoCityTitle, kNoCityMessage);
    return;
  }
  auto* stack = navigationController();
  if (stack == nullptr) return;
  auto picker = std::make_shared<AreaPickerViewController>();
  picker->delegate = this;
  picker->city = shop_->city;
  picker->hasCancelButton = true;
  picker->hasTabbar = true;
  stack->pushViewController(picker, true);
}

void AddShopAddressViewController::textFieldDidChange(ui::TextField& field) {
  if (field.tag() == kAddressTag) shop_->address = field.text();
}

void AddShopAddressViewController::textFieldDidEndEditing(ui::TextField& field) {
  if (field.tag() == kAddressTag) shop_->address = field.text();
}

bool AddShopAddressViewController::textFieldShouldReturn(ui::TextField& field) {
  (void)field.resignFirstResponder();
  return true;
}

void AddShopAddressViewController::pickerControllerPickData(LKPickerViewController& picker,
                                                            const std::shared_ptr<LKObject>& data) {
  auto area = std::dynamic_pointer_cast<Area>(data);
  if (!area) return;
  if (dynamic_cast<AreaPickerViewController*>(&picker) != nullptr) {
    setArea(area);
  } else if (dynamic_cast<ProvincePickerViewController*>(&picker) != nullptr ||
             dynamic_cast<CityPickerViewController*>(&picker) != nullptr) {
    // The shop's city only: the user's current city stays as it is.
    setCity(area);
  }
  // Back over every picker of the cascade; they are released on a later turn.
  if (auto* stack = navigationController()) stack->popToViewController(this, true);
  reload();
}

void AddShopAddressViewController::pickerControllerCancelled(LKPickerViewController& /*picker*/) {
  if (auto* stack = navigationController()) stack->popViewController(true);
}

}  // namespace lk
