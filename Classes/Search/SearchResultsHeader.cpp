#include "Classes/Search/SearchResultsHeader.h"

#include <algorithm>
#include <any>

#include "Classes/Search/SearchNotifications.h"
#include "Platform/Notifications/NotificationCenter.h"
#include "Platform/UI/Image.h"

namespace lk {

namespace {
constexpr double kMinTabWidth = 64;
}  // namespace

SearchResultsHeader::SearchResultsHeader(bool hasDistanceSort, ui::Rect frame)
    : ui::View(frame), hasDistanceSort_(hasDistanceSort) {
  sortTitles_ = hasDistanceSort ? std::vector<std::string>{"默认", "总分", "点评数", "距离", "优惠"}
                                : std::vector<std::string>{"默认", "总分", "点评数", "优惠"};
  setBackgroundColor(ui::Color::gray(0.93));
  const double half = frame.width() / 2;
  leftButton_ = std::make_shared<ui::Button>(ui::Rect{0, 0, half, kButtonHeight}, "全部区域");
  leftButton_->setBackgroundImage(ui::Image::named("search_filter_left"));
  leftButton_->setAction(
      [](ui::Button&) { NotificationCenter::defaultCenter().post(kSearchSelectLeft); });
  rightButton_ = std::make_shared<ui::Button>(ui::Rect{half, 0, half, kButtonHeight}, "全部分类");
  rightButton_->setBackgroundImage(ui::Image::named("search_filter_right"));
  rightButton_->setAction(
      [](ui::Button&) { NotificationCenter::defaultCenter().post(kSearchSelectRight); });
  addSubview(leftButton_);
  addSubview(rightButton_);

  // The tabs share the width when they fit at a readable size; otherwise the row scrolls.
  const double count = static_cast<double>(sortTitles_.size());
  const double tabWidth = std::max(kMinTabWidth, frame.width() / count);
  sortBar_ =
      std::make_shared<ui::ScrollView>(ui::Rect{0, kButtonHeight, frame.width(), kTabHeight});
  sortBar_->setContentSize({tabWidth * count, kTabHeight});
  sortBar_->scrollEnabled = tabWidth * count > frame.width();
  sortBar_->alwaysBounceVertical = false;
  sortBar_->showsVerticalScrollIndicator = false;
  for (std::size_t i = 0; i < sortTitles_.size(); ++i) {
    auto tab = std::make_shared<ui::Button>(
        ui::Rect{tabWidth * static_cast<double>(i), 0, tabWidth, kTabHeight}, sortTitles_[i]);
    tab->setTitleColor(ui::Color::gray(0.3));
    const int index = static_cast<int>(i);
    tab->setAction([this, index](ui::Button&) { chooseSortItem(index); });
    sortBar_->addSubview(tab);
    sortButtons_.push_back(std::move(tab));
  }
  addSubview(sortBar_);
  highlight(0);
}

void SearchResultsHeader::highlight(int index) {
  selected_ = index;
  for (std::size_t i = 0; i < sortButtons_.size(); ++i) {
    sortButtons_[i]->setSelected(static_cast<int>(i) == index);
  }
}

bool SearchResultsHeader::chooseSortItem(int index) {
  if (index < 0 || index >= static_cast<int>(sortButtons_.size())) return false;
  highlight(index);
  Notification note{kSearchSortTermChanged, std::any(this), {}};
  note.userInfo[kSearchSortKey] = index + 1;
  NotificationCenter::defaultCenter().post(note);
  return true;
}

void SearchResultsHeader::resetSelectedSortItem() {
  highlight(0);
}

bool SearchResultsHeader::selectSortItem(int index) {
  if (index < 0 || index >= static_cast<int>(sortButtons_.size())) return false;
  highlight(index);
  return true;
}

}  // namespace lk
