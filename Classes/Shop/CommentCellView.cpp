#include "Classes/Shop/CommentCellView.h"

#include "Classes/Records/Comment.h"
#include "Classes/Util/Utility.h"
#include "Platform/Image/ImageBitmap.h"
#include "Platform/Log/Log.h"
#include "Platform/UI/TextMeasure.h"

namespace lk {

namespace {

constexpr double kTextLeft = 65;
constexpr double kTextWidth = CommentCellView::kWidth - kTextLeft - 10;
const ui::Font kNameFont = ui::Font::boldSystem(14);
const ui::Font kSmallFont = ui::Font::system(12);
const ui::Font kTextFont = ui::Font::system(14);
constexpr ui::Size kAvatarSize{45, 45};

}  // namespace

CommentCellView::CommentCellView(ui::Rect frame) : CustomCellView(frame) {}

std::string CommentCellView::shownContent(const Comment& comment) {
  return comment.isContentTrunc() ? comment.content() + "..." : comment.content();
}

double CommentCellView::heightOfCell(const Comment& comment) {
  double y = 48;
  if (comment.fltAverage() > 0) y += 18;
  y += ui::TextMeasure::sizeOfText(shownContent(comment), kTextFont, kTextWidth).height + 4;
  if (comment.usefulCount() > 0) y += 18;
  return std::max(y + 8, kAvatarSize.height + 20);
}

void CommentCellView::setDataModel(std::shared_ptr<void> record, const std::type_info& type) {
  CustomCellView::setDataModel(std::move(record), type);
  auto comment = dataModel<Comment>();
  if (comment != comment_) {
    imageSubscription_.reset();
    comment_ = std::move(comment);
    if (comment_) {
      imageSubscription_ = comment_->userImg().subscribe(
          [this](const ImagePtr&) { observeValueForKeyPath("userImg"); });
    }
  }
  setNeedsDisplay();
}

void CommentCellView::drawRect(ui::Canvas& canvas, const ui::Rect& /*rect*/) const {
  auto comment = dataModel<Comment>();
  if (!comment) return;
  const double height = heightOfCell(*comment);
  canvas.fillRect(ui::Rect{0, 0, kWidth, height},
                  isHighlighted() ? Utility::colorWithHex(0xd9d9d9) : ui::Color::white());
  const ui::Rect avatar{10, 10, kAvatarSize.width, kAvatarSize.height};
  if (const ImagePtr& image = comment->userImg().get()) {
    canvas.drawImage(toUiImage(Utility::clipImage(image, kAvatarSize)), avatar);
  } else {
    canvas.drawImage(ui::Image::named("user_default", kAvatarSize), avatar);
  }
  canvas.drawText(comment->userName(), ui::Rect{kTextLeft, 8, 120, 18}, kNameFont);
  Utility::drawStarRate(comment->totalScore(), ui::Point{kTextLeft + 122, 10}, ui::Size{12, 12},
                        canvas);
  Utility::drawUserLevel(comment->uLevel(), ui::Rect{kTextLeft, 28, 40, 12}, canvas);
  canvas.drawText(comment->createdDate(), ui::Rect{kWidth - 90, 28, 80, 16}, kSmallFont,
                  ui::TextAlignment::kRight, ui::Color::gray(0.5));
  double y = 48;
  if (comment->fltAverage() > 0) {
    canvas.drawText(strprintf("人均:¥%d", Utility::roundoff(comment->fltAverage())),
                    ui::Rect{kTextLeft, y, 150, 16}, kSmallFont, ui::TextAlignment::kLeft,
                    ui::Color::rgb(0xCC, 0, 0));
    y += 18;
  }
  y += canvas.drawWrappedText(shownContent(*comment), ui::Rect{kTextLeft, y, kTextWidth, 0},
                              kTextFont) +
       4;
  if (comment->usefulCount() > 0) {
    canvas.drawText("有用(", ui::Rect{kTextLeft, y, 40, 16}, kSmallFont);
    canvas.drawText(strprintf("%d", comment->usefulCount()), ui::Rect{kTextLeft + 32, y, 40, 16},
                    kSmallFont, ui::TextAlignment::kLeft, ui::Color::rgb(0xE0, 0x60, 0x00));
    canvas.drawText(
        ")",
        ui::Rect{kTextLeft + 32 + 8.0 * strprintf("%d", comment->usefulCount()).size(), y, 10, 16},
        kSmallFont);
  }
}

}  // namespace lk
