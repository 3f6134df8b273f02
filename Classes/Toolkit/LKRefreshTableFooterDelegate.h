#pragma once

#include <chrono>
#include <optional>

namespace lk {

class LKRefreshTableFooterView;

// The owner of a pull-up footer. Every callback is optional: a delegate that does not answer the
// loading question counts as not loading.
class LKRefreshTableFooterDelegate {
 public:
  LKRefreshTableFooterDelegate() = default;
  LKRefreshTableFooterDelegate(const LKRefreshTableFooterDelegate&) = delete;
  LKRefreshTableFooterDelegate& operator=(const LKRefreshTableFooterDelegate&) = delete;
  virtual ~LKRefreshTableFooterDelegate() = default;

  virtual void refreshTableFooterDidTriggerRefresh(LKRefreshTableFooterView& /*view*/) {}
  virtual bool refreshTableFooterDataSourceIsLoading(LKRefreshTableFooterView& /*view*/) {
    return false;
  }
  virtual std::optional<std::chrono::system_clock::time_point>
  refreshTableFooterDataSourceLastUpdated(LKRefreshTableFooterView& /*view*/) {
    return std::nullopt;
  }
};

}  // namespace lk
