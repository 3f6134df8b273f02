#pragma once

namespace lk {

// Posted by LocationService when an attempt ends, or when its time-out passes.
// The position was looked up; LocationService's location() holds it. No object.
inline constexpr const char* kLocationSuccessed = "kLocationSuccessed";
// No position: time-out, a fix at (0, 0), a failed or unreadable lookup (no object), or the
// location manager's failure (the PlatformError as the object).
inline constexpr const char* kLocationFailed = "kLocationFailed";

}  // namespace lk
