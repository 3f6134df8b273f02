#include "Classes/Account/LoginViewController.h"

#include <boost/json.hpp>

#include <mutex>

#include "Classes/Account/AccountNotifications.h"
#include "Classes/Account/LKPopupTextField.h"
#include "Classes/Account/LKTextFieldCell.h"
#include "Classes/Account/LoginViewControllerDelegate.h"
#include "Classes/Account/PassportReply.h"
#include "Classes/LocalState/CacheCenter.h"
#include "Classes/ServiceClient/FormValue.h"
#include "Classes/ServiceClient/HttpRequest.h"
#include "Classes/ServiceClient/ServiceAnswer.h"
#include "Classes/ServiceClient/ServiceEndpoints.h"
#include "Classes/Toolkit/AlertCenter.h"
#include "Classes/Util/Utility.h"
#include "Platform/Device/DeviceInfo.h"
#include "Platform/Image/ImageBitmap.h"
#include "Platform/Image/ImageCodec.h"
#include "Platform/Log/Log.h"
#include "Platform/Notifications/NotificationCenter.h"
#include "Platform/RunLoop/RunLoop.h"
#include "Platform/UI/Application.h"
#include "Platform/UI/Button.h"
#include "Platform/UI/Keyboard.h"
#include "Platform/UI/Label.h"
#include "Platform/UI/NavigationController.h"

namespace lk {

namespace {

std::recursive_mutex& classLock() {
  static std::recursive_mutex mutex;
  return mutex;
}

LoginViewController* gInstance = nullptr;
std::shared_ptr<LoginViewController>& ownedInstance() {
  static std::shared_ptr<LoginViewController> owned;
  return owned;
}

const ui::Color kInputColor{0.282, 0.38, 0.565, 1};
constexpr double kRowHeight = 44;

bool missingOrEmpty(const std::optional<std::string>& text) {
  return !text || text->empty();
}

// The passport's refusals, worded for the user.
std::string reasonMessage(int reason) {
  switch (reason) {
    case 1:
      return "用户名格式错误";
    case 2:
      return "用户名不存在";
    case 4:
      return "密码不正确";
    case 5:
      return "今日登陆次数过多";
    case 6:
      return "验证码不匹配";
    case 7:
      return "登录时发生未知错误";
    case 16:
      return "对不起，您现在无法登录，请稍候再试";
    case 20:
      return "此账号已登录人数过多";
    default:
      return strprintf("未知错误,Code=%d", reason);
  }
}

}  // namespace

LoginViewControllerDelegate::~LoginViewControllerDelegate() {
  LoginViewController::forgetDelegate(this);
}

// ---------------------------------------------------------------------------------------------
// The shared screen

LoginViewController& LoginViewController::sharedInstance() {
  return *sharedPointer();
}

std::shared_ptr<LoginViewController> LoginViewController::sharedPointer() {
  std::lock_guard lock(classLock());
  if (!ownedInstance()) ownedInstance() = std::make_shared<LoginViewController>();
  return ownedInstance();
}

void LoginViewController::resetSharedInstanceForTesting() {
  std::shared_ptr<LoginViewController> old;
  {
    std::lock_guard lock(classLock());
    old = std::move(ownedInstance());
    // A stack a test still holds may keep the old screen alive: the next use makes a new one.
    if (gInstance == old.get()) gInstance = nullptr;
  }
  if (!old) return;
  old->cancelLoginExchange();
  old->statRequest_.reset();
  if (old->isViewLoaded()) old->view()->removeFromSuperview();
}

void LoginViewController::forgetDelegate(const LoginViewControllerDelegate* delegate) {
  std::lock_guard lock(classLock());
  if (gInstance != nullptr && gInstance->delegate_ == delegate) gInstance->delegate_ = nullptr;
}

LoginViewController::LoginViewController() {
  std::lock_guard lock(classLock());
  if (gInstance != nullptr) {
    logLine("Duplicate alloc a singleton class");
    std::abort();
  }
  gInstance = this;
  setTitle("登录");
  navigationItem().hidesBackButton = true;
  // The shared screen outlives the transfers' machinery at the end of the process: nothing of
  // it may still be in flight then.
  terminating_ = NotificationCenter::defaultCenter().addObserver(
      ui::kApplicationWillTerminateNotification, [this](const Notification&) {
        cancelLoginExchange();
        statRequest_.reset();
      });
}

LoginViewController::~LoginViewController() {
  closeActivationPrompt();
  std::lock_guard lock(classLock());
  if (gInstance == this) gInstance = nullptr;
}

// ---------------------------------------------------------------------------------------------
// Showing the screen

void LoginViewController::showLoginInController(ui::ViewController& controller) {
  setCanBeCancelled(true);
  auto self = std::static_pointer_cast<LoginViewController>(shared_from_this());
  // A screen belongs to one stack: the cover of the user centre gives way to the modal one.
  if (isViewLoaded()) view()->removeFromSuperview();
  auto stack = std::make_shared<ui::NavigationController>(self);
  controller.presentModalViewController(stack, true);
}

bool LoginViewController::isPresentedModally() const {
  const ui::ViewController* top = this;
  while (top->parentViewController() != nullptr)
    top = top->parentViewController();
  return top->presentingViewController() != nullptr;
}

void LoginViewController::cancel() {
  dismissModally();
}

void LoginViewController::dismissModally() {
  // The stack that wrapped this screen goes on a later turn, not inside its own bar button.
  std::shared_ptr<ui::ViewController> wrapper;
  if (auto* parent = parentViewController()) wrapper = parent->shared_from_this();
  dismissModalViewController(true);
  if (wrapper) RunLoop::main().post([wrapper = std::move(wrapper)] {});
}

void LoginViewController::loadView() {
  LKNavigationController::loadView();
  view()->addSubview(std::make_shared<ui::ImageView>(ui::Rect{0, 0, 320, 416},
                                                     ui::Image::named("login_background.png")));
  tableView_ =
      std::make_shared<ui::TableView>(ui::Rect{0, 0, 320, 416}, ui::TableView::Style::kGrouped);
  tableView_->separatorStyle = ui::TableView::SeparatorStyle::kSingleLine;
  tableView_->setBackgroundColor(ui::Color::clear());
  tableView_->scrollEnabled = false;
  tableView_->rowHeight = kRowHeight;
  tableView_->setDataSource(this);
  tableView_->setTableDelegate(this);
  // Touching anywhere under the rows hides the keyboard.
  auto footer = std::make_shared<ui::Button>(ui::Rect{0, 110, 320, 300});
  footer->setAction([this](ui::Button&) { hideKeyboard(); });
  auto hint = std::make_shared<ui::Label>(ui::Rect{15, 150, 280, 40},
                                          std::string(kHintFirstLine) + "\n" + kHintSecondLine);
  hint->setNumberOfLines(2);
  hint->setFont(ui::Font::system(14));
  hint->setBackgroundColor(ui::Color::clear());
  addSubview(tableView_);
  addSubview(hint);
  tableView_->setTableFooterView(footer);
  tableView_->reloadData();
}

void LoginViewController::viewDidUnload() {
  LKNavigationController::viewDidUnload();
  tableView_.reset();
}

void LoginViewController::viewWillAppear(bool animated) {
  LKNavigationController::viewWillAppear(animated);
  navigationItem().leftBarButtonItem =
      canBeCancelled_ ? buttonItemWithTitle("取消", &LoginViewController::cancel, this) : nullptr;
}

void LoginViewController::viewDidAppear(bool animated) {
  LKNavigationController::viewDidAppear(animated);
  if (const auto field = fieldAtRow(0)) field->becomeFirstResponder();
}

std::shared_ptr<ui::TextField> LoginViewController::fieldAtRow(int row) const {
  if (!tableView_) return nullptr;
  const auto cell =
      std::dynamic_pointer_cast<LKTextFieldCell>(tableView_->cellForRowAtIndexPath({0, row}));
  return cell ? cell->textField() : nullptr;
}

// ---------------------------------------------------------------------------------------------
// Rows and keyboard

int LoginViewController::tableViewNumberOfRowsInSection(ui::TableView& /*tableView*/,
                                                        int /*section*/) {
  return requiresVerifyCode() ? 3 : 2;
}

std::shared_ptr<ui::TableViewCell> LoginViewController::tableViewCellForRowAtIndexPath(
    ui::TableView& tableView, ui::IndexPath ip) {
  auto cell =
      std::dynamic_pointer_cast<LKTextFieldCell>(tableView.dequeueReusableCell(kCellIdentifier));
  if (!cell) cell = std::make_shared<LKTextFieldCell>(this, kCellIdentifier, tableView.rowHeight);
  auto& field = *cell->textField();
  field.setTextColor(kInputColor);
  field.enablesReturnKeyAutomatically = true;
  field.clearButtonMode = ui::TextField::ClearButtonMode::kWhileEditing;
  field.secureTextEntry = false;
  field.setFrame({100, 5, 200, tableView.rowHeight - 10});
  if (verifyImageView_ && verifyImageView_->superview() == cell->contentView().get()) {
    verifyImageView_->removeFromSuperview();
  }
  switch (ip.row) {
    case 0:
      cell->label()->setText("用户名");
      field.setText(username_.value_or(""));
      field.setTag(kUsernameTag);
      field.returnKeyType = ui::TextInput::ReturnKey::kNext;
      break;
    case 1:
      cell->label()->setText("密码");
      field.setText(password_.value_or(""));
      field.setTag(kPasswordTag);
      field.secureTextEntry = true;
      field.returnKeyType =
          requiresVerifyCode() ? ui::TextInput::ReturnKey::kNext : ui::TextInput::ReturnKey::kDone;
      break;
    default:
      cell->label()->setText("验证码");
      field.setText(verifyCode_.value_or(""));
      field.setTag(kVerifyCodeTag);
      field.returnKeyType = ui::TextInput::ReturnKey::kDone;
      field.clearButtonMode = ui::TextField::ClearButtonMode::kNever;
      field.setFrame({100, 5, 200 - kVerifyImageFrame.width(), tableView.rowHeight - 10});
      if (verifyImageView_) cell->contentView()->addSubview(verifyImageView_);
      break;
  }
  return cell;
}

void LoginViewController::tableViewDidSelectRowAtIndexPath(ui::TableView& tableView,
                                                           ui::IndexPath ip) {
  // A touch anywhere on a row puts the cursor in its field.
  tableView.deselectRowAtIndexPath(ip, false);
  if (const auto field = fieldAtRow(ip.row)) field->becomeFirstResponder();
}

void LoginViewController::scrollViewDidEndDragging(ui::ScrollView& /*scrollView*/,
                                                   bool /*decelerate*/) {
  hideKeyboard();
}

void LoginViewController::copyFieldText(const ui::TextField& field) {
  switch (field.tag()) {
    case kUsernameTag:
      username_ = field.text();
      break;
    case kPasswordTag:
      password_ = field.text();
      break;
    default:
      verifyCode_ = field.text();
      break;
  }
}

void LoginViewController::setUsername(std::optional<std::string> username) {
  username_ = std::move(username);
  showInRow(0, username_);
}

void LoginViewController::setPassword(std::optional<std::string> password) {
  password_ = std::move(password);
  showInRow(1, password_);
}

void LoginViewController::setVerifyCode(std::optional<std::string> verifyCode) {
  verifyCode_ = std::move(verifyCode);
  showInRow(2, verifyCode_);
}

void LoginViewController::showInRow(int row, const std::optional<std::string>& text) {
  if (const auto field = fieldAtRow(row)) field->setText(text.value_or(""));
}

void LoginViewController::textFieldDidEndEditing(ui::TextField& field) {
  copyFieldText(field);
}

bool LoginViewController::textFieldShouldReturn(ui::TextField& field) {
  copyFieldText(field);
  if (field.returnKeyType == ui::TextInput::ReturnKey::kDone) {
    login();
  } else if (const auto next = fieldAtRow(field.tag() == kUsernameTag ? 1 : 2)) {
    next->becomeFirstResponder();
  }
  return true;
}

void LoginViewController::hideKeyboard() {
  ui::TextInput* focused = ui::Keyboard::shared().firstResponder();
  if (focused != nullptr && isViewLoaded() && focused->isDescendantOf(view().get())) {
    ui::Keyboard::shared().dismiss();
  }
}

void LoginViewController::showFailure(const char* message) {
  // The automatic login before the screen was ever shown stays silent.
  if (isViewLoaded()) AlertCenter::sharedInstance().showAlertWithTitle(kFailureTitle, message);
}

// ---------------------------------------------------------------------------------------------
// The exchange

void LoginViewController::login() {
  if (tableView_) {
    const char* problem = nullptr;
    if (missingOrEmpty(username_)) {
      problem = "请输入用户名";
    } else if (missingOrEmpty(password_)) {
      problem = "请输入密码";
    } else if (requiresVerifyCode() && missingOrEmpty(verifyCode_)) {
      problem = "请输入验证码";
    }
    if (problem != nullptr) {
      AlertCenter::sharedInstance().showAlertWithTitle(std::nullopt, problem);
      return;
    }
    hideKeyboard();
  }
  if (!verifyCode_) verifyCode_ = "";
  if (!qzVerify_) qzVerify_ = "";
  if (!qzStoken_) qzStoken_ = "";
  if (!qzTime_) qzTime_ = "";

  // A late answer of an earlier exchange must not pair its session with these credentials.
  cancelLoginExchange();
  sentUsername_ = username_;
  sentPassword_ = password_;
  const HttpParameters form{
      {"cip", "127.0.0.1"},
      {"tpl", "wc"},
      {"login_username", username_.value_or("")},
      {"login_loginpass", password_.value_or("")},
      {"phoneid", "iPhoneClient"},
      {"login_verifycode", *verifyCode_},
      {"login_qzverify", *qzVerify_},
      {"login_qzstoken", *qzStoken_},
      {"login_qztime", *qzTime_},
  };
  const std::string url = verifyCode_->empty()
                              ? ServiceEndpoints::passportURL() + "/passport/?login&"
                              : ServiceEndpoints::servicePassportURL() + "/passport/?login=vc";
  request_ = std::make_unique<HttpRequest>(static_cast<HttpRequestDelegate*>(this), kLoginRequest);
  request_->requestPOST(url, form);
}

void LoginViewController::autoLogin() {
  ssid_.set(std::nullopt);
  const auto& stored = CacheCenter::sharedInstance();
  setUsername(stored.username());
  setPassword(stored.password());
  if (username_ && password_) login();
}

void LoginViewController::logout() {
  // An automatic login in flight would log the user in again once it succeeds.
  cancelLoginExchange();
  ssid_.set(std::nullopt);
  password_.reset();
  CacheCenter::sharedInstance().recordPassword(std::nullopt);
  if (tableView_) tableView_->reloadData();
  NotificationCenter::defaultCenter().post(kLogoutSucceed);
}

void LoginViewController::activedUserStat() {
  const std::string url = strprintf(
      "%s/user/0/info?xda_os=%s&xda_did=%s&xda_page=DailyUser&xda_from=iPhone",
      ServiceEndpoints::serviceURL().c_str(), FormValue::escape(Utility::systemVersion()).c_str(),
      FormValue::escape(DeviceInfo::uniqueIdentifier()).c_str());
  statRequest_ =
      std::make_unique<HttpRequest>(static_cast<HttpRequestDelegate*>(this), kDailyUserRequest);
  statRequest_->requestGETWithGZip(url, false);
}

void LoginViewController::cancelLoginExchange() {
  request_.reset();
  activeRequest_.reset();
  closeActivationPrompt();
}

void LoginViewController::closeActivationPrompt() {
  if (!activationPrompt_) return;
  auto prompt = std::move(activationPrompt_);
  prompt->setDelegate(nullptr);
  if (prompt->isVisible())
    prompt->dismissWithClickedButtonIndex(prompt->cancelButtonIndex(), false);
}

void LoginViewController::requestVerifyImage() {
  request_ =
      std::make_unique<HttpRequest>(static_cast<HttpRequestDelegate*>(this), kVerifyImageRequest);
  request_->requestGETWithGZip(ServiceEndpoints::verifyCodeURL() + "/cgi-bin/genimage?" +
                                   FormValue::escape(qzVerify_.value_or("")),
                               false);
}

void LoginViewController::requestAccountState() {
  activeRequest_ =
      std::make_unique<HttpRequest>(static_cast<HttpRequestDelegate*>(this), kAccountStateRequest);
  activeRequest_->requestGET(strprintf("%s/user/0/info?ssid=%s",
                                       ServiceEndpoints::serviceURL().c_str(),
                                       FormValue::escape(*ssid_.get()).c_str()));
}

void LoginViewController::activate(const std::string& nickname) {
  if (!ssid_.get()) return;
  activeRequest_ =
      std::make_unique<HttpRequest>(static_cast<HttpRequestDelegate*>(this), kActivationRequest);
  activeRequest_->requestPOST(ServiceEndpoints::serviceURL() + "/user/0/active",
                              HttpParameters{
                                  {"nickName", nickname},
                                  {"ssid", *ssid_.get()},
                                  {"xda_did", DeviceInfo::uniqueIdentifier()},
                                  {"xda_from", "iPhone"},
                                  {"xda_page", "ActivedUser"},
                              });
}

// ---------------------------------------------------------------------------------------------
// Answers

void LoginViewController::requestSucceeded(HttpRequest& request) {
  if (&request == statRequest_.get()) {
    // The statistics answer carries nothing the client reads.
    statRequest_.reset();
    return;
  }
  if (&request == request_.get()) {
    if (request.tag() == kLoginRequest) {
      loginAnswered(request);
    } else {
      verifyImageAnswered(request);
    }
  } else if (&request == activeRequest_.get()) {
    if (request.tag() == kAccountStateRequest) {
      accountStateAnswered(request);
    } else {
      activationAnswered(request);
    }
  }
}

void LoginViewController::requestFailed(HttpRequest& request, const PlatformError& error) {
  if (&request == statRequest_.get()) {
    // Statistics are the client's business, not the user's: an offline return stays silent.
    logf("Request failed, code = %d", error.code);
    statRequest_.reset();
    return;
  }
  if (&request == request_.get()) {
    request_.reset();
  } else if (&request == activeRequest_.get()) {
    activeRequest_.reset();
  } else {
    return;
  }
  logf("Request failed, code = %d", error.code);
  showFailure(kConnectionFailed);
}

void LoginViewController::loginAnswered(HttpRequest& request) {
  const std::unique_ptr<HttpRequest> done = std::move(request_);
  if (request.statusCode() != 200) return;
  const auto reply = PassportReply::parse(request.recievedData());
  if (!reply) {
    logLine("Passport answer could not be parsed");
    return;
  }
  switch (reply->kind) {
    case PassportReply::Kind::kSucceeded:
      if (missingOrEmpty(reply->ssid)) {
        showFailure(kBadAnswer);
        return;
      }
      ssid_.set(reply->ssid);
      requestAccountState();
      return;
    case PassportReply::Kind::kFailed:
      loginRefused(*reply);
      return;
    case PassportReply::Kind::kUnexpected:
      showFailure(kBadAnswer);
      return;
  }
}

void LoginViewController::loginRefused(const PassportReply& reply) {
  if (reply.reason != PassportReply::kVerifyCodeRequired) {
    if (isViewLoaded()) {
      AlertCenter::sharedInstance().showAlertWithTitle(kFailureTitle, reasonMessage(reply.reason));
    }
    return;
  }
  // Without its context a code could be neither fetched nor sent back.
  if (missingOrEmpty(reply.qzVerify) || !reply.qzStoken || !reply.qzTime) {
    showFailure(kBadAnswer);
    return;
  }
  qzVerify_ = reply.qzVerify;
  qzStoken_ = reply.qzStoken;
  qzTime_ = reply.qzTime;
  requestVerifyImage();
}

void LoginViewController::verifyImageAnswered(HttpRequest& request) {
  const std::unique_ptr<HttpRequest> done = std::move(request_);
  std::optional<Image> decoded;
  if (request.statusCode() == 200) decoded = ImageCodec::decode(request.recievedData());
  if (!decoded) {
    logf("Verify code picture unusable, status = %d", request.statusCode());
    showFailure(kConnectionFailed);
    return;
  }
  verifyImage_ = toUiImage(std::make_shared<const Image>(std::move(*decoded)));
  if (!verifyImageView_) verifyImageView_ = std::make_shared<ui::ImageView>(kVerifyImageFrame);
  verifyImageView_->setImage(verifyImage_);
  if (!tableView_) return;
  tableView_->reloadData();
  // The code is what the user types next.
  if (view()->window() != nullptr) {
    if (const auto field = fieldAtRow(2)) field->becomeFirstResponder();
  }
}

void LoginViewController::accountStateAnswered(HttpRequest& request) {
  const std::unique_ptr<HttpRequest> done = std::move(activeRequest_);
  const auto answer = readJsonAnswer(request, AnswerEncoding::kPlain);
  if (!answer) {
    // A refused or damaged answer says nothing about the account: never ask for a nickname.
    logf("Error:%s", answer.error().description.c_str());
    showFailure(kConnectionFailed);
    return;
  }
  const auto* login = answer->if_contains("login");
  if (login != nullptr && login->is_string() && !login->get_string().empty()) {
    loginSucceeded();
  } else {
    askForActivation();
  }
}

void LoginViewController::askForActivation() {
  closeActivationPrompt();
  activationPrompt_ = std::make_shared<LKPopupTextField>(
      "", kActivationPrompt, static_cast<ui::AlertViewDelegate*>(this), "取消",
      std::vector<std::string>{kActivateButton});
  activationPrompt_->showWithFocus();
}

void LoginViewController::alertViewClickedButtonAtIndex(ui::AlertView& alert, int index) {
  if (&alert != activationPrompt_.get()) return;
  const auto prompt = std::move(activationPrompt_);
  prompt->setDelegate(nullptr);
  // "取消" ends the exchange; the session stays set.
  if (index == prompt->cancelButtonIndex()) return;
  activate(prompt->text());
}

void LoginViewController::activationAnswered(HttpRequest& request) {
  const std::unique_ptr<HttpRequest> done = std::move(activeRequest_);
  const auto answer = readJsonAnswer(request, AnswerEncoding::kPlain);
  if (!answer) logf("Error:%s", answer.error().description.c_str());
  const boost::json::value* errNo = answer ? answer->if_contains("errNo") : nullptr;
  if (errNo != nullptr && errNo->is_number()) {
    boost::system::error_code ec;
    const auto code = errNo->to_number<std::int64_t>(ec);
    if (!ec && code == 0) {
      loginSucceeded();
      return;
    }
  }
  std::string message = kBadAnswer;
  if (answer) {
    if (const auto* result = answer->if_contains("result"); result && result->is_string()) {
      message = std::string(result->get_string());
    }
  }
  AlertCenter::sharedInstance().showAlertWithTitle(kActivationFailedTitle, message);
}

void LoginViewController::loginSucceeded() {
  auto& stored = CacheCenter::sharedInstance();
  stored.recordUsername(sentUsername_);
  stored.recordPassword(sentPassword_);
  NotificationCenter::defaultCenter().post(kLoginSucceed);
  if (delegate_ != nullptr) {
    delegate_->loginSucceed(*this);
  } else if (isPresentedModally()) {
    dismissModally();
  }
}

}  // namespace lk
