#pragma once

#include <memory>

#include "Classes/Records/Subscription.h"
#include "Classes/Toolkit/CustomCellView.h"

namespace lk {

class Comment;

// One review of the list: author picture, name, stars, level, date, the price per person, the
// text (with "..." when shortened) and the useful votes. Redraws when the picture arrives.
class CommentCellView : public CustomCellView {
 public:
  static constexpr double kWidth = 320;

  explicit CommentCellView(ui::Rect frame = {0, 0, kWidth, 100});

  void setDataModel(std::shared_ptr<void> record, const std::type_info& type) override;
  using CustomCellView::setDataModel;
  void drawRect(ui::Canvas& canvas, const ui::Rect& rect) const override;

  [[nodiscard]] static double heightOfCell(const Comment& comment);
  // The text a row shows: the content, and "..." when the service shortened it.
  [[nodiscard]] static std::string shownContent(const Comment& comment);

 private:
  std::shared_ptr<Comment> comment_;
  Subscription imageSubscription_;
};

}  // namespace lk
