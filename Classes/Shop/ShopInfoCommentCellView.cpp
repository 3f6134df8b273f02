#include "Classes/Shop/ShopInfoCommentCellView.h"

#include <optional>

#include "Classes/Records/Broadcast.h"
#include "Classes/Records/Comment.h"
#include "Classes/Records/ShopInfo.h"
#include "Classes/Shop/ShopNotifications.h"
#include "Classes/Util/Utility.h"
#include "Platform/Image/ImageBitmap.h"
#include "Platform/Log/Log.h"
#include "Platform/Notifications/NotificationCenter.h"
#include "Platform/UI/TextMeasure.h"

namespace lk {

namespace {

constexpr double kWidth = 320;
constexpr double kTextLeft = 65;
constexpr double kTextWidth = 240;
constexpr double kBubbleTopCap = 12;
const ui::Font kTitleFont = ui::Font::boldSystem(15);
const ui::Font kNameFont = ui::Font::boldSystem(13);
const ui::Font kTextFont = ui::Font::system(14);
constexpr ui::Size kAvatarSize{45, 45};

bool showsBroadcast(const ShopInfo& shop) {
  return shop.intMiniCmtCount() > 0 && !shop.arrMiniCmtList().empty();
}

bool showsReview(const ShopInfo& shop) {
  return shop.intCmtCount() > 0 && !shop.arrCmtList().empty();
}

double textHeight(const std::string& text) {
  return ui::TextMeasure::sizeOfText(text, kTextFont, kTextWidth - 10).height;
}

void drawAvatar(ui::Canvas& canvas, const ImagePtr& image, double top) {
  const ui::Rect rect{10, top, kAvatarSize.width, kAvatarSize.height};
  if (image) {
    canvas.drawImage(toUiImage(Utility::clipImage(image, kAvatarSize)), rect);
  } else {
    canvas.drawImage(ui::Image::named("user_default", kAvatarSize), rect);
  }
}

}  // namespace

struct ShopInfoCommentCellView::Layout {
  std::optional<ui::Rect> broadcast;
  std::optional<ui::Rect> review;
  double height = 0;
};

ShopInfoCommentCellView::Layout ShopInfoCommentCellView::measure(const ShopInfo& shop) {
  Layout l;
  double y = 0;
  if (showsBroadcast(shop)) {
    const double height = 60 + std::max(kAvatarSize.height - 20,
                                        textHeight(shop.arrMiniCmtList().front()->content()) + 16);
    l.broadcast = ui::Rect{0, y, kWidth, height};
    y += height;
  }
  if (showsReview(shop)) {
    if (l.broadcast) y += 1;
    const double height = 60 + std::max(kAvatarSize.height - 20,
                                        textHeight(shop.arrCmtList().front()->content()) + 8);
    l.review = ui::Rect{0, y, kWidth, height};
    y += height;
  }
  l.height = y + 4;
  return l;
}

double ShopInfoCommentCellView::heightOfCell(const ShopInfo& shop) {
  return measure(shop).height;
}

ShopInfoCommentCellView::ShopInfoCommentCellView(ui::Rect frame) : CustomCellView(frame) {}

void ShopInfoCommentCellView::setDataModel(std::shared_ptr<void> record,
                                           const std::type_info& type) {
  CustomCellView::setDataModel(std::move(record), type);
  auto shop = dataModel<ShopInfo>();
  if (shop != shop_) {
    subscriptions_.clear();
    shop_ = std::move(shop);
    if (shop_) {
      const auto redraw = [this](const ImagePtr&) { observeValueForKeyPath("userImg"); };
      if (!shop_->arrMiniCmtList().empty()) {
        subscriptions_.push_back(shop_->arrMiniCmtList().front()->userImg().subscribe(redraw));
      }
      if (!shop_->arrCmtList().empty()) {
        subscriptions_.push_back(shop_->arrCmtList().front()->userImg().subscribe(redraw));
      }
    }
    rebuildButtons();
  }
  setNeedsDisplay();
}

void ShopInfoCommentCellView::rebuildButtons() {
  for (const auto& button : buttons_)
    button->removeFromSuperview();
  buttons_.clear();
  if (!shop_) return;
  const Layout l = measure(*shop_);
  const auto add = [this](const ui::Rect& frame, const char* label, const char* notification) {
    auto button = std::make_shared<ui::Button>(frame);
    button->setAccessibilityLabel(label);
    const std::string name = notification;
    button->setAction([name](ui::Button&) { NotificationCenter::defaultCenter().post(name); });
    buttons_.push_back(button);
    addSubview(button);
  };
  if (l.broadcast) add(*l.broadcast, "现场播报", kShopInfoBroadcastList);
  if (l.review) add(*l.review, "最新点评", kShopInfoCommentList);
}

void ShopInfoCommentCellView::drawRect(ui::Canvas& canvas, const ui::Rect& /*rect*/) const {
  auto shop = dataModel<ShopInfo>();
  if (!shop) return;
  const Layout l = measure(*shop);
  canvas.fillRect(ui::Rect{0, 0, kWidth, l.height}, ui::Color::white());
  if (l.broadcast) {
    const auto& report = *shop->arrMiniCmtList().front();
    const double top = l.broadcast->y();
    canvas.drawImage(ui::Image::named("shopinfo_broadcast", {16, 16}),
                     ui::Rect{10, top + 10, 16, 16});
    canvas.drawText("现场播报", ui::Rect{30, top + 8, 80, 20}, kTitleFont);
    canvas.drawText(strprintf("%d条", shop->intMiniCmtCount()), ui::Rect{110, top + 8, 80, 20},
                    kTextFont, ui::TextAlignment::kLeft, ui::Color::gray(0.4));
    drawAvatar(canvas, report.userImg().get(), top + 34);
    canvas.drawText(report.userName(), ui::Rect{kTextLeft, top + 34, 150, 18}, kNameFont);
    if (!report.imgUrl().empty()) {
      canvas.drawImage(ui::Image::named("shopinfo_camera", {16, 12}),
                       ui::Rect{kTextLeft + 155, top + 36, 16, 12});
    }
    canvas.drawText(Broadcast::createdDate(report.createdTime()),
                    ui::Rect{kWidth - 95, top + 34, 85, 18}, kTextFont, ui::TextAlignment::kRight,
                    ui::Color::gray(0.5));
    const ui::Rect bubble{kTextLeft, top + 54, kTextWidth, textHeight(report.content()) + 8};
    // The bubble grows with the text: only its middle row stretches, its tail and corners keep.
    canvas.drawImage(ui::Image::named("shopinfo_bubble").stretchableImage(0, kBubbleTopCap),
                     bubble);
    canvas.drawWrappedText(report.content(), ui::Rect{kTextLeft + 6, top + 58, kTextWidth - 10, 0},
                           kTextFont);
  }
  if (l.review) {
    const auto& review = *shop->arrCmtList().front();
    const double top = l.review->y();
    if (l.broadcast) Utility::drawBreakLine(ui::Rect{10, top - 1, kWidth - 20, 1}, canvas);
    canvas.drawText("点评", ui::Rect{10, top + 8, 40, 20}, kTitleFont);
    canvas.drawText(strprintf("%d篇", shop->intCmtCount()), ui::Rect{50, top + 8, 80, 20},
                    kTextFont, ui::TextAlignment::kLeft, ui::Color::gray(0.4));
    drawAvatar(canvas, review.userImg().get(), top + 34);
    const std::string who = review.userName() + "的打分";
    canvas.drawText(who, ui::Rect{kTextLeft, top + 34, 150, 18}, kNameFont);
    Utility::drawStarRate(
        review.totalScore(),
        ui::Point{kTextLeft + 5 + ui::TextMeasure::widthOfText(who, kNameFont), top + 35},
        ui::Size{16, 16}, canvas);
    canvas.drawWrappedText(review.content(), ui::Rect{kTextLeft, top + 56, kTextWidth - 10, 0},
                           kTextFont);
  }
}

}  // namespace lk
