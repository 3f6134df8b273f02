#pragma once

#include <functional>
#include <memory>

#include "Platform/RunLoop/RunLoop.h"

namespace lk::ui {

// A timed change driven by the main run loop's clock (tests move the virtual clock). Each
// tick reports the eased progress in [0, 1]; the last tick reports exactly 1, so the final state
// always applies when the animation finishes. The run loop keeps a running animation alive.
class Animation : public std::enable_shared_from_this<Animation> {
 public:
  enum class Curve { kLinear, kEaseIn, kEaseOut, kEaseInOut };
  using Step = std::function<void(double progress)>;
  using Completion = std::function<void(bool finished)>;
  static constexpr double kFrameSeconds = 1.0 / 60.0;

  struct Token {
    explicit Token() = default;
  };
  Animation(Token, double duration, double delay, Curve curve, Step step, Completion completion);
  Animation(const Animation&) = delete;
  Animation& operator=(const Animation&) = delete;
  ~Animation();

  // Starts at once (after `delay` seconds). A zero duration applies the final state on the
  // first tick, still through the run loop.
  static std::shared_ptr<Animation> start(double duration, Step step, Completion completion = {},
                                          Curve curve = Curve::kEaseInOut, double delay = 0);

  // Stops where it is; the completion runs with finished = false.
  void cancel();
  // Applies the final state now; the completion runs with finished = true.
  void finishNow();
  [[nodiscard]] bool isRunning() const { return running_; }
  [[nodiscard]] double duration() const { return duration_; }

  static double ease(Curve curve, double t);

 private:
  void tick();
  void end(bool finished);

  double duration_;
  double delay_;
  Curve curve_;
  Step step_;
  Completion completion_;
  TimePoint begin_;
  RunLoop::TimerId timer_ = 0;
  bool running_ = false;
};

}  // namespace lk::ui
