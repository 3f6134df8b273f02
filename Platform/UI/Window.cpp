#include "Platform/UI/Window.h"

#include "Platform/UI/Application.h"
#include "Platform/UI/ViewController.h"

namespace lk::ui {

Window::Window(Rect frame) : View(frame) {
  Application::shared().registerWindow(this);
}

Window::~Window() {
  Application::shared().unregisterWindow(this);
}

void Window::setRootViewController(std::shared_ptr<ViewController> vc) {
  if (vc == root_) return;
  if (root_) {
    if (visible_) root_->beginAppearanceTransition(false, false);
    if (root_->isViewLoaded()) root_->view()->removeFromSuperview();
    if (visible_) root_->endAppearanceTransition(false);
  }
  root_ = std::move(vc);
  if (!root_) return;
  if (visible_) root_->beginAppearanceTransition(true, false);
  const auto& view = root_->view();
  view->setFrame(Application::shared().applicationFrame());
  insertSubview(view, 0);
  if (visible_) root_->endAppearanceTransition(false);
}

void Window::makeKeyAndVisible() {
  Application::shared().setKeyWindow(this);
  if (visible_) return;
  visible_ = true;
  if (root_) {
    root_->beginAppearanceTransition(true, false);
    root_->endAppearanceTransition(false);
  }
}

bool Window::isKeyWindow() const {
  return Application::shared().keyWindow() == this;
}

}  // namespace lk::ui
