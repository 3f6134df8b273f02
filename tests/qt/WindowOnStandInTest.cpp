// The window's painter and input on the real client against the stand-in service, offscreen:
// checks on pixels that catch real faults (text outside its row, a tab not tinted, an alert
// that does not dim, a list that does not clip) without golden pictures.
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <cmath>
#include <functional>

#include "Platform/UI/AlertView.h"
#include "Platform/UI/Keyboard.h"
#include "Platform/UI/NavigationBar.h"
#include "Platform/UI/NavigationController.h"
#include "Platform/UI/ScreenInput.h"
#include "Platform/UI/TabBarController.h"
#include "Platform/UI/TableView.h"
#include "Platform/UI/TableViewCell.h"
#include "Platform/UI/TextField.h"
#include "Platform/UI/TextInput.h"
#include "Platform/UI/TextMeasure.h"
#include "Platform/UI/TextMetricsQt.h"
#include "Platform/UI/ViewController.h"
#include "Platform/UI/Window.h"
#include "frontends/qt/ChromeLayout.h"
#include "frontends/qt/PhoneWidget.h"
#include "frontends/qt/ScreenRenderer.h"
#include "frontends/qt/TouchInput.h"
#include "tests/qt/QtTestApp.h"
#include "tests/support/StandInCliSession.h"

namespace lk::test {
namespace {

constexpr double kScale = 2;

// Installed before the session starts, so that the screens are laid out with the faces the
// window paints with (as in the window).
struct WindowMetrics {
  WindowMetrics() {
    qtApplication();
    ui::TextMeasure::setMetrics(&metrics);
  }
  ~WindowMetrics() { ui::TextMeasure::setMetrics(nullptr); }
  ui::TextMetricsQt metrics;
};

class WindowOnStandIn : public WindowMetrics, public StandInCliSession {
 protected:
  QImage screen() { return qt::renderScreen(pictures, kScale); }
  // The rectangle of the picture that shows `r` (window points).
  static QRect pixels(const ui::Rect& r) {
    return QRect(static_cast<int>(std::floor(r.x() * kScale)),
                 static_cast<int>(std::floor(r.y() * kScale)),
                 static_cast<int>(std::ceil(r.width() * kScale)),
                 static_cast<int>(std::ceil(r.height() * kScale)));
  }
  ui::TableView* list() { return ui::ScreenInput().topTableView(); }
  std::shared_ptr<ui::TableViewCell> firstRow() {
    auto* table = list();
    return table != nullptr ? table->cellForRowAtIndexPath(ui::IndexPath{0, 0}) : nullptr;
  }
  // A finger from `from` to `to` in steps, as the window reports a mouse drag.
  void drag(ui::Point from, ui::Point to) {
    touches.press(from);
    for (int i = 1; i <= 10; ++i) {
      touches.move(ui::Point{from.x + (to.x - from.x) * i / 10, from.y + (to.y - from.y) * i / 10});
    }
    touches.release(to);
    session->settle();
  }

  qt::PictureStore pictures;
  qt::TouchInput touches;
};

int luminance(QRgb c) {
  return (qRed(c) * 299 + qGreen(c) * 587 + qBlue(c) * 114) / 1000;
}

double meanLuminance(const QImage& image, const QRect& area) {
  double sum = 0;
  int n = 0;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      sum += luminance(image.pixel(x, y));
      ++n;
    }
  }
  return n > 0 ? sum / n : 0;
}

bool tinted(QRgb c) {
  return qBlue(c) > 170 && qBlue(c) > qRed(c) + 80;
}

TEST_F(WindowOnStandIn, TheSelectedTabIsTintedAndTheOthersAreNot) {
  const QImage image = screen();
  auto* window = ui::Application::shared().keyWindow();
  ASSERT_NE(window, nullptr);
  const int tabs = 5;
  const double width = 320.0 / tabs;
  std::vector<int> counts;
  for (int i = 0; i < tabs; ++i) {
    const QRect icon = pixels(ui::Rect{i * width + width / 2 - 15, 431 + 3, 30, 30});
    int n = 0;
    for (int y = icon.top(); y <= icon.bottom(); ++y) {
      for (int x = icon.left(); x <= icon.right(); ++x)
        n += tinted(image.pixel(x, y)) ? 1 : 0;
    }
    counts.push_back(n);
  }
  EXPECT_GT(counts[0], 40) << "the search tab is selected at start";
  for (int i = 1; i < tabs; ++i)
    EXPECT_EQ(counts[static_cast<std::size_t>(i)], 0) << "tab " << i;

  run("tab 1");
  const QImage nearby = screen();
  const QRect second = pixels(ui::Rect{width + width / 2 - 15, 434, 30, 30});
  int n = 0;
  for (int y = second.top(); y <= second.bottom(); ++y) {
    for (int x = second.left(); x <= second.right(); ++x)
      n += tinted(nearby.pixel(x, y)) ? 1 : 0;
  }
  EXPECT_GT(n, 40) << "the tint follows the selection";
}

TEST_F(WindowOnStandIn, ARowsTextLiesInsideItsCellAndIsVisible) {
  run("search 火锅");
  auto cell = firstRow();
  ASSERT_NE(cell, nullptr);
  const QRect area = pixels(cell->frameInRoot());
  const QImage shown = screen();
  cell->setHidden(true);
  const QImage without = screen();
  cell->setHidden(false);
  int inside = 0;
  int dark = 0;
  int outside = 0;
  for (int y = 0; y < shown.height(); ++y) {
    for (int x = 0; x < shown.width(); ++x) {
      if (shown.pixel(x, y) == without.pixel(x, y)) continue;
      if (area.adjusted(-1, -1, 1, 1).contains(x, y)) {
        ++inside;
        dark += luminance(shown.pixel(x, y)) < 110 ? 1 : 0;
      } else {
        ++outside;
      }
    }
  }
  EXPECT_EQ(outside, 0) << "the row paints outside its cell";
  EXPECT_GT(dark, 200) << "the row's text is not visible (" << inside << " pixels changed)";
}

TEST_F(WindowOnStandIn, AnAlertDimsTheScreenBehindItAndItsButtonCloses) {
  const QImage before = screen();
  auto alert = std::make_shared<ui::AlertView>("提示", "网络连接失败", nullptr, std::string("确定"),
                                               std::vector<std::string>{});
  alert->show();
  ASSERT_TRUE(alert->isVisible());
  const QImage after = screen();
  // A strip beside the box, from the bar to the tab bar.
  const QRect beside = pixels(ui::Rect{0, 24, 12, 400});
  EXPECT_LT(meanLuminance(after, beside), 0.75 * meanLuminance(before, beside));

  const auto layout = qt::ChromeLayout::alert(*alert);
  ASSERT_EQ(layout.buttons.size(), 1u);
  const auto& button = layout.buttons[0];
  EXPECT_FALSE(touches.tap(ui::Point{5, 5})) << "nothing behind an alert takes a tap";
  EXPECT_TRUE(alert->isVisible());
  EXPECT_TRUE(
      touches.tap(ui::Point{button.x() + button.width() / 2, button.y() + button.height() / 2}));
  EXPECT_FALSE(alert->isVisible());
}

TEST_F(WindowOnStandIn, ADraggedListShowsItsLaterRowsAndClipsAtItsBounds) {
  run("search 火锅");
  auto* table = list();
  ASSERT_NE(table, nullptr);
  const ui::Rect frame = table->frameInRoot();
  // Without the bar over it, only the list's clipping keeps rows out of the area above it.
  auto* nav = table->window() != nullptr
                  ? dynamic_cast<ui::TabBarController*>(table->window()->rootViewController())
                  : nullptr;
  ASSERT_NE(nav, nullptr);
  auto* stack = dynamic_cast<ui::NavigationController*>(nav->selectedViewController());
  ASSERT_NE(stack, nullptr);
  stack->navigationBar()->setHidden(true);
  const QImage before = screen();
  drag(ui::Point{160, frame.maxY() - 20}, ui::Point{160, frame.y() + 30});
  EXPECT_GT(table->contentOffset().y, 100);
  const auto rows = table->indexPathsForVisibleRows();
  ASSERT_FALSE(rows.empty());
  EXPECT_GT(rows.front().row, 0) << "the first row scrolled away";
  const QImage after = screen();
  stack->navigationBar()->setHidden(false);
  const int top = static_cast<int>(frame.y() * kScale);
  for (int y = static_cast<int>(20 * kScale); y < top; ++y) {
    for (int x = 0; x < before.width(); ++x)
      ASSERT_EQ(before.pixel(x, y), after.pixel(x, y))
          << "row painted above the list at " << x << "," << y;
  }
  EXPECT_NE(before.copy(pixels(frame)), after.copy(pixels(frame)));
}

TEST_F(WindowOnStandIn, AClickOnAShopRowOpensTheShop) {
  run("search 火锅");
  auto cell = firstRow();
  ASSERT_NE(cell, nullptr);
  const ui::Rect r = cell->frameInRoot();
  touches.press(ui::Point{r.x() + r.width() / 2, r.y() + r.height() / 2});
  touches.release(ui::Point{r.x() + r.width() / 2 + 2, r.y() + r.height() / 2 + 1});
  session->settle();
  EXPECT_NE(ui::Application::shared().dumpScreen().find("navbar: 商户详情"), std::string::npos)
      << ui::Application::shared().dumpScreen();
}

TEST_F(WindowOnStandIn, ADragPastTheEndLoadsTheNextPage) {
  run("search 火锅");
  auto* table = list();
  ASSERT_NE(table, nullptr);
  ASSERT_EQ(table->numberOfRowsInSection(0), 15);
  const ui::Rect frame = table->frameInRoot();
  for (int i = 0; i < 20 && table->contentOffset().y < table->maxOffsetY() - 1; ++i)
    drag(ui::Point{160, frame.maxY() - 10}, ui::Point{160, frame.y() + 10});
  ASSERT_NEAR(table->contentOffset().y, table->maxOffsetY(), 1);
  EXPECT_EQ(table->numberOfRowsInSection(0), 15) << "scrolling to the end loads nothing";
  drag(ui::Point{160, frame.maxY() - 10}, ui::Point{160, frame.maxY() - 90});
  EXPECT_GT(table->numberOfRowsInSection(0), 15) << "the second page (the stand-in has 27 shops)";
  EXPECT_EQ(logged("&p=1&n=15", 1).size(), 1u) << "the next page was asked for once";
}

TEST_F(WindowOnStandIn, TypedChineseTextReachesTheFocusedField) {
  qt::PhoneWidget window(kScale);
  // The search tab's field, clicked where it is painted.
  std::function<ui::TextField*(ui::View&)> findField = [&](ui::View& v) -> ui::TextField* {
    if (auto* f = dynamic_cast<ui::TextField*>(&v); f != nullptr && v.isVisibleInTree()) return f;
    for (const auto& child : v.subviews()) {
      if (auto* f = findField(*child)) return f;
    }
    return nullptr;
  };
  ui::TextField* searchField = findField(*ui::Application::shared().keyWindow());
  ASSERT_NE(searchField, nullptr);
  const ui::Rect r = searchField->frameInRoot();
  EXPECT_TRUE(window.touches().tap(ui::Point{r.x() + 20, r.y() + r.height() / 2}));
  session->settle();
  ui::TextInput* field = ui::Keyboard::shared().firstResponder();
  ASSERT_NE(field, nullptr) << ui::Application::shared().dumpScreen();
  const std::string before = field->text();

  QInputMethodEvent composing(QStringLiteral("huoguo"), {});
  QApplication::sendEvent(&window, &composing);
  EXPECT_EQ(field->text(), before) << "text still being composed is not typed";
  QInputMethodEvent committed;
  committed.setCommitString(QStringLiteral("火锅"));
  QApplication::sendEvent(&window, &committed);
  session->settle();
  field = ui::Keyboard::shared().firstResponder();
  ASSERT_NE(field, nullptr);
  EXPECT_EQ(field->text(), before + "火锅");

  QKeyEvent backspace(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
  QApplication::sendEvent(&window, &backspace);
  QKeyEvent letter(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
  QApplication::sendEvent(&window, &letter);
  session->settle();
  field = ui::Keyboard::shared().firstResponder();
  ASSERT_NE(field, nullptr);
  EXPECT_EQ(field->text(), before + "火a");
}

}  // namespace
}  // namespace lk::test
