#pragma once

#include <memory>

#include "Classes/Records/Subscription.h"
#include "Classes/Toolkit/CustomCellView.h"
#include "Platform/Image/Image.h"

namespace lk {

class Comment;

// One review in full: author, date, level, stars, price per person, the detailed scores, the
// recommendations, the whole text and the useful votes. Redraws when the author's picture or
// the vote count changes.
class CommentInfoView : public CustomCellView {
 public:
  static constexpr double kWidth = 320;
  static constexpr double kTextWidth = 270;

  explicit CommentInfoView(ui::Rect frame = {0, 0, kWidth, 200});

  void setDataModel(std::shared_ptr<void> record, const std::type_info& type) override;
  using CustomCellView::setDataModel;
  void drawRect(ui::Canvas& canvas, const ui::Rect& rect) const override;

  [[nodiscard]] static double heightOfCell(const Comment& comment);
  // "name:4.0  name:3.5  " as the detailed scores read.
  [[nodiscard]] static std::string detailScoreText(const Comment& comment);

 private:
  // Lays the review out, drawing when there is a canvas; returns the height.
  static double layout(const Comment& comment, const ImagePtr& picture, ui::Canvas* canvas);

  std::shared_ptr<Comment> comment_;
  Subscription imageSubscription_;
};

}  // namespace lk
