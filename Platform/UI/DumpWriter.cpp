#include "Platform/UI/DumpWriter.h"

namespace lk::ui {

void DumpWriter::line(std::string_view text) {
  text_.append(static_cast<std::size_t>(depth_) * 2, ' ');
  text_.append(text);
  text_.push_back('\n');
}

}  // namespace lk::ui
