#pragma once

#include <memory>
#include <optional>
#include <string>

#include "Classes/Toolkit/LKSearchBarDelegate.h"
#include "Platform/UI/Button.h"
#include "Platform/UI/ImageView.h"
#include "Platform/UI/TextField.h"

namespace lk {

// The search field of the search screens: a one-line field with a history button that shows
// while the field is empty, reporting its editing to a delegate.
class LKSearchBar : public ui::ImageView, private ui::TextFieldDelegate {
 public:
  // The delegate is not retained and must outlive the bar or be cleared.
  LKSearchBar(ui::Rect frame, LKSearchBarDelegate* delegate, std::shared_ptr<ui::View> titleView);
  ~LKSearchBar() override;

  LKSearchBarDelegate* delegate;
  bool isAlwaysShowHistoryButton = false;
  bool isAlwaysHideHistoryButton = false;

  [[nodiscard]] const std::shared_ptr<ui::View>& titleView() const { return titleView_; }
  [[nodiscard]] const std::shared_ptr<ui::TextField>& textField() const { return textField_; }
  [[nodiscard]] const std::shared_ptr<ui::ImageView>& backgroundView() const {
    return backgroundView_;
  }
  [[nodiscard]] const std::shared_ptr<ui::Button>& historyButton() const { return historyButton_; }
  [[nodiscard]] bool isHistoryButtonShown() const { return historyButton_->superview() != nullptr; }

  void setPlaceHolder(const std::string& text);
  // Stores, shows and hides the history button when `text` differs from the stored text (an
  // absent text always differs); equal text changes nothing.
  void setSearchText(const std::optional<std::string>& text);
  [[nodiscard]] const std::optional<std::string>& searchText() const { return searchText_; }

  void showHistoryButton();
  void hideHistoryButton();
  bool becomeFirstResponder();
  bool resignFirstResponder();
  [[nodiscard]] bool isFirstResponder() const;
  // The field stops taking touches but still shows its text.
  void disable();
  // The history button's action.
  void showHistory();

 private:
  void textFieldDidBeginEditing(ui::TextField& field) override;
  void textFieldDidChange(ui::TextField& field) override;
  bool textFieldShouldClear(ui::TextField& field) override;
  void textFieldDidEndEditing(ui::TextField& field) override;
  bool textFieldShouldReturn(ui::TextField& field) override;

  std::shared_ptr<ui::View> titleView_;
  std::shared_ptr<ui::TextField> textField_;
  std::shared_ptr<ui::ImageView> backgroundView_;
  std::shared_ptr<ui::Button> historyButton_;
  std::optional<std::string> searchText_;
  bool clearing_ = false;
};

}  // namespace lk
