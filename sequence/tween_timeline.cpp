#include "sequence/tween_timeline.h"

#include <utility>

#include "core/debug_log.h"

namespace {

// Where the activation pass starts its search for the earliest waiting start.
constexpr float kNextStartCeiling = 1000.0f;

}  // namespace

TweenTimeline& tweenTimeline() {
  static TweenTimeline timeline;
  return timeline;
}

template <typename TweenType, typename Value>
TweenType* TweenTimeline::addTween(Value* target, const Value& from, const Value& to, int mode, float start,
                                   float end, float period) {
  // A period of 0 or less would divide by zero every time the tween is evaluated.
  if (!(period > 0.0f)) {
    DebugLog::append(kLogFileName, "TweenTimeline: tween with period %f refused, it must be greater than 0\r\n",
                     static_cast<double>(period));
    return nullptr;
  }
  if (target == nullptr) {
    DebugLog::append(kLogFileName, "TweenTimeline: tween without a target refused\r\n");
    return nullptr;
  }
  auto tween = std::make_unique<TweenType>(target, from, to, mode, start, end, period);
  TweenType* const created = tween.get();
  registerTween(std::move(tween));
  return created;
}

FloatTween* TweenTimeline::addFloatTween(float* target, float from, float to, int mode, float start, float end,
                                         float period) {
  return addTween<FloatTween>(target, from, to, mode, start, end, period);
}

FloatTween* TweenTimeline::addPingPong(float* target, float from, float to, float start, float end, float period) {
  return addFloatTween(target, from, to, kTweenPingPongHeld, start, end, period);
}

VectorTween* TweenTimeline::addVectorTween(Vector3* target, const Vector3& from, const Vector3& to, int mode,
                                           float start, float end, float period) {
  return addTween<VectorTween>(target, from, to, mode, start, end, period);
}

VectorTween* TweenTimeline::addVectorMove(Vector3* target, const Vector3& from, const Vector3& to, float start,
                                          float duration) {
  const float end = start + duration;
  return addVectorTween(target, from, to, kTweenSawTooth, start, end, duration);
}

void TweenTimeline::registerTween(std::unique_ptr<Tween> tween) {
  // A tween whose window already holds the current time plays from the next update on; it is
  // not applied now.
  if (tween->start <= time && time <= tween->end) {
    active_.push_back(std::move(tween));
    return;
  }
  if (tween->start < nextStart) {
    nextStart = tween->start;
  }
  waiting_.push_back(std::move(tween));
}

void TweenTimeline::update(float dtSeconds) {
  time += dtSeconds;
  if (time >= nextStart) {
    activateDueTweens();
  }
  // Tweens activated above are played here too, so they are applied twice in their first frame.
  for (auto it = active_.begin(); it != active_.end();) {
    const auto current = it++;
    Tween& tween = **current;
    if (tween.start <= time && time <= tween.end) {
      tween.advance(dtSeconds);
      tween.apply();
    } else {
      waiting_.splice(waiting_.end(), active_, current);
    }
  }
}

void TweenTimeline::activateDueTweens() {
  // A held tween whose window has passed comes back here and is applied at its end value; a
  // passed tween of any kind keeps nextStart at or below the current time from then on.
  nextStart = kNextStartCeiling;
  for (auto it = waiting_.begin(); it != waiting_.end();) {
    const auto current = it++;
    Tween& tween = **current;
    if (time >= tween.start && (tween.held || time <= tween.end)) {
      tween.localTime = time;
      active_.splice(active_.end(), waiting_, current);
      tween.apply();
    } else if (tween.start < nextStart) {
      nextStart = tween.start;
    }
  }
}

namespace {

void copyTweens(const std::list<std::unique_ptr<Tween>>& from, std::list<std::unique_ptr<Tween>>& to) {
  to.clear();
  for (const std::unique_ptr<Tween>& tween : from) {
    to.push_back(tween->clone());
  }
}

}  // namespace

void TweenTimeline::keepStart() {
  copyTweens(waiting_, kept_.waiting);
  copyTweens(active_, kept_.active);
  kept_.time = time;
  kept_.nextStart = nextStart;
}

void TweenTimeline::rewind() {
  copyTweens(kept_.waiting, waiting_);
  copyTweens(kept_.active, active_);
  time = kept_.time;
  nextStart = kept_.nextStart;
}
