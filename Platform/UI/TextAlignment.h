#pragma once

namespace lk::ui {

enum class TextAlignment { kLeft, kCenter, kRight };

// How a single line that does not fit is shortened.
enum class LineBreakMode { kWordWrap, kCharacterWrap, kClip, kTailTruncation };

}  // namespace lk::ui
