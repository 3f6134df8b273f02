#include "Classes/Broadcasts/BroadcastCellView.h"

#include <algorithm>

#include "Classes/Broadcasts/BroadcastNotifications.h"
#include "Classes/Records/Broadcast.h"
#include "Classes/Records/ShopInfo.h"
#include "Classes/Util/Utility.h"
#include "Platform/Image/ImageBitmap.h"
#include "Platform/Log/Log.h"
#include "Platform/Notifications/NotificationCenter.h"
#include "Platform/UI/TextMeasure.h"

namespace lk {

namespace {

const ui::Font kNameFont = ui::Font::boldSystem(16);
const ui::Font kTextFont = ui::Font::system(14);
const ui::Font kAgeFont = ui::Font::system(12);
const ui::Color kShopColor{0, 0.412, 0.69, 1};
constexpr double kTextTop = 52;

double textHeight(const std::string& text) {
  return ui::TextMeasure::sizeOfText(text, kTextFont, BroadcastCellView::kTextWidth).height;
}

bool hasPhoto(const Broadcast& broadcast) {
  return static_cast<bool>(broadcast.bcImg().get());
}

}  // namespace

BroadcastCellView::BroadcastCellView(ui::Rect frame) : CustomCellView(frame) {
  // The "@shop" button is made once and put back on each new row.
  shopButton_ = std::make_shared<ui::Button>(ui::Rect{kTextLeft, 28, kTextWidth, 18});
  shopButton_->setTitleColor(kShopColor);
  shopButton_->setAction([this](ui::Button&) {
    if (!broadcast_) return;
    auto shop = std::make_shared<ShopInfo>();
    shop->setShopId(broadcast_->shopId());
    shop->setStrName(broadcast_->shopName());
    Notification n{kBroadcastGoShopinfo, {}, {}};
    n.userInfo[kBroadcastGoShopinfoShopKey] = shop;
    NotificationCenter::defaultCenter().post(n);
  });
  photoButton_ = std::make_shared<ui::Button>();
  photoButton_->setAccessibilityLabel("照片");
  photoButton_->setAction([this](ui::Button&) {
    if (!broadcast_) return;
    Notification n{kBroadcastGoImageView, {}, {}};
    n.userInfo[kBroadcastGoImageViewUrlKey] = broadcast_->imgUrl();
    NotificationCenter::defaultCenter().post(n);
  });
}

void BroadcastCellView::setShowShopName(bool show) {
  if (showShopName_ == show) return;
  showShopName_ = show;
  layoutButtons();
  setNeedsDisplay();
}

void BroadcastCellView::setDataModel(std::shared_ptr<void> record, const std::type_info& type) {
  CustomCellView::setDataModel(std::move(record), type);
  auto broadcast = dataModel<Broadcast>();
  if (broadcast != broadcast_) {
    // A reused row stops listening to the broadcast it showed before.
    subscriptions_.clear();
    broadcast_ = std::move(broadcast);
    if (broadcast_) {
      subscriptions_.push_back(broadcast_->userImg().subscribe(
          [this](const ImagePtr&) { observeValueForKeyPath("userImg"); }));
      subscriptions_.push_back(broadcast_->bcImg().subscribe([this](const ImagePtr&) {
        layoutButtons();
        observeValueForKeyPath("bcImg");
      }));
    }
  }
  layoutButtons();
  setNeedsDisplay();
}

double BroadcastCellView::heightOfCell(const Broadcast& broadcast) {
  double height = kTextTop + textHeight(broadcast.content()) + 10;
  if (hasPhoto(broadcast)) height += kPhotoSize.height + 10;
  return std::max(height, kAvatarSize.height + 20);
}

ui::Rect BroadcastCellView::photoFrame(const Broadcast& broadcast) {
  return ui::Rect{kTextLeft, kTextTop + textHeight(broadcast.content()) + 5, kPhotoSize.width,
                  kPhotoSize.height};
}

void BroadcastCellView::layoutButtons() {
  shopButton_->removeFromSuperview();
  photoButton_->removeFromSuperview();
  if (!broadcast_) return;
  if (showShopName_ && !broadcast_->shopName().empty()) {
    shopButton_->setTitle(strprintf("@%s", broadcast_->shopName().c_str()));
    addSubview(shopButton_);
  }
  if (hasPhoto(*broadcast_)) {
    photoButton_->setFrame(photoFrame(*broadcast_));
    addSubview(photoButton_);
  }
}

void BroadcastCellView::drawRect(ui::Canvas& canvas, const ui::Rect& /*rect*/) const {
  if (!broadcast_) return;
  const Broadcast& b = *broadcast_;
  const double height = heightOfCell(b);
  canvas.fillRect(ui::Rect{0, 0, kWidth, height}, ui::Color::white());

  const ui::Rect avatar{10, 10, kAvatarSize.width, kAvatarSize.height};
  if (const auto& picture = b.userImg().get()) {
    canvas.drawImage(toUiImage(Utility::clipImage(picture, kAvatarSize)), avatar);
  } else {
    canvas.drawImage(ui::Image::named("user_default", kAvatarSize), avatar);
  }
  canvas.drawText(b.userName(), ui::Rect{kTextLeft, 8, 160, 20}, kNameFont);
  canvas.drawImage(ui::Image::named("broadcast_icon", {12, 12}), ui::Rect{230, 12, 12, 12});
  canvas.drawText(Broadcast::createdDate(b.createdTime()), ui::Rect{245, 10, 70, 16}, kAgeFont,
                  ui::TextAlignment::kRight, ui::Color::gray(0.5));
  canvas.drawText(b.content(), ui::Rect{kTextLeft, kTextTop, kTextWidth, textHeight(b.content())},
                  kTextFont);
  if (const auto& photo = b.bcImg().get()) {
    const ui::Rect frame = photoFrame(b);
    canvas.drawImage(ui::Image::named("broadcast_photo_frame", kPhotoSize), frame);
    canvas.drawImage(
        toUiImage(Utility::clipImage(photo, {kPhotoSize.width - 6, kPhotoSize.height - 6})),
        ui::Rect{frame.x() + 3, frame.y() + 3, kPhotoSize.width - 6, kPhotoSize.height - 6});
  }
  Utility::drawBreakLine(ui::Rect{0, height - 1, kWidth, 1}, canvas);
}

}  // namespace lk
