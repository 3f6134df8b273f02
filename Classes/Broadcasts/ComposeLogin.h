#pragma once

namespace lk {

class LoginViewController;
class LoginViewControllerDelegate;
namespace ui {
class ViewController;
}

// The composing screens ask for a login first: the shared login screen goes on top of their
// own stack (without animation, with "取消", which closes the whole stack), and comes off again
// once the login succeeded.

// Pushes the login screen above `screen` when nobody is logged in; returns whether it did.
bool pushLoginIfNeeded(ui::ViewController& screen, LoginViewControllerDelegate* delegate);
// Takes the login screen off `screen`'s stack after a login, and forgets the delegate.
void popLogin(ui::ViewController& screen, LoginViewController& login);

}  // namespace lk
