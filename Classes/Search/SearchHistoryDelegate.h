#pragma once

#include <string>

namespace lk {

// Told of the entry the user chose on the history screen. Every callback is optional.
class SearchHistoryDelegate {
 public:
  SearchHistoryDelegate() = default;
  SearchHistoryDelegate(const SearchHistoryDelegate&) = delete;
  SearchHistoryDelegate& operator=(const SearchHistoryDelegate&) = delete;
  virtual ~SearchHistoryDelegate() = default;

  virtual void setSearchText(const std::string& /*text*/) {}
};

}  // namespace lk
