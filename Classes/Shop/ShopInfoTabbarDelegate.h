#pragma once

namespace lk {

// Told which button of the shop screen's bottom bar was pressed. Every callback is optional.
class ShopInfoTabbarDelegate {
 public:
  ShopInfoTabbarDelegate() = default;
  ShopInfoTabbarDelegate(const ShopInfoTabbarDelegate&) = delete;
  ShopInfoTabbarDelegate& operator=(const ShopInfoTabbarDelegate&) = delete;
  virtual ~ShopInfoTabbarDelegate() = default;

  virtual void button1Clicked() {}  // post a broadcast
  virtual void button2Clicked() {}  // share
  virtual void button3Clicked() {}  // more actions
};

}  // namespace lk
