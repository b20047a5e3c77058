// The global scheduler of tweens: registers them with absolute windows and plays the due ones.
// The timeline owns every tween it creates; each stays valid until the timeline is destroyed.
#pragma once

#include <cstddef>
#include <list>
#include <memory>

#include "core/state_record.h"
#include "core/vector3.h"
#include "sequence/tween.h"

class TweenTimeline {
 public:
  TweenTimeline() = default;
  TweenTimeline(const TweenTimeline&) = delete;
  TweenTimeline& operator=(const TweenTimeline&) = delete;
  virtual ~TweenTimeline() = default;

  // Each creation returns the new tween, or null (with a log line) when the period is not
  // greater than 0 or the target is null. Windows are in seconds of timeline time.
  FloatTween* addFloatTween(float* target, float from, float to, int mode, float start, float end, float period);
  FloatTween* addPingPong(float* target, float from, float to, float start, float end, float period);  // held
  VectorTween* addVectorTween(Vector3* target, const Vector3& from, const Vector3& to, int mode, float start,
                              float end, float period);
  // One linear pass from `from` to `to` over start … start + duration.
  VectorTween* addVectorMove(Vector3* target, const Vector3& from, const Vector3& to, float start, float duration);

  void update(float dtSeconds);  // called once a frame with the clamped frame duration
  // Writes the time and every tween's place and own clock as they stand ...
  void writeState(StateRecord& record) const;
  // ... and reads them back: the tweens play again as they did from there.
  void readState(StateReader& reader);

  std::size_t waitingCount() const { return waiting_.size(); }
  std::size_t activeCount() const { return active_.size(); }

  float time = 0.0f;       // the sum of every dt passed to update
  float nextStart = 0.0f;  // earliest start among the waiting tweens, as last computed

 private:
  using TweenList = std::list<std::unique_ptr<Tween>>;

  template <typename TweenType, typename Value>
  TweenType* addTween(Value* target, const Value& from, const Value& to, int mode, float start, float end,
                      float period);
  void registerTween(std::unique_ptr<Tween> tween);
  void activateDueTweens();

  TweenList waiting_;  // not being played
  TweenList active_;   // window contains the current time

  int tweenCount_ = 0;
};

TweenTimeline& tweenTimeline();
