#pragma once

namespace lk {

class LoginViewController;

// Told when a login finished, by screens that continue after it (they embed the login screen
// instead of having it presented). The login controller does not own its delegate; a delegate
// that goes away is forgotten by it, so it is never called afterwards.
class LoginViewControllerDelegate {
 public:
  LoginViewControllerDelegate() = default;
  LoginViewControllerDelegate(const LoginViewControllerDelegate&) = delete;
  LoginViewControllerDelegate& operator=(const LoginViewControllerDelegate&) = delete;
  virtual ~LoginViewControllerDelegate();

  virtual void loginSucceed(LoginViewController& /*controller*/) {}
};

}  // namespace lk
