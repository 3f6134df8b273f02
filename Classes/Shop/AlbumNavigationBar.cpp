#include "Classes/Shop/AlbumNavigationBar.h"

#include "Classes/Toolkit/LKNavigationController.h"
#include "Platform/RunLoop/RunLoop.h"
#include "Platform/UI/NavigationController.h"

namespace lk {

void AlbumNavigationBar::makeTranslucent(ui::ViewController& screen) {
  if (auto* nav = screen.navigationController()) {
    const auto& bar = nav->navigationBar();
    bar->setTag(1);
    bar->setBackgroundColor(ui::Color::gray(0, 0.5));
  }
}

void AlbumNavigationBar::restore(ui::ViewController& screen) {
  if (auto* nav = screen.navigationController()) {
    const auto& bar = nav->navigationBar();
    bar->setTag(0);
    bar->setBackgroundColor(ui::Color::clear());
  }
}

void AlbumNavigationBar::addCloseButton(ui::ViewController& screen) {
  ui::ViewController* target = &screen;
  screen.navigationItem().leftBarButtonItem = LKNavigationController::buttonItemWithTitle(
      LKNavigationController::kDefaultBackTitle, [target] {
        // The stack leaves the screen inside this call; it is released on a later turn.
        ui::ViewController* root = target;
        while (root->parentViewController() != nullptr)
          root = root->parentViewController();
        RunLoop::main().post([keep = root->shared_from_this()] {});
        target->dismissModalViewController(true);
      });
}

}  // namespace lk
