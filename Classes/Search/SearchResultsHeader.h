#pragma once

#include <memory>
#include <string>
#include <vector>

#include "Platform/UI/Button.h"
#include "Platform/UI/ScrollView.h"
#include "Platform/UI/View.h"

namespace lk {

// The filter and sort bar above the search results: an area button, a category button and a
// sideways-scrolling row of sort tabs. It only posts notifications; the results screen decides.
class SearchResultsHeader : public ui::View {
 public:
  static constexpr double kButtonHeight = 36;
  static constexpr double kTabHeight = 34;
  static constexpr double kHeight = kButtonHeight + kTabHeight;
  static constexpr double kTabWidth = 80;

  // With `hasDistanceSort` the tabs include "距离" (the nearby search).
  explicit SearchResultsHeader(bool hasDistanceSort, ui::Rect frame = {0, 0, 320, kHeight});

  [[nodiscard]] bool hasDistanceSort() const { return hasDistanceSort_; }
  [[nodiscard]] const std::vector<std::string>& sortTitles() const { return sortTitles_; }

  [[nodiscard]] const std::string& leftTitle() const { return leftButton_->title(); }
  void setLeftTitle(const std::string& title) { leftButton_->setTitle(title); }
  [[nodiscard]] const std::string& rightTitle() const { return rightButton_->title(); }
  void setRightTitle(const std::string& title) { rightButton_->setTitle(title); }

  // The highlighted tab (0 is "默认").
  [[nodiscard]] int selectedSortIndex() const { return selected_; }
  // As a finger on tab `index`: highlights it and posts kSearchSortTermChanged with index + 1.
  // Returns false for a tab that does not exist.
  bool chooseSortItem(int index);
  // Highlights tab 0 without posting.
  void resetSelectedSortItem();
  // Highlights tab `index` without posting (false for a tab that does not exist).
  bool selectSortItem(int index);

  [[nodiscard]] const std::shared_ptr<ui::Button>& leftButton() const { return leftButton_; }
  [[nodiscard]] const std::shared_ptr<ui::Button>& rightButton() const { return rightButton_; }
  [[nodiscard]] const std::vector<std::shared_ptr<ui::Button>>& sortButtons() const {
    return sortButtons_;
  }

 private:
  void highlight(int index);

  bool hasDistanceSort_;
  std::vector<std::string> sortTitles_;
  std::shared_ptr<ui::Button> leftButton_;
  std::shared_ptr<ui::Button> rightButton_;
  std::shared_ptr<ui::ScrollView> sortBar_;
  std::vector<std::shared_ptr<ui::Button>> sortButtons_;
  int selected_ = 0;
};

}  // namespace lk
