#include "Platform/UI/ViewAnimator.h"

namespace lk::ui {

namespace {
double mix(double a, double b, double t) {
  return a + (b - a) * t;
}
}  // namespace

std::shared_ptr<Animation> ViewAnimator::animate(const std::shared_ptr<View>& view, double duration,
                                                 Target target, Animation::Completion completion,
                                                 Animation::Curve curve, const std::string& key,
                                                 double delay) {
  std::weak_ptr<View> weak = view;
  struct From {
    Rect frame;
    double alpha, scale, rotation;
  };
  auto from =
      std::make_shared<From>(From{view->frame(), view->alpha(), view->scale(), view->rotation()});
  auto step = [weak, from, target](double t) {
    auto v = weak.lock();
    if (!v) return;
    if (target.frame) {
      const Rect& a = from->frame;
      const Rect& b = *target.frame;
      v->setFrame(Rect{mix(a.x(), b.x(), t), mix(a.y(), b.y(), t), mix(a.width(), b.width(), t),
                       mix(a.height(), b.height(), t)});
    }
    if (target.alpha) v->setAlpha(mix(from->alpha, *target.alpha, t));
    if (target.scale) v->setScale(mix(from->scale, *target.scale, t));
    if (target.rotation) v->setRotation(mix(from->rotation, *target.rotation, t));
  };
  auto anim = Animation::start(duration, step, std::move(completion), curve, delay);
  if (!key.empty()) view->addAnimation(key, anim);
  return anim;
}

}  // namespace lk::ui
