#include "Classes/Toolkit/LKSearchBar.h"

namespace lk {

LKSearchBar::LKSearchBar(ui::Rect frame, LKSearchBarDelegate* d,
                         std::shared_ptr<ui::View> titleView)
    : ui::ImageView(frame, ui::Image::named("section_bg")),
      delegate(d),
      titleView_(std::move(titleView)) {
  setUserInteractionEnabled(true);
  isDecorative = true;
  backgroundView_ =
      std::make_shared<ui::ImageView>(ui::Rect{10, 6, 300, 30}, ui::Image::named("searchbar_bg"));
  backgroundView_->isDecorative = true;
  textField_ = std::make_shared<ui::TextField>(ui::Rect{50, 8, 257, 27});
  textField_->returnKeyType = ui::TextInput::ReturnKey::kSearch;
  textField_->clearButtonMode = ui::TextField::ClearButtonMode::kWhileEditing;
  textField_->enablesReturnKeyAutomatically = true;
  textField_->setFont(ui::Font::named("STHeitiSC-Light", 16));
  textField_->setBackgroundColor(ui::Color::white());
  textField_->contentVerticalAlignment = ui::TextField::VerticalAlignment::kCenter;
  textField_->setDelegate(this);
  historyButton_ = std::make_shared<ui::Button>(ui::Rect{275, 12, 26, 18});
  historyButton_->setImage(ui::Image::named("button_searchbar_bookmark"));
  historyButton_->setAction([this](ui::Button&) { showHistory(); });
  addSubview(backgroundView_);
  addSubview(textField_);
  if (titleView_) {
    titleView_->setFrame(ui::Rect{14, 10, 36, 24});
    titleView_->setBackgroundColor(ui::Color::white());
    addSubview(titleView_);
  }
}

LKSearchBar::~LKSearchBar() {
  textField_->setDelegate(nullptr);
  historyButton_->setAction(nullptr);
}

void LKSearchBar::setPlaceHolder(const std::string& text) {
  textField_->setPlaceholder(text);
}

void LKSearchBar::setSearchText(const std::optional<std::string>& text) {
  if (text && searchText_ && *text == *searchText_) return;
  searchText_ = text;
  textField_->setText(text.value_or(std::string()));
  hideHistoryButton();
}

void LKSearchBar::showHistoryButton() {
  if (isAlwaysHideHistoryButton || isHistoryButtonShown()) return;
  addSubview(historyButton_);
}

void LKSearchBar::hideHistoryButton() {
  if (isAlwaysShowHistoryButton || !isHistoryButtonShown()) return;
  historyButton_->removeFromSuperview();
}

bool LKSearchBar::becomeFirstResponder() {
  return textField_->becomeFirstResponder();
}

bool LKSearchBar::resignFirstResponder() {
  return textField_->resignFirstResponder();
}

bool LKSearchBar::isFirstResponder() const {
  return textField_->isFirstResponder();
}

void LKSearchBar::disable() {
  textField_->setUserInteractionEnabled(false);
}

void LKSearchBar::showHistory() {
  if (delegate != nullptr) delegate->showHistory(*this);
}

void LKSearchBar::textFieldDidBeginEditing(ui::TextField& field) {
  if (field.text().empty()) {
    showHistoryButton();
  } else {
    hideHistoryButton();
  }
  if (delegate != nullptr) delegate->searchBarDidBeginEditing(*this);
}

void LKSearchBar::textFieldDidChange(ui::TextField& field) {
  if (clearing_) {  // the clear button reports itself as cleared, not as a change
    clearing_ = false;
    return;
  }
  if (field.text().empty()) {
    showHistoryButton();
  } else {
    hideHistoryButton();
  }
  if (delegate != nullptr) delegate->searchBarDidChange(*this);
}

bool LKSearchBar::textFieldShouldClear(ui::TextField& /*field*/) {
  clearing_ = true;
  setSearchText(std::nullopt);
  showHistoryButton();
  if (delegate != nullptr) delegate->searchBarCleared(*this);
  return true;
}

void LKSearchBar::textFieldDidEndEditing(ui::TextField& field) {
  setSearchText(field.text());
  hideHistoryButton();
  if (delegate != nullptr) delegate->searchBarDidEndEditing(*this);
}

bool LKSearchBar::textFieldShouldReturn(ui::TextField& field) {
  setSearchText(field.text());
  if (delegate != nullptr) delegate->searchBarSearch(*this);
  return true;
}

}  // namespace lk
