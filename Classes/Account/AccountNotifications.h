#pragma once

namespace lk {

// Posted by the login controller (no object): after every successful login, automatic or by
// hand, and after a logout.
inline constexpr const char* kLoginSucceed = "kLoginSucceed";
inline constexpr const char* kLogoutSucceed = "kLogoutSucceed";

}  // namespace lk
