#pragma once

namespace lk::ui {

// How a message or mail sheet ended.
enum class ComposeResult { kCancelled, kSent, kFailed };

}  // namespace lk::ui
