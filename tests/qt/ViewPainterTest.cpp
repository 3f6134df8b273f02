// The painter on small trees of the toolkit's views, offscreen.
#include <gtest/gtest.h>

#include <memory>

#include "Platform/UI/ImageView.h"
#include "Platform/UI/Label.h"
#include "Platform/UI/View.h"
#include "frontends/qt/ScreenRenderer.h"
#include "frontends/qt/WindowOptions.h"
#include "tests/qt/QtTestApp.h"

namespace lk::test {
namespace {

class ViewPainterTest : public ::testing::Test {
 protected:
  ViewPainterTest() {
    qtApplication();
    root->setBackgroundColor(ui::Color::white());
  }
  QImage paint() { return qt::renderScreen(pictures, 1, 0, root.get()); }

  std::shared_ptr<ui::View> root = std::make_shared<ui::View>(ui::Rect{0, 0, 320, 480});
  qt::PictureStore pictures;
};

bool magenta(QRgb c) {
  return qRed(c) > 200 && qBlue(c) > 200 && qGreen(c) < 120;
}

TEST_F(ViewPainterTest, AMissingPictureIsMarkedWhereItWouldBe) {
  root->addSubview(std::make_shared<ui::ImageView>(ui::Rect{10, 40, 40, 40},
                                                   ui::Image::named("no_such_picture")));
  root->addSubview(std::make_shared<ui::ImageView>(ui::Rect{100, 40, 40, 40},
                                                   ui::Image::named("tabbar_item_search.png")));
  const QImage image = paint();
  int marked = 0;
  for (int y = 30; y < 90; ++y) {
    for (int x = 0; x < 60; ++x) {
      if (!magenta(image.pixel(x, y))) continue;
      ASSERT_TRUE(QRect(9, 39, 42, 42).contains(x, y)) << "the mark stays in the picture's place";
      ++marked;
    }
  }
  EXPECT_GT(marked, 60);
  EXPECT_EQ(pictures.missingNames(), std::vector<std::string>{"no_such_picture"});
  for (int y = 40; y < 80; ++y) {
    for (int x = 100; x < 140; ++x)
      ASSERT_FALSE(magenta(image.pixel(x, y))) << "a picture that exists is not marked";
  }
}

TEST_F(ViewPainterTest, AFlippedPictureIsPaintedUpsideDown) {
  auto bitmap = std::make_shared<ui::Bitmap>();
  bitmap->width = 1;
  bitmap->height = 2;
  bitmap->rgba = {255, 0, 0, 255, 0, 0, 255, 255};  // red above blue
  const auto picture = ui::Image::fromBitmap(bitmap);
  root->addSubview(std::make_shared<ui::ImageView>(ui::Rect{0, 40, 20, 40}, picture));
  root->addSubview(
      std::make_shared<ui::ImageView>(ui::Rect{40, 40, 20, 40}, picture.flippedUpsideDown()));
  const QImage image = paint();
  EXPECT_GT(qRed(image.pixel(10, 45)), 200);
  EXPECT_GT(qBlue(image.pixel(10, 75)), 200);
  EXPECT_GT(qBlue(image.pixel(50, 45)), 200);
  EXPECT_GT(qRed(image.pixel(50, 75)), 200);
}

TEST_F(ViewPainterTest, RoundedCornersBordersAndHiddenSubtrees) {
  auto box = std::make_shared<ui::View>(ui::Rect{20, 40, 100, 100});
  box->setBackgroundColor(ui::Color::black());
  box->cornerRadius = 20;
  box->clipsToBounds = true;
  auto inner = std::make_shared<ui::View>(ui::Rect{-50, -50, 300, 300});  // bigger than the box
  inner->setBackgroundColor(ui::Color::rgb(0, 200, 0));
  box->addSubview(inner);
  root->addSubview(box);
  auto hidden = std::make_shared<ui::View>(ui::Rect{200, 40, 50, 50});
  hidden->setBackgroundColor(ui::Color::black());
  hidden->setHidden(true);
  root->addSubview(hidden);
  auto bordered = std::make_shared<ui::View>(ui::Rect{200, 200, 50, 50});
  bordered->borderWidth = 2;
  bordered->borderColor = ui::Color::rgb(255, 0, 0);
  root->addSubview(bordered);

  const QImage image = paint();
  EXPECT_EQ(qGreen(image.pixel(70, 90)), 200) << "the subview fills the box";
  EXPECT_EQ(image.pixel(21, 41), qRgb(255, 255, 255)) << "cut at the rounded corner";
  EXPECT_EQ(image.pixel(130, 90), qRgb(255, 255, 255)) << "cut at the box's side";
  EXPECT_EQ(image.pixel(220, 60), qRgb(255, 255, 255)) << "a hidden view paints nothing";
  EXPECT_GT(qRed(image.pixel(225, 200)), 200) << "the border";
  EXPECT_EQ(image.pixel(225, 225), qRgb(255, 255, 255)) << "inside the border";
}

TEST_F(ViewPainterTest, ALabelsTextStaysInItsFrame) {
  auto label = std::make_shared<ui::Label>(ui::Rect{20, 100, 60, 20},
                                           "一段很长很长的文字不会画到标签外面去");
  label->setFont(ui::Font::system(15));
  root->addSubview(label);
  const QImage image = paint();
  int inside = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (y < 20) continue;  // the status bar
      if (qGray(image.pixel(x, y)) > 128) continue;
      ASSERT_TRUE(QRect(20, 100, 60, 20).contains(x, y)) << x << "," << y;
      ++inside;
    }
  }
  EXPECT_GT(inside, 30);
}

TEST_F(ViewPainterTest, AScreenWithNothingBelowTheStatusBarIsBlank) {
  EXPECT_TRUE(qt::isBlank(paint(), 20));
  EXPECT_FALSE(qt::isBlank(paint(), 0)) << "the status bar is always painted";
  root->addSubview(std::make_shared<ui::Label>(ui::Rect{20, 300, 100, 20}, "商户"));
  EXPECT_FALSE(qt::isBlank(paint(), 20));
}

TEST(WindowOptions, TheWindowsOwnOptionsBesideTheClients) {
  std::string error;
  auto options = qt::WindowOptions::parse(
      {"--scale", "1.5", "--data-dir", "/tmp/x", "--script", "s.lk", "--screenshots=out"}, &error);
  ASSERT_TRUE(options) << error;
  EXPECT_EQ(options->scale, 1.5);
  EXPECT_EQ(options->client.dataDir, "/tmp/x");
  EXPECT_EQ(options->screenshots, "out");
  EXPECT_FALSE(qt::WindowOptions::parse({"--scale", "0"}, &error));
  EXPECT_NE(error.find("--scale"), std::string::npos);
  EXPECT_FALSE(qt::WindowOptions::parse({"--scale", "2x"}, &error));
  EXPECT_FALSE(qt::WindowOptions::parse({"--screenshots", "out"}, &error));
  EXPECT_NE(error.find("--script"), std::string::npos);
  EXPECT_FALSE(qt::WindowOptions::parse({"--no-such-option"}, &error));
}

}  // namespace
}  // namespace lk::test
