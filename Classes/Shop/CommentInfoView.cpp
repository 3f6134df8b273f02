#include "Classes/Shop/CommentInfoView.h"

#include "Classes/Json/JsonValue.h"
#include "Classes/Records/Comment.h"
#include "Classes/Util/Utility.h"
#include "Platform/Image/ImageBitmap.h"
#include "Platform/Log/Log.h"
#include "Platform/UI/TextMeasure.h"

namespace lk {

namespace {

constexpr double kLeft = 25;
const ui::Font kNameFont = ui::Font::boldSystem(15);
const ui::Font kSmallFont = ui::Font::system(12);
const ui::Font kTextFont = ui::Font::system(15);
constexpr ui::Size kAvatarSize{45, 45};

double wrapped(ui::Canvas* canvas, const std::string& text, double y, const ui::Font& font) {
  const ui::Rect rect{kLeft, y, CommentInfoView::kTextWidth, 0};
  return canvas != nullptr
             ? canvas->drawWrappedText(text, rect, font)
             : ui::TextMeasure::sizeOfText(text, font, CommentInfoView::kTextWidth).height;
}

}  // namespace

CommentInfoView::CommentInfoView(ui::Rect frame) : CustomCellView(frame) {}

std::string CommentInfoView::detailScoreText(const Comment& comment) {
  std::string text;
  for (const auto& [name, value] : comment.detailScore()) {
    text += strprintf("%s:%0.1f  ", std::string(name).c_str(), json::toDouble(value));
  }
  return text;
}

void CommentInfoView::setDataModel(std::shared_ptr<void> record, const std::type_info& type) {
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

double CommentInfoView::layout(const Comment& comment, const ImagePtr& picture,
                               ui::Canvas* canvas) {
  if (canvas != nullptr) {
    const ui::Rect avatar{kLeft, 10, kAvatarSize.width, kAvatarSize.height};
    if (picture) {
      canvas->drawImage(toUiImage(Utility::clipImage(picture, kAvatarSize)), avatar);
    } else {
      canvas->drawImage(ui::Image::named("user_default", kAvatarSize), avatar);
    }
    canvas->drawText(comment.userName(), ui::Rect{kLeft + 55, 10, 150, 18}, kNameFont);
    canvas->drawText(comment.createdDate(), ui::Rect{kWidth - 110, 10, 85, 16}, kSmallFont,
                     ui::TextAlignment::kRight, ui::Color::gray(0.5));
    Utility::drawUserLevel(comment.uLevel(), ui::Rect{kLeft + 55, 32, 40, 12}, *canvas);
    Utility::drawStarRate(comment.totalScore(), ui::Point{kLeft + 100, 31}, ui::Size{14, 14},
                          *canvas);
  }
  double y = 62;
  if (comment.fltAverage() > 0) {
    if (canvas != nullptr) {
      canvas->drawText("人均", ui::Rect{kLeft, y, 40, 18}, kSmallFont);
      canvas->drawText(strprintf("¥%d", Utility::roundoff(comment.fltAverage())),
                       ui::Rect{kLeft + 32, y, 80, 18}, kSmallFont, ui::TextAlignment::kLeft,
                       ui::Color::rgb(0xCC, 0, 0));
    }
    y += 20;
  }
  if (!comment.detailScore().empty())
    y += wrapped(canvas, detailScoreText(comment), y, kSmallFont) + 6;
  if (!comment.recommend().empty()) {
    y += wrapped(canvas, strprintf("推荐: %s", comment.recommend().c_str()), y, kSmallFont) + 6;
  }
  if (!comment.content().empty()) y += wrapped(canvas, comment.content(), y, kTextFont) + 8;
  if (canvas != nullptr) {
    canvas->drawText(strprintf("%d", comment.usefulCount()), ui::Rect{kLeft, y, 40, 18}, kSmallFont,
                     ui::TextAlignment::kLeft, ui::Color::rgb(0xE0, 0x60, 0x00));
    canvas->drawText("人认为有用", ui::Rect{kLeft + 30, y, 100, 18}, kSmallFont);
  }
  return y + 28;
}

double CommentInfoView::heightOfCell(const Comment& comment) {
  return layout(comment, nullptr, nullptr);
}

void CommentInfoView::drawRect(ui::Canvas& canvas, const ui::Rect& /*rect*/) const {
  if (auto comment = dataModel<Comment>()) layout(*comment, comment->userImg().get(), &canvas);
}

}  // namespace lk
