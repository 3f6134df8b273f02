#pragma once

namespace lk {

namespace ui {
class ViewController;
}

// The album and the pager show their stack's bar translucent black (tagged 1) and give the
// default look back (tag 0) when they go; "返回" closes the modal stack they are in.
class AlbumNavigationBar {
 public:
  AlbumNavigationBar() = delete;

  static void makeTranslucent(ui::ViewController& screen);
  static void restore(ui::ViewController& screen);
  static void addCloseButton(ui::ViewController& screen);
};

}  // namespace lk
