#pragma once

#include <memory>
#include <string>
#include <vector>

#include "Classes/Account/MarkLocationDelegate.h"
#include "Classes/Records/NewShop.h"
#include "Classes/Search/LKPickerDelegate.h"
#include "Classes/ServiceClient/FormValue.h"
#include "Classes/ServiceClient/HttpRequestDelegate.h"
#include "Classes/Toolkit/LKTableViewController.h"
#include "Platform/Notifications/NotificationCenter.h"
#include "Platform/UI/TextFieldDelegate.h"

namespace lk {

class HttpRequest;

// "添加商户": the proposal of a shop the directory does not know. Name and telephone are typed
// in; the address, the category and the map position open screens of their own that edit the
// same NewShop. "添加" asks for a login first, checks the required fields and posts the proposal;
// the form stays open and filled whatever the answer.
class AddShopViewController : public LKTableViewController,
                              public ui::TextFieldDelegate,
                              public LKPickerDelegate,
                              public MarkLocationDelegate,
                              private HttpRequestDelegate {
 public:
  static constexpr const char* kTitle = "添加商户";
  static constexpr const char* kAddButton = "添加";
  static constexpr const char* kRequiredSection = "必填信息";
  static constexpr const char* kOptionalSection = "选填信息";
  static constexpr const char* kNameLabel = "商户名";
  static constexpr const char* kAddressLabel = "详细地址";
  static constexpr const char* kCategoryLabel = "所属分类";
  static constexpr const char* kMarkLabel = "在地图上标注位置";
  static constexpr const char* kTelLabel = "电话";
  static constexpr const char* kNoName = "请填写商户名";
  static constexpr const char* kNoCity = "请选择市";
  static constexpr const char* kNoArea = "请选择区";
  static constexpr const char* kSucceeded = "操作成功";
  static constexpr const char* kFailed = "操作失败";
  static constexpr int kNameTag = 0;
  static constexpr int kTelTag = 1;
  // Where the map opens while nothing is marked.
  static constexpr double kDefaultX = 116.404;
  static constexpr double kDefaultY = 39.915;
  static constexpr double kKeyboardTableHeight = 200;
  static constexpr double kTableHeight = 367;

  explicit AddShopViewController(std::string shopName = {});
  ~AddShopViewController() override;

  [[nodiscard]] const std::shared_ptr<NewShop>& shop() const { return shop_; }
  void setShop(std::shared_ptr<NewShop> shop);
  [[nodiscard]] const HttpRequest* request() const { return request_.get(); }

  // "添加".
  void addShop();
  // The first missing required field is named in an alert; true when none is missing.
  bool verifyForm();
  // The fields of the proposal for the session `ssid`.
  [[nodiscard]] static HttpParameters addShopFields(const NewShop& shop, const std::string& ssid);

  void viewDidLoad() override;
  void viewDidUnload() override;
  void viewWillAppear(bool animated) override;
  void keyboardShow();
  void keyboardHide();

  int numberOfSectionsInTableView(ui::TableView& tableView) override;
  int tableViewNumberOfRowsInSection(ui::TableView& tableView, int section) override;
  std::shared_ptr<ui::TableViewCell> tableViewCellForRowAtIndexPath(ui::TableView& tableView,
                                                                    ui::IndexPath ip) override;
  std::optional<std::string> tableViewTitleForHeaderInSection(ui::TableView& tableView,
                                                              int section) override;
  void tableViewDidSelectRowAtIndexPath(ui::TableView& tableView, ui::IndexPath ip) override;

  void textFieldDidChange(ui::TextField& field) override;
  void textFieldDidEndEditing(ui::TextField& field) override;
  bool textFieldShouldReturn(ui::TextField& field) override;

  void pickerControllerPickData(LKPickerViewController& picker,
                                const std::shared_ptr<LKObject>& data) override;
  void pickerControllerCancelled(LKPickerViewController& picker) override;

  void locationGotSucceed(double x, double y) override;
  void locationGotFailed() override;

 private:
  void requestSucceeded(HttpRequest& request) override;
  void requestFailed(HttpRequest& request, const PlatformError& error) override;

  void copyFieldText(const ui::TextField& field);
  void endEditing();
  void reload();
  void openAddress();
  void openCategoryPicker();
  void openMap();

  std::shared_ptr<NewShop> shop_;
  std::unique_ptr<HttpRequest> request_;
  std::vector<ObserverToken> keyboardObservers_;
};

}  // namespace lk
