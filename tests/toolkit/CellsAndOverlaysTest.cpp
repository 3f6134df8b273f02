#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "Classes/Toolkit/CustomCell.h"
#include "Classes/Toolkit/LKLoadingView.h"
#include "Classes/Toolkit/LKNodataView.h"
#include "Classes/Toolkit/LoadingView.h"
#include "Platform/UI/Application.h"
#include "Platform/UI/Window.h"
#include "tests/support/TestSupport.h"

namespace lk {
namespace {

struct Coupon {
  std::string title;
};

class CouponView : public CustomCellView {
 public:
  void setDataModel(std::shared_ptr<void> record, const std::type_info& type) override {
    bool changed = record != rawModel();
    CustomCellView::setDataModel(std::move(record), type);
    if (changed) setNeedsDisplay();
  }
  using CustomCellView::setDataModel;
  void drawRect(ui::Canvas& c, const ui::Rect& r) const override {
    c.fillRect(r, isHighlighted() ? ui::Color::gray(0.8) : ui::Color::white());
    if (auto coupon = dataModel<Coupon>()) c.drawText(coupon->title, r, ui::Font::system(14));
  }

 private:
  std::shared_ptr<void> rawModel() const { return dataModel<Coupon>(); }
};

TEST(CustomCells, CellViewStretchesWithTheCellAndIsReplacedOnlyWhenDifferent) {
  auto cell = std::make_shared<CustomCell>(ui::TableViewCell::Style::kDefault, "c");
  auto view = std::make_shared<CouponView>();
  cell->setCellView(view);
  cell->setCellView(view);
  EXPECT_EQ(cell->contentView()->subviews().size(), 1u);
  cell->setFrame(ui::Rect{0, 0, 320, 80});
  EXPECT_EQ(view->frame(), (ui::Rect{0, 0, 320, 80}));
  auto other = std::make_shared<CouponView>();
  cell->setCellView(other);
  EXPECT_EQ(view->superview(), nullptr);
  EXPECT_EQ(cell->contentView()->subviews().size(), 1u);
}

TEST(CustomCells, SameRecordKeepsTheDrawingAndHighlightRedraws) {
  auto cell = std::make_shared<CustomCell>(ui::TableViewCell::Style::kDefault, "c");
  auto view = std::make_shared<CouponView>();
  cell->setCellView(view);
  auto coupon = std::make_shared<Coupon>(Coupon{"满100减20"});
  cell->setDataModel(coupon);
  int draws = view->displayRequests();
  cell->setDataModel(coupon);
  EXPECT_EQ(view->displayRequests(), draws);
  EXPECT_EQ(view->dumpLine(), "drawn: 满100减20");
  cell->setHighlighted(true, true);
  EXPECT_TRUE(view->isHighlighted());
  EXPECT_EQ(view->render().ops().front().color, ui::Color::gray(0.8));
  EXPECT_GT(view->displayRequests(), draws);
  view->observeValueForKeyPath("image");
  EXPECT_EQ(view->displayRequests(), draws + 2);
  EXPECT_EQ(view->dataModel<std::string>(), nullptr) << "asking for another type gives nothing";
}

TEST(Overlays, LoadingViewIgnoresItsFrame) {
  auto loading = std::make_shared<LoadingView>(ui::Rect{1, 2, 3, 4});
  EXPECT_EQ(loading->frame(), (ui::Rect{90, 150, 140, 40}));
  EXPECT_TRUE(loading->indicatorView()->isAnimating());
  EXPECT_EQ(loading->dumpText(), "spinner\nlabel: 正在载入数据...\n");
}

TEST(Overlays, NodataViewIsFullHeightTakesTouchesAndChangesItsPrompt) {
  auto nodata = std::make_shared<LKNodataView>(ui::Rect{0, 10, 320, 100}, "该城市没有优惠信息");
  EXPECT_EQ(nodata->frame(), (ui::Rect{0, 10, 320, 416}));
  EXPECT_TRUE(nodata->isUserInteractionEnabled());
  nodata->setPrompt("没有找到商户");
  EXPECT_EQ(nodata->dumpText(), "image: nodata_bg\n  label: 没有找到商户\n");
}

class ProgressBox : public ::testing::Test {
 protected:
  void SetUp() override { ui::Application::resetSharedInstanceForTesting(); }
  void TearDown() override { ui::Application::resetSharedInstanceForTesting(); }
  test::ScopedMainLoop loop;
};

TEST_F(ProgressBox, ShowsCentredInItsContainerAndRemovesItselfAfterHiding) {
  auto container = std::make_shared<ui::View>(ui::Rect{0, 0, 320, 416});
  auto box = std::make_unique<LKLoadingView>(container, "正在发布");
  box->show();
  auto shown = box->loading();
  EXPECT_EQ(shown->frame(), (ui::Rect{80, 128, 160, 160}));
  EXPECT_EQ(shown->scale(), 1.2);
  loop->runFor(seconds(0.2));
  EXPECT_EQ(shown->scale(), 1.0);
  EXPECT_TRUE(box->spinner()->isAnimating());
  box->hideWithStatus(true, "发布成功");
  box.reset();  // the owner lets go at once
  EXPECT_NE(container->dumpText().find("image: loading_success"), std::string::npos);
  EXPECT_NE(container->dumpText().find("label: 发布成功"), std::string::npos);
  loop->runFor(seconds(0.5));
  EXPECT_EQ(shown->superview(), container.get()) << "the result shows for half a second";
  loop->runFor(seconds(0.2));
  EXPECT_EQ(shown->superview(), nullptr);
  EXPECT_EQ(shown->alpha(), 0);
  EXPECT_EQ(shown->scale(), 0.7);
}

TEST_F(ProgressBox, WithoutAContainerItGoesOnTheFirstWindow) {
  ui::Window first;
  ui::Window second;
  LKLoadingView box(nullptr, "正在提交");
  box.show();
  ASSERT_EQ(box.loading()->superview(), &first);
  EXPECT_EQ(box.loading()->frame(), (ui::Rect{80, 160, 160, 160}));
  EXPECT_EQ(box.loading()->scale(), 1.5);
  box.hideWithStatus(false, "提交失败");
  EXPECT_NE(first.dumpText().find("loading_failed"), std::string::npos);
  loop->runFor(seconds(1));
  EXPECT_EQ(box.loading()->superview(), nullptr);
}

}  // namespace
}  // namespace lk
