#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "Classes/Records/Observable.h"
#include "Classes/ServiceClient/HttpRequestDelegate.h"
#include "Classes/Toolkit/LKNavigationController.h"
#include "Platform/Notifications/NotificationCenter.h"
#include "Platform/UI/AlertViewDelegate.h"
#include "Platform/UI/Image.h"
#include "Platform/UI/ImageView.h"
#include "Platform/UI/TableView.h"
#include "Platform/UI/TableViewDataSource.h"
#include "Platform/UI/TableViewDelegate.h"
#include "Platform/UI/TextFieldDelegate.h"

namespace lk {

class HttpRequest;
class LKPopupTextField;
class LoginViewControllerDelegate;
struct PassportReply;

// The login screen and the session it obtains: one shared screen. The login exchange goes to the
// operator's passport (XML answer); a verification code adds a third row and repeats the login
// through the service's passport; the service then says whether the account is active, and a
// nickname activates it. The session id (`ssid`) lives in memory only; the name and password are
// remembered so that every activation of the application can log in again.
class LoginViewController : public LKNavigationController,
                            public ui::TableViewDataSource,
                            public ui::TableViewDelegate,
                            public ui::TextFieldDelegate,
                            public ui::AlertViewDelegate,
                            private HttpRequestDelegate {
 public:
  // Request tags.
  static constexpr int kLoginRequest = 0;
  static constexpr int kVerifyImageRequest = 1;
  static constexpr int kAccountStateRequest = 2;
  static constexpr int kActivationRequest = 3;
  static constexpr int kDailyUserRequest = 4;
  // Text field tags.
  static constexpr int kUsernameTag = 1;
  static constexpr int kPasswordTag = 2;
  static constexpr int kVerifyCodeTag = 3;

  static constexpr const char* kCellIdentifier = "TextFieldCell";
  static constexpr const char* kFailureTitle = "登录失败";
  static constexpr const char* kConnectionFailed = "服务器连接失败";
  static constexpr const char* kBadAnswer = "服务器返回数据错误";
  static constexpr const char* kActivationPrompt = "您的帐号还未激活,请输入昵称激活";
  static constexpr const char* kActivateButton = "激活";
  static constexpr const char* kActivationFailedTitle = "激活失败";
  static constexpr const char* kHintFirstLine = "可用Quorza帐号直接登录";
  static constexpr const char* kHintSecondLine = "没有帐号? 请到 passport.quorza.example 注册";
  static inline const ui::Rect kVerifyImageFrame{180, 2, 100, 40};

  // The one login screen, made on first use. Creating a second one is a programming error
  // ("Duplicate alloc a singleton class").
  static LoginViewController& sharedInstance();
  static std::shared_ptr<LoginViewController> sharedPointer();
  // Destroys the shared screen (its requests are cancelled) so that the next use starts afresh.
  static void resetSharedInstanceForTesting();
  // Forgets `delegate` if it is the shared screen's delegate (a delegate going away).
  static void forgetDelegate(const LoginViewControllerDelegate* delegate);

  LoginViewController();
  ~LoginViewController() override;

  // The session.
  [[nodiscard]] bool isLogin() const { return ssid_.get().has_value(); }
  [[nodiscard]] const std::optional<std::string>& ssid() const { return ssid_.get(); }
  // Told of every change of the session id (a login, a logout, the reset of an automatic login).
  [[nodiscard]] Subscription observeSsid(
      std::function<void(const std::optional<std::string>&)> handler) {
    return ssid_.subscribe(std::move(handler));
  }

  // Presents the screen modally over `controller` in a stack of its own, with "取消".
  void showLoginInController(ui::ViewController& controller);
  [[nodiscard]] bool canBeCancelled() const { return canBeCancelled_; }
  void setCanBeCancelled(bool canBeCancelled) { canBeCancelled_ = canBeCancelled; }
  [[nodiscard]] LoginViewControllerDelegate* delegate() const { return delegate_; }
  void setDelegate(LoginViewControllerDelegate* delegate) { delegate_ = delegate; }

  // Validates (while the view is loaded) and sends the login exchange. An exchange still running
  // is cancelled with its follow-up requests: only the newest login counts.
  void login();
  // Logs in again with the stored name and password, when both are stored.
  void autoLogin();
  // Ends the session, forgets the stored password and cancels every pending login request.
  void logout();
  // The daily-user statistics request, on every activation of the application.
  void activedUserStat();
  // The "取消" bar button.
  void cancel();

  // The inputs and the verification state.
  [[nodiscard]] const std::optional<std::string>& username() const { return username_; }
  [[nodiscard]] const std::optional<std::string>& password() const { return password_; }
  [[nodiscard]] const std::optional<std::string>& verifyCode() const { return verifyCode_; }
  // Programmatic inputs also fill the shown rows, so that the end of an edit keeps them.
  void setUsername(std::optional<std::string> username);
  void setPassword(std::optional<std::string> password);
  void setVerifyCode(std::optional<std::string> verifyCode);
  [[nodiscard]] const std::optional<std::string>& qzVerify() const { return qzVerify_; }
  [[nodiscard]] const std::optional<std::string>& qzStoken() const { return qzStoken_; }
  [[nodiscard]] const std::optional<std::string>& qzTime() const { return qzTime_; }
  [[nodiscard]] const ui::Image& verifyImage() const { return verifyImage_; }
  [[nodiscard]] bool requiresVerifyCode() const { return !verifyImage_.isNull(); }

  // What is in flight (for the screens and tests that watch the exchange).
  [[nodiscard]] const HttpRequest* request() const { return request_.get(); }
  [[nodiscard]] const HttpRequest* activeRequest() const { return activeRequest_.get(); }
  [[nodiscard]] const HttpRequest* statRequest() const { return statRequest_.get(); }
  [[nodiscard]] const std::shared_ptr<LKPopupTextField>& activationPrompt() const {
    return activationPrompt_;
  }
  [[nodiscard]] const std::shared_ptr<ui::TableView>& tableView() const { return tableView_; }
  [[nodiscard]] const std::shared_ptr<ui::ImageView>& verifyImageView() const {
    return verifyImageView_;
  }
  // The text field of a row (0 name, 1 password, 2 code), while the view is loaded.
  [[nodiscard]] std::shared_ptr<ui::TextField> fieldAtRow(int row) const;

  // Life cycle.
  void loadView() override;
  void viewDidUnload() override;
  void viewWillAppear(bool animated) override;
  void viewDidAppear(bool animated) override;

  // The rows.
  int tableViewNumberOfRowsInSection(ui::TableView& tableView, int section) override;
  std::shared_ptr<ui::TableViewCell> tableViewCellForRowAtIndexPath(ui::TableView& tableView,
                                                                    ui::IndexPath ip) override;
  void tableViewDidSelectRowAtIndexPath(ui::TableView& tableView, ui::IndexPath ip) override;
  void scrollViewDidEndDragging(ui::ScrollView& scrollView, bool decelerate) override;

  // The keyboard flow.
  void textFieldDidEndEditing(ui::TextField& field) override;
  bool textFieldShouldReturn(ui::TextField& field) override;

  // The activation prompt.
  void alertViewClickedButtonAtIndex(ui::AlertView& alert, int index) override;

 private:
  void requestSucceeded(HttpRequest& request) override;
  void requestFailed(HttpRequest& request, const PlatformError& error) override;

  void loginAnswered(HttpRequest& request);
  void loginRefused(const PassportReply& reply);
  void verifyImageAnswered(HttpRequest& request);
  void accountStateAnswered(HttpRequest& request);
  void activationAnswered(HttpRequest& request);
  void requestVerifyImage();
  void requestAccountState();
  void activate(const std::string& nickname);
  void askForActivation();
  void loginSucceeded();
  // Cancels the exchange, its follow-up requests and a pending activation prompt.
  void cancelLoginExchange();
  void closeActivationPrompt();
  void copyFieldText(const ui::TextField& field);
  void showInRow(int row, const std::optional<std::string>& text);
  void hideKeyboard();
  void showFailure(const char* message);
  [[nodiscard]] bool isPresentedModally() const;
  void dismissModally();

  LoginViewControllerDelegate* delegate_ = nullptr;
  std::unique_ptr<HttpRequest> request_;        // login exchange or code picture
  std::unique_ptr<HttpRequest> activeRequest_;  // account state or activation
  std::unique_ptr<HttpRequest> statRequest_;    // daily-user statistics, apart from the login
  std::optional<std::string> username_;
  std::optional<std::string> password_;
  std::optional<std::string> verifyCode_;
  std::optional<std::string> qzVerify_;
  std::optional<std::string> qzStoken_;
  std::optional<std::string> qzTime_;
  // The name and password the running exchange was sent with: what a success records.
  std::optional<std::string> sentUsername_;
  std::optional<std::string> sentPassword_;
  ui::Image verifyImage_;
  std::shared_ptr<ui::ImageView> verifyImageView_;
  Observable<std::optional<std::string>> ssid_;
  bool canBeCancelled_ = false;
  std::shared_ptr<ui::TableView> tableView_;
  std::shared_ptr<LKPopupTextField> activationPrompt_;
  ObserverToken terminating_;
};

}  // namespace lk
