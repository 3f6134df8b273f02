#include "Classes/Broadcasts/ComposeLogin.h"

#include "Classes/Account/LoginViewController.h"
#include "Platform/UI/NavigationController.h"

namespace lk {

bool pushLoginIfNeeded(ui::ViewController& screen, LoginViewControllerDelegate* delegate) {
  if (LoginViewController::sharedInstance().isLogin()) return false;
  auto* stack = screen.navigationController();
  if (stack == nullptr) return false;
  auto login = LoginViewController::sharedPointer();
  // The screen belongs to one stack at a time; one still showing elsewhere stays there.
  if (login->parentViewController() != nullptr && login->parentViewController() != stack) {
    return false;
  }
  login->setCanBeCancelled(true);
  login->setDelegate(delegate);
  // The cover of the user centre gives way.
  if (login->isViewLoaded() && login->parentViewController() == nullptr) {
    login->view()->removeFromSuperview();
  }
  stack->pushViewController(login, false);
  return true;
}

void popLogin(ui::ViewController& screen, LoginViewController& login) {
  login.setDelegate(nullptr);
  auto* stack = screen.navigationController();
  if (stack == nullptr || login.parentViewController() != stack) return;
  stack->popToViewController(&screen, false);
}

}  // namespace lk
