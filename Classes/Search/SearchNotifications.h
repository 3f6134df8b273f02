#pragma once

namespace lk {

// Posted by the results header, heard by the results screen that is on top of its stack.
// The left picker button: open the area filter.
inline constexpr const char* kSearchSelectLeft = "kSearchSelectLeft";
// The right picker button: open the category filter.
inline constexpr const char* kSearchSelectRight = "kSearchSelectRight";
// A sort tab was chosen; user info "sort" (int) is the tab's position plus one.
inline constexpr const char* kSearchSortTermChanged = "kSearchSortTermChanged";
inline constexpr const char* kSearchSortKey = "sort";

}  // namespace lk
