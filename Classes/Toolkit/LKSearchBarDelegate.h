#pragma once

namespace lk {

class LKSearchBar;

// Told of a search bar's editing. Every callback is optional.
class LKSearchBarDelegate {
 public:
  LKSearchBarDelegate() = default;
  LKSearchBarDelegate(const LKSearchBarDelegate&) = delete;
  LKSearchBarDelegate& operator=(const LKSearchBarDelegate&) = delete;
  virtual ~LKSearchBarDelegate() = default;

  virtual void searchBarDidBeginEditing(LKSearchBar& /*bar*/) {}
  virtual void searchBarDidChange(LKSearchBar& /*bar*/) {}
  virtual void searchBarCleared(LKSearchBar& /*bar*/) {}
  virtual void searchBarDidEndEditing(LKSearchBar& /*bar*/) {}
  virtual void searchBarSearch(LKSearchBar& /*bar*/) {}
  virtual void showHistory(LKSearchBar& /*bar*/) {}
};

}  // namespace lk
