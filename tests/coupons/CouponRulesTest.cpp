#include <gtest/gtest.h>

#include "Classes/Coupons/CouponInfoCellView.h"
#include "Classes/Coupons/CouponListCellView.h"
#include "Classes/Coupons/LKPickerButton.h"
#include "Classes/Coupons/MobileNumber.h"
#include "Classes/Records/Coupon.h"
#include "Classes/Records/CouponList.h"
#include "Platform/UI/TextMeasure.h"

namespace lk {
namespace {

TEST(CouponRow, CounterByKindAndOrder) {
  CouponList row;
  row.setType(Coupon::kCoupon);
  row.setDownloadCount(0);
  row.setInterestingCount(9);
  EXPECT_EQ(CouponListCellView::countText(row, true), std::nullopt) << "kind 1 counts downloads";
  row.setDownloadCount(12);
  EXPECT_EQ(CouponListCellView::countText(row, true), "12人下载");
  EXPECT_EQ(CouponListCellView::countText(row, false), std::nullopt);
  row.setType(Coupon::kEvent);
  EXPECT_EQ(CouponListCellView::countText(row, true), "9人感兴趣");
  row.setInterestingCount(-1);
  EXPECT_EQ(CouponListCellView::countText(row, true), std::nullopt);
}

TEST(CouponRow, FirstTagWordInBrackets) {
  EXPECT_EQ(CouponListCellView::tagText("火锅,川菜"), "[火锅]");
  EXPECT_EQ(CouponListCellView::tagText("茶 点心"), "[茶]");
  EXPECT_EQ(CouponListCellView::tagText("咖啡厅"), "[咖啡厅]");
  EXPECT_EQ(CouponListCellView::tagText(""), std::nullopt);
}

TEST(CouponRow, StarsStartAtTenWithoutATag) {
  auto row = std::make_shared<CouponList>();
  row->setShopName("店");
  row->setShopScore(3);
  CouponListCellView view;
  view.setDataModel(row);
  auto canvas = view.render();
  bool starAtTen = false;
  for (const auto& op : canvas.ops()) {
    if (op.kind == ui::DrawOp::Kind::kImage && op.rect.y() == 33) {
      starAtTen = op.rect.x() == 10;
      break;
    }
  }
  EXPECT_TRUE(starAtTen);
}

// A text of about `lines` lines of 14 points at 280 wide.
Coupon offerOfLines(int lines) {
  Coupon coupon;
  std::string text;
  for (int i = 0; i < lines; ++i)
    text += (i > 0 ? "\n" : "") + std::string("优惠");
  coupon.setContent(text);
  return coupon;
}

TEST(CouponText, ShortTextsShowWholeLongOnesCollapseTo120) {
  const double line = ui::TextMeasure::lineHeight(ui::Font::system(14));
  int shortLines = static_cast<int>(130 / line);
  Coupon small = offerOfLines(shortLines);
  ASSERT_LE(CouponInfoCellView::textHeight(small), 130);
  EXPECT_FALSE(CouponInfoCellView::hasButton(small));
  EXPECT_DOUBLE_EQ(CouponInfoCellView::heightOfCell(small),
                   110 + CouponInfoCellView::textHeight(small));

  Coupon large = offerOfLines(shortLines + 6);
  const double h = CouponInfoCellView::textHeight(large);
  ASSERT_GT(h, 130);
  EXPECT_TRUE(CouponInfoCellView::hasButton(large));
  EXPECT_DOUBLE_EQ(CouponInfoCellView::heightOfCell(large), 240);
  large.setShowAll(true);
  EXPECT_DOUBLE_EQ(CouponInfoCellView::heightOfCell(large), 120 + h);
}

TEST(PhoneNumber, TypingStopsAtElevenCharactersButDeletesAlways) {
  EXPECT_TRUE(MobileNumber::acceptsEdit("1380013800", "0"));
  EXPECT_FALSE(MobileNumber::acceptsEdit("13800138000", "1"));
  EXPECT_TRUE(MobileNumber::acceptsEdit("13800138000", ""));
  EXPECT_FALSE(MobileNumber::acceptsEdit("", " "));
  EXPECT_FALSE(MobileNumber::acceptsEdit(" ", "1"));
  // Characters, not bytes: ten full-width digits take one more.
  EXPECT_TRUE(MobileNumber::acceptsEdit("１３８００１３８００", "０"));
}

TEST(PhoneNumber, ExactlyElevenDigitsAfterTrimming) {
  EXPECT_EQ(MobileNumber::normalized(" 13800138000\n"), "13800138000");
  EXPECT_EQ(MobileNumber::normalized("１３８００１３８０００"), "13800138000");
  EXPECT_EQ(MobileNumber::normalized("1380013800a"), std::nullopt);
  EXPECT_EQ(MobileNumber::normalized("138 0013 80"), std::nullopt);
  EXPECT_EQ(MobileNumber::normalized("1380013800"), std::nullopt);
  EXPECT_EQ(MobileNumber::normalized("138001380000"), std::nullopt);
  EXPECT_EQ(MobileNumber::trimmed("\u3000138\t"), "138");
}

}  // namespace
}  // namespace lk

namespace lk {
namespace {

TEST(PickerButton, WhiteWhileTouchedAndClicksOnlyOnALiftInside) {
  LKPickerButton button({0, 0, 152, 32}, "全部分类");
  int clicks = 0;
  button.setDelegateAndClickAction([&] { ++clicks; });
  button.touchDown();
  EXPECT_EQ(button.label()->textColor(), ui::Color::white());
  button.touchUp(false);
  EXPECT_EQ(button.label()->textColor(), LKPickerButton::normalColor());
  EXPECT_EQ(clicks, 0) << "lifted outside";
  button.touchDown();
  button.touchCancelled();
  EXPECT_EQ(clicks, 0);
  button.touchDown();
  button.touchUp(true);
  EXPECT_EQ(clicks, 1);
  button.setTitle("美食");
  EXPECT_EQ(button.label()->text(), "美食");
  EXPECT_EQ(button.title(), "美食");
}

}  // namespace
}  // namespace lk
