#pragma once

#include <memory>
#include <string>

#include "Platform/UI/ImageView.h"
#include "Platform/UI/Label.h"
#include "Platform/UI/View.h"

namespace lk::ui {

// A row of a table. Its content view holds what the row shows; the text label, detail label and
// image view are built on first use, as on the handset.
class TableViewCell : public View {
 public:
  enum class Style { kDefault, kValue1, kValue2, kSubtitle };
  enum class Accessory { kNone, kDisclosureIndicator, kDetailDisclosureButton, kCheckmark };
  enum class SelectionStyle { kNone, kBlue, kGray };

  explicit TableViewCell(Style style = Style::kDefault, std::string reuseIdentifier = {});

  [[nodiscard]] const std::string& reuseIdentifier() const { return reuseIdentifier_; }
  [[nodiscard]] Style style() const { return style_; }
  [[nodiscard]] const std::shared_ptr<View>& contentView() const { return contentView_; }
  const std::shared_ptr<Label>& textLabel();
  const std::shared_ptr<Label>& detailTextLabel();
  const std::shared_ptr<ImageView>& imageView();
  [[nodiscard]] std::shared_ptr<View> backgroundView() const { return backgroundView_; }
  void setBackgroundView(std::shared_ptr<View> view);
  [[nodiscard]] std::shared_ptr<View> accessoryView() const { return accessoryView_; }
  void setAccessoryView(std::shared_ptr<View> view);

  Accessory accessoryType = Accessory::kNone;
  SelectionStyle selectionStyle = SelectionStyle::kBlue;

  [[nodiscard]] bool isHighlighted() const { return highlighted_; }
  virtual void setHighlighted(bool highlighted, bool animated);
  [[nodiscard]] bool isSelected() const { return selected_; }
  virtual void setSelected(bool selected, bool animated);
  // Called before the table hands the cell out again from its reuse pool.
  virtual void prepareForReuse();

  void setFrame(const Rect& frame) override;
  // The cell's own line ("row" details the table adds): accessory and selection marks.
  [[nodiscard]] std::string dumpLine() const override;

 private:
  Style style_;
  std::string reuseIdentifier_;
  std::shared_ptr<View> contentView_;
  std::shared_ptr<View> backgroundView_;
  std::shared_ptr<View> accessoryView_;
  std::shared_ptr<Label> textLabel_;
  std::shared_ptr<Label> detailTextLabel_;
  std::shared_ptr<ImageView> imageView_;
  bool highlighted_ = false;
  bool selected_ = false;
};

}  // namespace lk::ui
