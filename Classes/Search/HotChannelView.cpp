#include "Classes/Search/HotChannelView.h"

#include "Classes/Records/Channel.h"
#include "Classes/Search/HotChannelViewDelegate.h"
#include "Platform/Log/Log.h"
#include "Platform/UI/Image.h"

namespace lk {

namespace {

constexpr double kItemWidth = 70;
constexpr double kItemHeight = 70;
constexpr double kMargin = 8;
constexpr double kTilt = 0.05;  // radians, alternating

}  // namespace

HotChannelView::HotChannelView(ui::Rect frame, std::vector<std::shared_ptr<Channel>> items)
    : ui::View(frame), items_(std::move(items)) {
  for (std::size_t i = 0; i < items_.size(); ++i) {
    auto button = std::make_shared<ui::Button>(ui::Rect{frame.width() / 2, kHeight / 2, 0, 0});
    const int id = items_[i]->id();
    button->setImage(ui::Image::named(strprintf("firstpage_channel_%d", id)));
    button->setHighlightedImage(ui::Image::named(strprintf("firstpage_channel_%d_clicked", id)));
    std::weak_ptr<Channel> weak = items_[i];
    button->setAction([this, weak](ui::Button&) {
      auto channel = weak.lock();
      if (channel && delegate != nullptr) delegate->goChannelSearch(channel);
    });
    addSubview(button);
    buttons_.push_back(std::move(button));
  }
}

HotChannelView::~HotChannelView() {
  for (auto& button : buttons_)
    button->setAction(nullptr);
}

ui::Rect HotChannelView::itemRectWithIndex(int index) {
  const int column = index % kColumns;
  const int row = index / kColumns;
  return ui::Rect{kMargin + column * (kItemWidth + kMargin),
                  kMargin + row * (kItemHeight + kMargin), kItemWidth, kItemHeight};
}

double HotChannelView::itemAngleWithIndex(int index) {
  return index % 2 == 0 ? -kTilt : kTilt;
}

void HotChannelView::show() {
  for (std::size_t i = 0; i < buttons_.size(); ++i) {
    const int index = static_cast<int>(i);
    buttons_[i]->setFrame(itemRectWithIndex(index));
    buttons_[i]->setRotation(itemAngleWithIndex(index));
  }
}

}  // namespace lk
