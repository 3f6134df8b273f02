#pragma once

#include <chrono>
#include <optional>

namespace lk {

class LKRefreshTableHeaderView;

// The owner of a pull-down header. Every callback is optional: a delegate that does not answer
// the loading question counts as not loading, and one without a date empties the last-updated
// line.
class LKRefreshTableHeaderDelegate {
 public:
  LKRefreshTableHeaderDelegate() = default;
  LKRefreshTableHeaderDelegate(const LKRefreshTableHeaderDelegate&) = delete;
  LKRefreshTableHeaderDelegate& operator=(const LKRefreshTableHeaderDelegate&) = delete;
  virtual ~LKRefreshTableHeaderDelegate() = default;

  virtual void refreshTableHeaderDidTriggerRefresh(LKRefreshTableHeaderView& /*view*/) {}
  virtual bool refreshTableHeaderDataSourceIsLoading(LKRefreshTableHeaderView& /*view*/) {
    return false;
  }
  virtual std::optional<std::chrono::system_clock::time_point>
  refreshTableHeaderDataSourceLastUpdated(LKRefreshTableHeaderView& /*view*/) {
    return std::nullopt;
  }
};

}  // namespace lk
