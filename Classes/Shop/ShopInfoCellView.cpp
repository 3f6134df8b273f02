#include "Classes/Shop/ShopInfoCellView.h"

#include <algorithm>

#include <boost/json/object.hpp>

#include "Classes/Json/JsonValue.h"
#include "Classes/Records/ShopInfo.h"
#include "Classes/Shop/ShopNotifications.h"
#include "Classes/Util/Utility.h"
#include "Platform/Image/ImageBitmap.h"
#include "Platform/Log/Log.h"
#include "Platform/Notifications/NotificationCenter.h"
#include "Platform/UI/TextMeasure.h"

namespace lk {

namespace {

constexpr double kMargin = 10;
const ui::Font kNameFont = ui::Font::boldSystem(18);
const ui::Font kScoreFont = ui::Font::system(13);
const ui::Font kLabelFont = ui::Font::boldSystem(15);
const ui::Font kLineFont = ui::Font::named("light", 16);
constexpr ui::Size kPictureSize{100, 75};
constexpr ui::Size kStarSize{20, 20};
constexpr double kCountStripHeight = 60;
constexpr double kTelephoneLine = 20;
constexpr double kMoreInfoHeight = 40;
constexpr double kBlockLeft = 125;

struct Counts {
  const char* label;
  int count;
  const char* notification;
};

}  // namespace

struct ShopInfoCellView::Layout {
  double nameTop = 8;
  double pictureTop = 0;
  double scoresTop = 0;
  std::optional<double> stripTop;
  std::optional<ui::Rect> phones;
  std::optional<ui::Rect> address;
  double addressTextHeight = 0;
  std::optional<double> moreInfoTop;
  double height = 0;
};

ShopInfoCellView::ShopInfoCellView(ui::Rect frame) : CustomCellView(frame) {}

std::string ShopInfoCellView::countText(int count) {
  return count > 999 ? std::string("999+") : strprintf("%d", count);
}

double ShopInfoCellView::countFontSize(const std::string& text) {
  const std::size_t length = ui::TextMeasure::decode(text).size();
  if (length <= 2) return 30;
  if (length == 3) return 25;
  if (length == 4) return 22;
  return 20;
}

std::vector<std::string> ShopInfoCellView::shownTelephones(const ShopInfo& shop) {
  std::vector<std::string> shown;
  for (const auto& tel : shop.arrTel()) {
    if (!tel.empty()) shown.push_back(tel);
  }
  return shown;
}

ShopInfoCellView::Layout ShopInfoCellView::measure(const ShopInfo& shop) {
  Layout l;
  l.pictureTop = l.nameTop + ui::TextMeasure::lineHeight(kNameFont) + 6;
  double y = l.pictureTop + kPictureSize.height + 8;
  // The score breakdown sits beside the picture below the stars; long lists push on below it.
  l.scoresTop = l.pictureTop + kStarSize.height + 6;
  int scores = 0;
  if (shop.arrScore().is_object()) scores = static_cast<int>(shop.arrScore().get_object().size());
  const double scoresEnd = l.scoresTop + scores * ui::TextMeasure::lineHeight(kScoreFont) + 8;
  if (scoresEnd > y) y = scoresEnd;
  if (shop.intCmtCount() > 0 || shop.intMiniCmtCount() > 0 || shop.intPicCount().get() > 0) {
    l.stripTop = y;
    y += kCountStripHeight;
  }
  const auto tels = shownTelephones(shop);
  if (!tels.empty() || !shop.strAddress().empty()) {
    if (!tels.empty()) {
      const double height = 24 + kTelephoneLine * static_cast<double>(tels.size());
      l.phones = ui::Rect{0, y, kWidth, height};
      y += height;
    }
    if (!shop.strAddress().empty()) {
      l.addressTextHeight =
          ui::TextMeasure::sizeOfText(shop.strAddress(), kLineFont, kAddressWidth).height;
      const double height = std::max(30.0, l.addressTextHeight + 10);
      l.address = ui::Rect{0, y, kWidth, height};
      y += height;
    }
  }
  if (!shop.strBusInfo().empty()) {
    l.moreInfoTop = y;
    y += kMoreInfoHeight;
  }
  l.height = y + 6;
  return l;
}

double ShopInfoCellView::heightOfCell(const ShopInfo& shop) {
  return measure(shop).height;
}

void ShopInfoCellView::setDataModel(std::shared_ptr<void> record, const std::type_info& type) {
  CustomCellView::setDataModel(std::move(record), type);
  auto shop = dataModel<ShopInfo>();
  if (shop == shop_) return;
  imageSubscription_.reset();
  countSubscription_.reset();
  shop_ = std::move(shop);
  if (shop_) {
    imageSubscription_ =
        shop_->shopImg().subscribe([this](const ImagePtr&) { observeValueForKeyPath("shopImg"); });
    countSubscription_ = shop_->intPicCount().subscribe(
        [this](const int&) { observeValueForKeyPath("intPicCount"); });
  }
  rebuildButtons();
  setNeedsDisplay();
}

void ShopInfoCellView::observeValueForKeyPath(const std::string& keyPath) {
  // The picture count decides whether the count strip shows, and so where the buttons sit.
  if (keyPath == "intPicCount") rebuildButtons();
  CustomCellView::observeValueForKeyPath(keyPath);
}

void ShopInfoCellView::rebuildButtons() {
  for (const auto& button : buttons_)
    button->removeFromSuperview();
  buttons_.clear();
  if (!shop_) return;
  const Layout l = measure(*shop_);
  const auto add = [this](ui::Rect frame, const std::string& label, const char* notification,
                          bool enabled, bool titled) {
    auto button = std::make_shared<ui::Button>(frame);
    if (titled) {
      button->setTitle(label);
    } else {
      button->setAccessibilityLabel(label);
    }
    button->setEnabled(enabled);
    const std::string name = notification;
    button->setAction([name](ui::Button&) { NotificationCenter::defaultCenter().post(name); });
    buttons_.push_back(button);
    addSubview(button);
  };
  if (l.stripTop) {
    const Counts counts[] = {{"点评", shop_->intCmtCount(), kShopInfoCommentList},
                             {"播报", shop_->intMiniCmtCount(), kShopInfoBroadcastList},
                             {"图片", shop_->intPicCount().get(), kShopInfoImageViews}};
    double x = kMargin;
    for (const auto& c : counts) {
      add(ui::Rect{x, *l.stripTop, 95, kCountStripHeight - 8}, c.label, c.notification, c.count > 0,
          true);
      x += 102;
    }
  }
  if (l.phones) add(*l.phones, "拨打", kShopInfoCall, true, false);
  if (l.address) add(*l.address, "地址", kShopInfoShowMap, true, false);
  if (l.moreInfoTop) {
    add(ui::Rect{0, *l.moreInfoTop, kWidth, kMoreInfoHeight}, "查看更多信息", kShopInfoBusInfo,
        true, false);
  }
}

void ShopInfoCellView::drawRect(ui::Canvas& canvas, const ui::Rect& /*rect*/) const {
  auto shop = dataModel<ShopInfo>();
  if (!shop) return;
  const Layout l = measure(*shop);
  canvas.fillRect(ui::Rect{0, 0, kWidth, l.height}, ui::Color::white());
  canvas.drawText(
      shop->strName(),
      ui::Rect{kMargin, l.nameTop, kWidth - 2 * kMargin, ui::TextMeasure::lineHeight(kNameFont)},
      kNameFont);

  const ui::Rect picture{kMargin, l.pictureTop, kPictureSize.width, kPictureSize.height};
  if (const ImagePtr& image = shop->shopImg().get()) {
    canvas.drawImage(toUiImage(image), picture);
  } else {
    canvas.drawImage(ui::Image::named("shop_default", kPictureSize), picture);
  }
  Utility::drawStarRate(shop->fltScoreTotal(), ui::Point{kBlockLeft, l.pictureTop}, kStarSize,
                        canvas);
  if (shop->fltAverage() > 0) {
    canvas.drawText(strprintf("¥ %d", Utility::roundoff(shop->fltAverage())),
                    ui::Rect{kBlockLeft + 5 * kStarSize.width + 8, l.pictureTop, 80, 20},
                    kScoreFont, ui::TextAlignment::kLeft, ui::Color::rgb(0xCC, 0, 0));
  }
  if (shop->arrScore().is_object()) {
    double y = l.scoresTop;
    const double line = ui::TextMeasure::lineHeight(kScoreFont);
    for (const auto& [key, value] : shop->arrScore().get_object()) {
      const float score = json::toFloat(value);
      const std::string text = strprintf("%s: %s", std::string(key).c_str(),
                                         score == 0 ? "-" : Utility::formatFloat(score).c_str());
      canvas.drawText(text, ui::Rect{kBlockLeft, y, kWidth - kBlockLeft - kMargin, line},
                      kScoreFont, ui::TextAlignment::kLeft, ui::Color::gray(0.3));
      y += line;
    }
  }

  if (l.stripTop) {
    const int counts[] = {shop->intCmtCount(), shop->intMiniCmtCount(), shop->intPicCount().get()};
    double x = kMargin;
    for (const int count : counts) {
      const std::string text = countText(count);
      canvas.drawText(text, ui::Rect{x + 40, *l.stripTop + 4, 55, 40},
                      ui::Font::boldSystem(countFontSize(text)), ui::TextAlignment::kLeft,
                      count > 0 ? ui::Color::rgb(0xE0, 0x60, 0x00) : ui::Color::gray(0.6));
      x += 102;
    }
  }
  if (std::ranges::find(kBadgeStatuses, shop->intStatus()) != kBadgeStatuses.end()) {
    canvas.drawImage(ui::Image::named(strprintf("shopinfo_status_%d", shop->intStatus()), {60, 60}),
                     ui::Rect{kWidth - 70, 4, 60, 60});
  }
  if (l.phones) {
    const double top = l.phones->y();
    canvas.drawImage(ui::Image::named("shopinfo_phone", {16, 16}),
                     ui::Rect{kMargin, top + 4, 16, 16});
    canvas.drawText("拨打", ui::Rect{kMargin + 22, top + 2, 40, 20}, kLabelFont);
    canvas.drawText(":", ui::Rect{kMargin + 58, top + 2, 10, 20}, kLabelFont);
    double y = top + 2;
    for (const auto& tel : shownTelephones(*shop)) {
      canvas.drawText(tel, ui::Rect{kMargin + 70, y, 200, kTelephoneLine}, kLineFont);
      y += kTelephoneLine;
    }
  }
  if (l.address) {
    const double top = l.address->y();
    canvas.drawImage(ui::Image::named("shopinfo_location", {16, 16}),
                     ui::Rect{kMargin, top + 4, 16, 16});
    canvas.drawText("地址", ui::Rect{kMargin + 22, top + 2, 40, 20}, kLabelFont);
    canvas.drawText(":", ui::Rect{kMargin + 58, top + 2, 10, 20}, kLabelFont);
    canvas.drawWrappedText(shop->strAddress(), ui::Rect{kMargin + 70, top + 2, kAddressWidth, 0},
                           kLineFont);
  }
  if (l.moreInfoTop) {
    Utility::drawBreakLine(ui::Rect{kMargin, *l.moreInfoTop, kWidth - 2 * kMargin, 1}, canvas);
    canvas.drawText("查看更多信息", ui::Rect{kMargin, *l.moreInfoTop + 10, 200, 20}, kLabelFont);
  }
}

}  // namespace lk
