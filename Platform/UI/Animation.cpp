#include "Platform/UI/Animation.h"

#include <algorithm>
#include <chrono>

namespace lk::ui {

Animation::Animation(Token, double duration, double delay, Curve curve, Step step,
                     Completion completion)
    : duration_(std::max(0.0, duration)),
      delay_(std::max(0.0, delay)),
      curve_(curve),
      step_(std::move(step)),
      completion_(std::move(completion)) {}

// The run loop's timer holds the animation while it runs, so nothing is pending here; the loop
// itself may be going away (end of a test), so the destructor must not reach it.
Animation::~Animation() = default;

std::shared_ptr<Animation> Animation::start(double duration, Step step, Completion completion,
                                            Curve curve, double delay) {
  auto anim = std::make_shared<Animation>(Token{}, duration, delay, curve, std::move(step),
                                          std::move(completion));
  anim->running_ = true;
  anim->begin_ = RunLoop::main().now() + seconds(anim->delay_);
  double first = anim->delay_ + std::min(kFrameSeconds, anim->duration_);
  anim->timer_ = RunLoop::main().schedule(seconds(first), [anim] { anim->tick(); });
  return anim;
}

double Animation::ease(Curve curve, double t) {
  t = std::clamp(t, 0.0, 1.0);
  switch (curve) {
    case Curve::kLinear:
      return t;
    case Curve::kEaseIn:
      return t * t;
    case Curve::kEaseOut:
      return 1 - (1 - t) * (1 - t);
    case Curve::kEaseInOut:
      return t < 0.5 ? 2 * t * t : 1 - 2 * (1 - t) * (1 - t);
  }
  return t;
}

void Animation::tick() {
  timer_ = 0;
  if (!running_) return;
  double elapsed = std::chrono::duration<double>(RunLoop::main().now() - begin_).count();
  if (duration_ <= 0 || elapsed >= duration_ - 1e-9) {
    end(true);
    return;
  }
  auto keep = weak_from_this().lock();
  if (step_) step_(ease(curve_, elapsed / duration_));
  if (!running_) return;
  double next = std::min(kFrameSeconds, duration_ - elapsed);
  timer_ = RunLoop::main().schedule(seconds(next), [keep] { keep->tick(); });
}

void Animation::end(bool finished) {
  if (!running_) return;
  running_ = false;
  if (timer_ != 0) {
    RunLoop::main().cancel(timer_);
    timer_ = 0;
  }
  auto keep = weak_from_this().lock();
  if (finished && step_) step_(1.0);
  Completion done = std::move(completion_);
  step_ = nullptr;
  if (done) done(finished);
}

void Animation::cancel() {
  end(false);
}

void Animation::finishNow() {
  end(true);
}

}  // namespace lk::ui
