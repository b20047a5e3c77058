#include "sequence/tween_timeline.h"

#include <cassert>
#include <utility>
#include <vector>

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
  tween->order = tweenCount_++;
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

void writeTweens(StateRecord& record, const std::list<std::unique_ptr<Tween>>& tweens) {
  record.write(static_cast<uint64_t>(tweens.size()));
  for (const std::unique_ptr<Tween>& tween : tweens) {
    record.write(tween->order);
    record.write(tween->localTime);
  }
}

// Takes the tweens the record names, in its order, from byOrder into the list.
void readTweens(StateReader& reader, std::vector<std::unique_ptr<Tween>>& byOrder,
                std::list<std::unique_ptr<Tween>>& tweens) {
  uint64_t count = 0;
  reader.read(count);
  for (uint64_t n = 0; n < count && !reader.failed(); ++n) {
    int order = -1;
    float localTime = 0.0f;
    reader.read(order);
    reader.read(localTime);
    if (order < 0 || static_cast<std::size_t>(order) >= byOrder.size() || !byOrder[order]) {
      assert(false && "a tween state names a tween this timeline does not have");
      return;
    }
    byOrder[order]->localTime = localTime;
    tweens.push_back(std::move(byOrder[order]));
  }
}

}  // namespace

void TweenTimeline::writeState(StateRecord& record) const {
  record.write(time);
  record.write(nextStart);
  writeTweens(record, waiting_);
  writeTweens(record, active_);
}

void TweenTimeline::readState(StateReader& reader) {
  std::vector<std::unique_ptr<Tween>> byOrder(static_cast<std::size_t>(tweenCount_));
  for (TweenList* list : {&waiting_, &active_}) {
    for (std::unique_ptr<Tween>& tween : *list) {
      byOrder[tween->order] = std::move(tween);
    }
    list->clear();
  }
  reader.read(time);
  reader.read(nextStart);
  readTweens(reader, byOrder, waiting_);
  readTweens(reader, byOrder, active_);
}
