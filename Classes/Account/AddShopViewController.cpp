#include "Classes/Account/AddShopViewController.h"

#include "Classes/Account/AddShopAddressViewController.h"
#include "Classes/Account/AddShopRows.h"
#include "Classes/Account/LoginViewController.h"
#include "Classes/Account/MarkLocationViewController.h"
#include "Classes/LocalState/CacheCenter.h"
#include "Classes/Search/ChannelPickerViewController.h"
#include "Classes/ServiceClient/AnswerErrNo.h"
#include "Classes/ServiceClient/HttpRequest.h"
#include "Classes/ServiceClient/ServiceAnswer.h"
#include "Classes/ServiceClient/ServiceEndpoints.h"
#include "Classes/Toolkit/AlertCenter.h"
#include "Classes/Util/CoordinateText.h"
#include "Classes/Util/TextTrimming.h"
#include "Platform/Log/Log.h"
#include "Platform/UI/Keyboard.h"
#include "Platform/UI/NavigationController.h"
#include "Platform/UI/TextField.h"

namespace lk {

namespace {

constexpr const char* kNameCellId = "NameCell";
constexpr const char* kTelCellId = "TelCell";
constexpr const char* kChoiceCellId = "ChoiceCell";

enum Section { kRequired = 0, kOptional = 1 };
enum RequiredRow { kNameRow = 0, kAddressRow = 1, kCategoryRow = 2 };
enum OptionalRow { kMarkRow = 0, kTelRow = 1 };

std::string nameOf(const std::shared_ptr<LKObject>& node) {
  return node ? node->nameText() : std::string();
}

}  // namespace

AddShopViewController::AddShopViewController(std::string shopName)
    : shop_(std::make_shared<NewShop>(std::move(shopName))) {}

// The request goes with the form: destroying it cancels the transfer.
AddShopViewController::~AddShopViewController() = default;

void AddShopViewController::setShop(std::shared_ptr<NewShop> shop) {
  if (!shop) return;
  shop_ = std::move(shop);
  reload();
}

void AddShopViewController::reload() {
  if (tableView()) tableView()->reloadData();
}

// ---------------------------------------------------------------------------------------------
// Life cycle

void AddShopViewController::viewDidLoad() {
  LKTableViewController::viewDidLoad();
  setTitle(kTitle);
  navigationItem().rightBarButtonItem = buttonItemWithTitle(kAddButton, [this] { addShop(); });
  auto& center = NotificationCenter::defaultCenter();
  keyboardObservers_.clear();
  keyboardObservers_.push_back(center.addObserver(ui::kKeyboardWillShowNotification,
                                                  [this](const Notification&) { keyboardShow(); }));
  keyboardObservers_.push_back(center.addObserver(ui::kKeyboardWillHideNotification,
                                                  [this](const Notification&) { keyboardHide(); }));
}

void AddShopViewController::viewDidUnload() {
  keyboardObservers_.clear();
  LKTableViewController::viewDidUnload();
}

void AddShopViewController::viewWillAppear(bool animated) {
  LKTableViewController::viewWillAppear(animated);
  reload();
}

// The heights are set, not added to, so that shows and hides need not pair up.
void AddShopViewController::keyboardShow() {
  if (tableView()) tableView()->setFrame(ui::Rect{0, 0, 320, kKeyboardTableHeight});
}

void AddShopViewController::keyboardHide() {
  if (tableView()) tableView()->setFrame(ui::Rect{0, 0, 320, kTableHeight});
}

// ---------------------------------------------------------------------------------------------
// Submitting

void AddShopViewController::endEditing() {
  AddShopRows::endEditing(isViewLoaded() ? view().get() : nullptr);
}

void AddShopViewController::addShop() {
  // The text of a field still being edited belongs to the proposal.
  endEditing();
  // One proposal at a time: a second tap would post it again and lose the first answer.
  if (request_) return;
  auto& login = LoginViewController::sharedInstance();
  if (!login.isLogin() || !login.ssid()) {
    login.showLoginInController(*this);
    return;
  }
  if (!verifyForm()) return;
  if (!shop_->address) shop_->address = "";
  request_ = std::make_unique<HttpRequest>(static_cast<HttpRequestDelegate*>(this), 0);
  request_->requestPOST(ServiceEndpoints::serviceURL() + "/submit/0/addShop",
                        addShopFields(*shop_, *login.ssid()));
}

bool AddShopViewController::verifyForm() {
  const char* missing = nullptr;
  if (trimmedText(shop_->name).empty()) {
    missing = kNoName;
  } else if (!shop_->city) {
    missing = kNoCity;
  } else if (!shop_->area) {
    missing = kNoArea;
  }
  if (missing == nullptr) return true;
  AlertCenter::sharedInstance().showAlertWithTitle(std::nullopt, std::string(missing));
  return false;
}

HttpParameters AddShopViewController::addShopFields(const NewShop& shop, const std::string& ssid) {
  HttpParameters fields{
      {"ssid", ssid},
      {"name", trimmedText(shop.name)},
      {"city_id", shop.city ? shop.city->id() : 0},
      {"area", shop.area ? shop.area->nameText() : std::string()},
      {"address", shop.address.value_or("")},
      {"cat_id", shop.channel ? shop.channel->id() : 0},
  };
  if (shop.hasLocation()) {
    fields.emplace_back("x", singlePrecisionText(shop.location.x));
    fields.emplace_back("y", singlePrecisionText(shop.location.y));
  }
  if (const std::string tel = trimmedText(shop.tel); !tel.empty())
    fields.emplace_back("strTel1", tel);
  fields.emplace_back("xda_from", "iPhone");
  fields.emplace_back("xda_page", "AddShop");
  return fields;
}

void AddShopViewController::requestSucceeded(HttpRequest& request) {
  if (&request != request_.get()) return;
  const std::unique_ptr<HttpRequest> done = std::move(request_);
  if (request.statusCode() == 200) logf("result = %s", request.recievedData().c_str());
  const auto answer = readJsonAnswer(request, AnswerEncoding::kPlain);
  if (!answer && !isAnswerStep(answer.error(), AnswerStep::kStatus))
    logf("Request shop info, error:%s", answer.error().description.c_str());
  const bool accepted = answer && hasZeroErrNo(*answer);
  AlertCenter::sharedInstance().showAlertWithTitle(std::nullopt,
                                                   std::string(accepted ? kSucceeded : kFailed));
}

void AddShopViewController::requestFailed(HttpRequest& request, const PlatformError& error) {
  if (&request != request_.get()) return;
  const std::unique_ptr<HttpRequest> done = std::move(request_);
  AlertCenter::sharedInstance().showAlertWithTitle(std::nullopt, std::string(kFailed));
  logf("Compose failed, error = %s", error.description.c_str());
}

// ---------------------------------------------------------------------------------------------
// The rows

int AddShopViewController::numberOfSectionsInTableView(ui::TableView& /*tableView*/) {
  return 2;
}

int AddShopViewController::tableViewNumberOfRowsInSection(ui::TableView& /*tableView*/,
                                                          int section) {
  return section == kRequired ? 3 : 2;
}

std::optional<std::string> AddShopViewController::tableViewTitleForHeaderInSection(
    ui::TableView& /*tableView*/, int section) {
  return section == kRequired ? kRequiredSection : kOptionalSection;
}

std::shared_ptr<ui::TableViewCell> AddShopViewController::tableViewCellForRowAtIndexPath(
    ui::TableView& tableView, ui::IndexPath ip) {
  if (ip.section == kRequired) {
    switch (ip.row) {
      case kNameRow:
        return AddShopRows::inputRow(tableView, this, kNameCellId, kNameLabel, shop_->name,
                                     kNameTag);
      case kAddressRow:
        return AddShopRows::disclosureRow(
            tableView, kChoiceCellId, kAddressLabel,
            nameOf(shop_->city) + nameOf(shop_->area) + shop_->address.value_or(""));
      default:
        return AddShopRows::disclosureRow(tableView, kChoiceCellId, kCategoryLabel,
                                          nameOf(shop_->channel));
    }
  }
  if (ip.row == kMarkRow)
    return AddShopRows::disclosureRow(tableView, kChoiceCellId, kMarkLabel, {});
  return AddShopRows::inputRow(tableView, this, kTelCellId, kTelLabel, shop_->tel, kTelTag);
}

void AddShopViewController::tableViewDidSelectRowAtIndexPath(ui::TableView& tableView,
                                                             ui::IndexPath ip) {
  tableView.deselectRowAtIndexPath(ip, true);
  const bool nameRow = ip.section == kRequired && ip.row == kNameRow;
  const bool telRow = ip.section == kOptional && ip.row == kTelRow;
  if (nameRow || telRow) {
    if (auto* cell = dynamic_cast<LKTextFieldCell*>(tableView.cellForRowAtIndexPath(ip).get()))
      (void)cell->textField()->becomeFirstResponder();
    return;
  }
  // The next screen must not leave a typed text behind in an unfinished edit.
  endEditing();
  if (ip.section == kRequired && ip.row == kAddressRow) {
    openAddress();
  } else if (ip.section == kRequired && ip.row == kCategoryRow) {
    openCategoryPicker();
  } else if (ip.section == kOptional && ip.row == kMarkRow) {
    openMap();
  }
}

void AddShopViewController::openAddress() {
  if (auto* stack = navigationController())
    stack->pushViewController(std::make_shared<AddShopAddressViewController>(shop_), true);
}

void AddShopViewController::openCategoryPicker() {
  auto* stack = navigationController();
  if (stack == nullptr) return;
  // The categories of the shop's city; before one is chosen, those of the city the user is in.
  int cityId = shop_->city ? shop_->city->id() : 0;
  if (cityId <= 0) {
    const auto current = CacheCenter::sharedInstance().currentCity();
    cityId = current ? current->id() : 0;
  }
  if (cityId <= 0) {
    AlertCenter::sharedInstance().showAlertWithTitle(AddShopAddressViewController::kNoCityTitle,
                                                     AddShopAddressViewController::kNoCityMessage);
    return;
  }
  auto picker = std::make_shared<ChannelPickerViewController>(cityId);
  picker->hasTabbar = true;
  picker->delegate = this;
  stack->pushViewController(picker, true);
}

void AddShopViewController::openMap() {
  auto* stack = navigationController();
  if (stack == nullptr) return;
  // A position marked before is where the map opens again, so that going back keeps it.
  MarkLocationViewController::Location centre{kDefaultX, kDefaultY};
  if (shop_->hasLocation()) centre = {shop_->location.x, shop_->location.y};
  stack->pushViewController(std::make_shared<MarkLocationViewController>(this, centre), true);
}

// ---------------------------------------------------------------------------------------------
// Typing, picking and marking

void AddShopViewController::copyFieldText(const ui::TextField& field) {
  if (field.tag() == kNameTag) {
    shop_->name = field.text();
  } else if (field.tag() == kTelTag) {
    shop_->tel = field.text();
  }
}

void AddShopViewController::textFieldDidChange(ui::TextField& field) {
  copyFieldText(field);
}

void AddShopViewController::textFieldDidEndEditing(ui::TextField& field) {
  copyFieldText(field);
}

bool AddShopViewController::textFieldShouldReturn(ui::TextField& field) {
  (void)field.resignFirstResponder();
  return true;
}

void AddShopViewController::pickerControllerPickData(LKPickerViewController& /*picker*/,
                                                     const std::shared_ptr<LKObject>& data) {
  auto channel = std::dynamic_pointer_cast<Channel>(data);
  if (!channel) return;
  shop_->channel = std::move(channel);
  if (auto* stack = navigationController()) stack->popToViewController(this, true);
  reload();
}

void AddShopViewController::pickerControllerCancelled(LKPickerViewController& /*picker*/) {
  if (auto* stack = navigationController()) stack->popToViewController(this, true);
}

void AddShopViewController::locationGotSucceed(double x, double y) {
  shop_->location = {x, y};
}

void AddShopViewController::locationGotFailed() {}

}  // namespace lk
