#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Platform/Notifications/NotificationCenter.h"
#include "Platform/UI/Application.h"
#include "Platform/UI/Label.h"
#include "Platform/UI/NavigationController.h"
#include "Platform/UI/ScreenInput.h"
#include "Platform/UI/TabBarController.h"
#include "Platform/UI/Window.h"
#include "tests/support/TestSupport.h"

namespace lk::ui {
namespace {

// A screen that records its life cycle into a shared log and shows one label.
class Screen : public ViewController {
 public:
  Screen(std::string name, std::vector<std::string>* log) : name_(std::move(name)), log_(log) {
    setTitle(name_);
  }
  void loadView() override {
    ViewController::loadView();
    view()->addSubview(std::make_shared<Label>(Rect{0, 0, 320, 20}, "content of " + name_));
    note("load");
  }
  void viewDidLoad() override { note("didLoad"); }
  void viewWillAppear(bool a) override { note(a ? "willAppear(a)" : "willAppear"); }
  void viewDidAppear(bool) override { note("didAppear"); }
  void viewWillDisappear(bool) override { note("willDisappear"); }
  void viewDidDisappear(bool) override { note("didDisappear"); }

 private:
  void note(const std::string& what) {
    if (log_ != nullptr) log_->push_back(name_ + "." + what);
  }
  std::string name_;
  std::vector<std::string>* log_;
};

class Fixture : public ::testing::Test {
 protected:
  void SetUp() override { Application::resetSharedInstanceForTesting(); }
  void TearDown() override { Application::resetSharedInstanceForTesting(); }
  std::shared_ptr<Screen> screen(const std::string& name) {
    return std::make_shared<Screen>(name, &log);
  }
  test::ScopedMainLoop loop;
  std::vector<std::string> log;
};

using NavigationStack = Fixture;

TEST_F(NavigationStack, PushAndPopRunTheAppearanceHooksInOrder) {
  auto root = screen("A");
  auto nav = std::make_shared<NavigationController>(root);
  Window window;
  window.setRootViewController(nav);
  window.makeKeyAndVisible();
  EXPECT_EQ(log, (std::vector<std::string>{"A.load", "A.didLoad", "A.willAppear", "A.didAppear"}));
  log.clear();

  auto b = screen("B");
  nav->pushViewController(b, true);
  EXPECT_TRUE(nav->lastTransitionAnimated());
  EXPECT_EQ(log, (std::vector<std::string>{"A.willDisappear", "B.load", "B.didLoad",
                                           "B.willAppear(a)", "A.didDisappear", "B.didAppear"}));
  EXPECT_EQ(b->navigationController(), nav.get());
  log.clear();

  EXPECT_EQ(nav->popViewController(false), b);
  EXPECT_FALSE(nav->lastTransitionAnimated());
  EXPECT_EQ(log, (std::vector<std::string>{"B.willDisappear", "A.willAppear", "B.didDisappear",
                                           "A.didAppear"}));
  EXPECT_EQ(b->navigationController(), nullptr);
  EXPECT_EQ(nav->popViewController(true), nullptr) << "the root is never popped";
}

TEST_F(NavigationStack, PopToRootSkipsTheMiddleScreensHooks) {
  auto nav = std::make_shared<NavigationController>(screen("A"));
  Window window;
  window.setRootViewController(nav);
  window.makeKeyAndVisible();
  nav->pushViewController(screen("B"), false);
  nav->pushViewController(screen("C"), false);
  log.clear();
  auto popped = nav->popToRootViewController(true);
  ASSERT_EQ(popped.size(), 2u);
  EXPECT_EQ(popped[0]->title(), "B");
  EXPECT_EQ(log, (std::vector<std::string>{"C.willDisappear", "A.willAppear(a)", "C.didDisappear",
                                           "A.didAppear"}));
  EXPECT_EQ(nav->viewControllers().size(), 1u);
}

TEST_F(NavigationStack, ScreensOffScreenGetNoHooksUntilShown) {
  auto nav = std::make_shared<NavigationController>(screen("A"));
  nav->pushViewController(screen("B"), false);
  EXPECT_TRUE(log.empty());
  Window window;
  window.setRootViewController(nav);
  window.makeKeyAndVisible();
  EXPECT_EQ(log, (std::vector<std::string>{"B.load", "B.didLoad", "B.willAppear", "B.didAppear"}));
}

TEST_F(NavigationStack, BackButtonFollowsTheScreenBelow) {
  auto a = screen("优惠");
  auto nav = std::make_shared<NavigationController>(a);
  Window window;
  window.setRootViewController(nav);
  window.makeKeyAndVisible();
  auto bar = nav->navigationBar();
  EXPECT_FALSE(bar->backButtonTitle()) << "no back button on the root";
  nav->pushViewController(screen("详情"), true);
  EXPECT_EQ(bar->backButtonTitle(), "优惠");
  EXPECT_EQ(window.dumpText(), "label: content of 详情\nnavbar: 详情  back: [优惠]\n");
  a->setTitle("");
  EXPECT_EQ(bar->backButtonTitle(), "Back");
  EXPECT_TRUE(bar->tapBackButton());
  EXPECT_TRUE(nav->lastTransitionAnimated());
  EXPECT_EQ(nav->viewControllers().size(), 1u);
  EXPECT_FALSE(bar->tapBackButton());
}

TEST_F(NavigationStack, BarItemsAppearInTheDumpAndRespondToTaps) {
  auto a = screen("播报");
  int taps = 0;
  a->navigationItem().rightBarButtonItem = BarButtonItem::withTitle(
      "发布播报", BarButtonItem::Style::kBordered, [&](BarButtonItem&) { ++taps; });
  auto nav = std::make_shared<NavigationController>(a);
  Window window;
  window.setRootViewController(nav);
  window.makeKeyAndVisible();
  EXPECT_EQ(window.dumpText(), "label: content of 播报\nnavbar: 播报  right: [发布播报]\n");
  EXPECT_TRUE(nav->navigationBar()->rightItem()->tap());
  nav->navigationBar()->rightItem()->setEnabled(false);
  EXPECT_FALSE(nav->navigationBar()->rightItem()->tap());
  EXPECT_EQ(taps, 1);
  nav->setNavigationBarHidden(true, false);
  EXPECT_EQ(window.dumpText(), "label: content of 播报\n");
  EXPECT_EQ(a->view()->frame().y(), 0);
}

TEST_F(NavigationStack, ModalScreenCoversEverythingUntilDismissed) {
  auto a = screen("A");
  auto nav = std::make_shared<NavigationController>(a);
  Window window;
  window.setRootViewController(nav);
  window.makeKeyAndVisible();
  log.clear();
  auto m = screen("M");
  a->presentModalViewController(m, true);
  EXPECT_EQ(nav->modalViewController(), m.get()) << "the root container presents";
  EXPECT_EQ(nav->visibleViewController(), m.get());
  EXPECT_TRUE(nav->lastModalAnimated());
  EXPECT_EQ(log, (std::vector<std::string>{"A.willDisappear", "M.load", "M.didLoad",
                                           "M.willAppear(a)", "A.didDisappear", "M.didAppear"}));
  EXPECT_EQ(window.dumpText(), "label: content of A\nnavbar: A\nlabel: content of M\n");
  log.clear();
  m->dismissModalViewController(false);
  EXPECT_EQ(log, (std::vector<std::string>{"M.willDisappear", "A.willAppear", "M.didDisappear",
                                           "A.didAppear"}));
  EXPECT_EQ(nav->modalViewController(), nullptr);
  EXPECT_EQ(window.dumpText(), "label: content of A\nnavbar: A\n");
}

// A screen that puts another one in front of itself as its view loads (a login screen).
class CoveredScreen : public Screen {
 public:
  CoveredScreen(std::vector<std::string>* log, std::shared_ptr<ViewController> cover)
      : Screen("E", log), cover_(std::move(cover)) {}
  void viewDidLoad() override {
    Screen::viewDidLoad();
    navigationController()->pushViewController(cover_, false);
  }

 private:
  std::shared_ptr<ViewController> cover_;
};

TEST_F(NavigationStack, APushAsTheRootLoadsShowsThePushedScreen) {
  auto a = screen("A");
  auto nav = std::make_shared<NavigationController>(a);
  Window window;
  window.setRootViewController(nav);
  window.makeKeyAndVisible();
  auto login = screen("L");
  auto stack = std::make_shared<NavigationController>(std::make_shared<CoveredScreen>(&log, login));
  log.clear();
  a->presentModalViewController(stack, true);
  EXPECT_EQ(stack->topViewController(), login.get());
  EXPECT_EQ(window.dumpText(),
            "label: content of A\nnavbar: A\nlabel: content of L\nnavbar: L  back: [E]\n")
      << "only the pushed screen's view is in the stack";
  EXPECT_EQ(login->appearance(), ViewController::Appearance::kAppeared);
  log.clear();
  stack->popViewController(false);
  EXPECT_EQ(window.dumpText(), "label: content of A\nnavbar: A\nlabel: content of E\nnavbar: E\n");
  EXPECT_EQ(log, (std::vector<std::string>{"L.willDisappear", "E.willAppear", "L.didDisappear",
                                           "E.didAppear"}));
}

class RecordingTabDelegate : public TabBarControllerDelegate {
 public:
  bool tabBarControllerShouldSelectViewController(TabBarController&, ViewController& vc) override {
    asked.push_back(vc.title());
    return vc.title() != "禁止";
  }
  void tabBarControllerDidSelectViewController(TabBarController& tbc, ViewController&) override {
    selected.push_back(tbc.selectedIndex());
  }
  std::vector<std::string> asked;
  std::vector<int> selected;
};

using TabBar = Fixture;

TEST_F(TabBar, UserSelectionGoesThroughTheDelegateProgrammaticDoesNot) {
  auto tabs = std::make_shared<TabBarController>();
  RecordingTabDelegate delegate;
  tabs->setDelegate(&delegate);
  auto s = std::make_shared<NavigationController>(screen("搜索"));
  auto n = std::make_shared<NavigationController>(screen("附近"));
  auto x = std::make_shared<NavigationController>(screen("禁止"));
  s->setTitle("搜索");
  s->tabBarItem().title = "搜索";
  n->tabBarItem().title = "附近";
  x->tabBarItem().title = "禁止";
  x->setTitle("禁止");
  tabs->setViewControllers({s, n, x});
  Window window;
  window.setRootViewController(tabs);
  window.makeKeyAndVisible();
  EXPECT_EQ(window.dumpText(),
            "label: content of 搜索\nnavbar: 搜索\ntabbar: [搜索] | 附近 | 禁止\n");
  log.clear();

  tabs->setSelectedIndex(1);
  EXPECT_TRUE(delegate.selected.empty());
  EXPECT_EQ(log,
            (std::vector<std::string>{"搜索.willDisappear", "附近.load", "附近.didLoad",
                                      "附近.willAppear", "搜索.didDisappear", "附近.didAppear"}));

  EXPECT_TRUE(tabs->selectTabAsUser(0));
  EXPECT_EQ(delegate.selected, std::vector<int>{0});
  EXPECT_FALSE(tabs->selectTabAsUser("禁止"));
  EXPECT_EQ(tabs->selectedIndex(), 0);
  EXPECT_EQ(delegate.asked, (std::vector<std::string>{"搜索", "禁止"}));
  EXPECT_FALSE(tabs->selectTabAsUser(7));
}

TEST_F(TabBar, TouchingTheSelectedStackPopsItToItsRootAndStillTellsTheDelegate) {
  auto tabs = std::make_shared<TabBarController>();
  RecordingTabDelegate delegate;
  tabs->setDelegate(&delegate);
  auto s = std::make_shared<NavigationController>(screen("A"));
  tabs->setViewControllers({s});
  Window window;
  window.setRootViewController(tabs);
  window.makeKeyAndVisible();
  s->pushViewController(screen("B"), false);
  EXPECT_TRUE(tabs->selectTabAsUser(0));
  EXPECT_EQ(s->viewControllers().size(), 1u);
  EXPECT_EQ(delegate.selected, std::vector<int>{0});
}

TEST_F(TabBar, NewSetKeepsTheSelectedScreenWhenStillPresent) {
  auto tabs = std::make_shared<TabBarController>();
  auto a = screen("A"), b = screen("B"), c = screen("C");
  tabs->setViewControllers({a, b, c});
  tabs->setSelectedIndex(2);
  tabs->setViewControllers({a, c});
  EXPECT_EQ(tabs->selectedIndex(), 1);
  EXPECT_EQ(b->parentViewController(), nullptr);
  tabs->setViewControllers({b});
  EXPECT_EQ(tabs->selectedIndex(), 0);
  EXPECT_EQ(c->tabBarController(), nullptr);
  tabs->setViewControllers({});
  EXPECT_EQ(tabs->selectedIndex(), -1);
  EXPECT_EQ(tabs->selectedViewController(), nullptr);
}

TEST_F(TabBar, ViewsOutlivingTheirControllersDumpWithoutThem) {
  std::shared_ptr<View> kept;
  {
    auto tabs = std::make_shared<TabBarController>();
    auto nav = std::make_shared<NavigationController>(screen("A"));
    tabs->setViewControllers({nav});
    kept = tabs->view();
  }
  EXPECT_EQ(kept->dumpText(), "label: content of A\n");
  ScreenInput input(kept.get());
  EXPECT_FALSE(input.tapAt({20, 20}));
  EXPECT_FALSE(input.tap("A"));
}

TEST_F(TabBar, PushedScreenCanHideTheTabBar) {
  auto tabs = std::make_shared<TabBarController>();
  auto nav = std::make_shared<NavigationController>(screen("A"));
  nav->tabBarItem().title = "A";
  tabs->setViewControllers({nav});
  Window window;
  window.setRootViewController(tabs);
  window.makeKeyAndVisible();
  auto detail = screen("D");
  detail->hidesBottomBarWhenPushed = true;
  EXPECT_EQ(nav->view()->frame().height(), 411);
  nav->pushViewController(detail, true);
  EXPECT_EQ(window.dumpText(), "label: content of D\nnavbar: D  back: [A]\n");
  EXPECT_EQ(detail->view()->frame().height(), 416);
  nav->popViewController(true);
  EXPECT_EQ(window.dumpText(), "label: content of A\nnavbar: A\ntabbar: [A]\n");
  EXPECT_EQ(nav->topViewController()->view()->frame().height(), 367);
}

class RecordingAppDelegate : public ApplicationDelegate {
 public:
  bool applicationDidFinishLaunching(Application&) override {
    events.push_back("launch");
    return true;
  }
  void applicationDidBecomeActive(Application&) override { events.push_back("active"); }
  void applicationWillResignActive(Application&) override { events.push_back("resign"); }
  void applicationDidEnterBackground(Application&) override { events.push_back("background"); }
  void applicationWillEnterForeground(Application&) override { events.push_back("foreground"); }
  void applicationWillTerminate(Application&) override { events.push_back("terminate"); }
  void applicationDidReceiveMemoryWarning(Application&) override { events.push_back("memory"); }
  std::vector<std::string> events;
};

using ApplicationLifeCycle = Fixture;

TEST_F(ApplicationLifeCycle, EventsReachTheDelegateInTheHandsetsOrder) {
  RecordingAppDelegate delegate;
  auto& app = Application::shared();
  app.setDelegate(&delegate);
  int memoryNotes = 0;
  auto token = NotificationCenter::defaultCenter().addObserver(
      kApplicationDidReceiveMemoryWarningNotification, [&](const Notification&) { ++memoryNotes; });
  EXPECT_TRUE(app.launch());
  EXPECT_EQ(app.state(), Application::State::kActive);
  app.enterBackground();
  EXPECT_EQ(app.state(), Application::State::kBackground);
  app.enterForeground();
  app.receiveMemoryWarning();
  app.terminate();
  EXPECT_EQ(delegate.events,
            (std::vector<std::string>{"launch", "active", "resign", "background", "foreground",
                                      "active", "memory", "terminate"}));
  EXPECT_EQ(memoryNotes, 1);
}

TEST_F(ApplicationLifeCycle, KeyWindowIsForgottenWhenItGoes) {
  {
    Window window;
    window.makeKeyAndVisible();
    EXPECT_EQ(Application::shared().keyWindow(), &window);
    EXPECT_TRUE(window.isKeyWindow());
  }
  EXPECT_EQ(Application::shared().keyWindow(), nullptr);
  EXPECT_EQ(Application::shared().dumpScreen(), "");
}

TEST_F(ApplicationLifeCycle, MemoryWarningUnloadsOnlyViewsOffScreen) {
  auto a = screen("A");
  auto nav = std::make_shared<NavigationController>(a);
  Window window;
  window.setRootViewController(nav);
  window.makeKeyAndVisible();
  auto b = screen("B");
  nav->pushViewController(b, false);
  b->didReceiveMemoryWarning();
  EXPECT_TRUE(b->isViewLoaded());
  a->didReceiveMemoryWarning();
  EXPECT_FALSE(a->isViewLoaded());
  log.clear();
  nav->popViewController(false);
  EXPECT_EQ(log.front(), "B.willDisappear");
  EXPECT_NE(std::find(log.begin(), log.end(), "A.load"), log.end()) << "rebuilt on return";
  EXPECT_EQ(window.dumpText(), "label: content of A\nnavbar: A\n");
}

}  // namespace
}  // namespace lk::ui

namespace lk::ui {
namespace {

TEST_F(TabBar, ClicksAtPointsReachTabsBackButtonsAndTapHandlers) {
  auto tabs = std::make_shared<TabBarController>();
  auto first = std::make_shared<NavigationController>(screen("A"));
  auto second = std::make_shared<NavigationController>(screen("B"));
  first->tabBarItem().title = "A";
  second->tabBarItem().title = "B";
  tabs->setViewControllers({first, second});
  Window window;
  window.setRootViewController(tabs);
  window.makeKeyAndVisible();
  ScreenInput input;
  EXPECT_TRUE(input.tapAt({300, 460}));  // right half of the tab bar
  EXPECT_EQ(tabs->selectedIndex(), 1);
  second->pushViewController(screen("C"), false);
  EXPECT_TRUE(input.tapAt({20, 40}));  // the left third of the navigation bar: back
  EXPECT_EQ(second->viewControllers().size(), 1u);
  int taps = 0;
  auto popup = std::make_shared<View>(Rect{0, 0, 320, 480});
  popup->setTapHandler([&](View& v) {
    ++taps;
    v.removeFromSuperview();
  });
  window.addSubview(popup);
  EXPECT_TRUE(input.tapAt({160, 300}));
  EXPECT_EQ(taps, 1);
  EXPECT_EQ(popup->superview(), nullptr);
  EXPECT_FALSE(input.tapAt({500, 500})) << "outside the screen";
}

}  // namespace
}  // namespace lk::ui
