#pragma once

#include <memory>
#include <string>
#include <vector>

#include "Platform/UI/NavigationItem.h"
#include "Platform/UI/TabBarItem.h"
#include "Platform/UI/View.h"

namespace lk::ui {

class NavigationController;
class TabBarController;

// The base of every screen: a lazily built view, a title, the bar items, the appearance
// life cycle and modal presentation. Containers (navigation and tab bar controllers) hold their
// children as shared pointers; the link back to the parent is a plain pointer they clear.
class ViewController : public std::enable_shared_from_this<ViewController> {
 public:
  enum class Appearance { kDisappeared, kAppearing, kAppeared, kDisappearing };

  ViewController();
  ViewController(const ViewController&) = delete;
  ViewController& operator=(const ViewController&) = delete;
  virtual ~ViewController();

  // The screen's title; the navigation bar shows it unless the navigation item has its own.
  [[nodiscard]] const std::string& title() const { return title_; }
  void setTitle(std::string title) { title_ = std::move(title); }
  [[nodiscard]] TabBarItem& tabBarItem() { return tabBarItem_; }
  [[nodiscard]] const TabBarItem& tabBarItem() const { return tabBarItem_; }
  void setTabBarItem(TabBarItem item) { tabBarItem_ = std::move(item); }
  [[nodiscard]] NavigationItem& navigationItem() { return navigationItem_; }
  [[nodiscard]] const NavigationItem& navigationItem() const { return navigationItem_; }
  // The tab bar is hidden while this screen is on top of a stack inside a tab bar controller.
  bool hidesBottomBarWhenPushed = false;

  // The view, built on first use by loadView() followed by viewDidLoad().
  const std::shared_ptr<View>& view();
  [[nodiscard]] bool isViewLoaded() const { return view_ != nullptr; }
  void setView(std::shared_ptr<View> view) { view_ = std::move(view); }
  // Drops the view when it is not on screen (as a memory warning does) and calls viewDidUnload.
  // Returns whether it did.
  bool unloadView();

  // Life cycle hooks.
  virtual void loadView();
  virtual void viewDidLoad() {}
  virtual void viewDidUnload() {}
  virtual void viewWillAppear(bool /*animated*/) {}
  virtual void viewDidAppear(bool /*animated*/) {}
  virtual void viewWillDisappear(bool /*animated*/) {}
  virtual void viewDidDisappear(bool /*animated*/) {}
  // Default: unloads the view when it is not on screen.
  virtual void didReceiveMemoryWarning();

  // Containment.
  [[nodiscard]] ViewController* parentViewController() const { return parent_; }
  [[nodiscard]] NavigationController* navigationController() const;
  [[nodiscard]] TabBarController* tabBarController() const;

  // Modal presentation over the whole window. A presenter keeps the presented screen alive
  // until it is dismissed. `animated` is recorded (lastModalAnimated) but takes no time.
  void presentModalViewController(const std::shared_ptr<ViewController>& vc, bool animated);
  // Dismisses what this screen presented, or, when it presented nothing, the modal screen it
  // belongs to.
  void dismissModalViewController(bool animated);
  [[nodiscard]] ViewController* modalViewController() const { return presented_.get(); }
  [[nodiscard]] ViewController* presentingViewController() const { return presenting_; }
  [[nodiscard]] bool lastModalAnimated() const { return lastModalAnimated_; }

  // Appearance transitions, driven by containers and windows. Hooks run once per transition
  // and children follow their parent.
  void beginAppearanceTransition(bool appearing, bool animated);
  void endAppearanceTransition(bool animated);
  [[nodiscard]] Appearance appearance() const { return appearance_; }
  // True between viewDidAppear and viewWillDisappear.
  [[nodiscard]] bool isVisible() const { return appearance_ == Appearance::kAppeared; }

  // The child screens that appear with this one (containers override).
  [[nodiscard]] virtual std::vector<ViewController*> visibleChildren() const { return {}; }
  // A child container changed what it shows (tab bar visibility may change).
  virtual void childDidChange() {}

 protected:
  // Containers adopt and release children.
  static void setParent(ViewController& child, ViewController* parent) { child.parent_ = parent; }
  // The root of the containment tree this screen belongs to.
  [[nodiscard]] ViewController* rootAncestor();

 private:
  std::string title_;
  TabBarItem tabBarItem_;
  NavigationItem navigationItem_;
  std::shared_ptr<View> view_;
  ViewController* parent_ = nullptr;
  std::shared_ptr<ViewController> presented_;
  ViewController* presenting_ = nullptr;
  bool lastModalAnimated_ = false;
  Appearance appearance_ = Appearance::kDisappeared;
};

// Keeps screens taken off a stack or dismissed alive until a later turn of the main loop, so
// that none is destroyed while one of its own methods is still running.
void releaseLater(std::vector<std::shared_ptr<ViewController>> screens);

}  // namespace lk::ui
