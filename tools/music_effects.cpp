// Reverb (a Schroeder-Moorer network of eight damped combs and four all-passes per side), echo,
// compressor, limiter and 16-bit conversion.
#include "tools/music_effects.h"

#include <algorithm>
#include <cmath>
#include <deque>

#include "tools/bake_random.h"

namespace baker {

namespace {

// Comb and all-pass lengths in samples at 44.1 kHz; the right side is a little longer so the
// two sides decorrelate into a wide room.
constexpr int kCombLengths[8] = {1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
constexpr int kAllPassLengths[4] = {556, 441, 341, 225};
constexpr int kStereoSpread = 23;

class DampedComb {
 public:
  explicit DampedComb(int length) : buffer_(static_cast<size_t>(length), 0.0f) {}
  float process(float input, float feedback, float damping) {
    const float output = buffer_[index_];
    store_ = output * (1.0f - damping) + store_ * damping;
    buffer_[index_] = input + store_ * feedback;
    index_ = (index_ + 1) % buffer_.size();
    return output;
  }

 private:
  std::vector<float> buffer_;
  size_t index_ = 0;
  float store_ = 0.0f;
};

class AllPass {
 public:
  explicit AllPass(int length) : buffer_(static_cast<size_t>(length), 0.0f) {}
  float process(float input) {
    const float delayed = buffer_[index_];
    const float output = delayed - input;
    buffer_[index_] = input + delayed * 0.5f;
    index_ = (index_ + 1) % buffer_.size();
    return output;
  }

 private:
  std::vector<float> buffer_;
  size_t index_ = 0;
};

// One side of the reverb.
class ReverbSide {
 public:
  explicit ReverbSide(int spread) {
    for (int length : kCombLengths) combs_.emplace_back(length + spread);
    for (int length : kAllPassLengths) allPasses_.emplace_back(length + spread);
  }
  float process(float input, float feedback, float damping) {
    float sum = 0.0f;
    for (DampedComb& comb : combs_) sum += comb.process(input, feedback, damping);
    for (AllPass& allPass : allPasses_) sum = allPass.process(sum);
    return sum;
  }

 private:
  std::vector<DampedComb> combs_;
  std::vector<AllPass> allPasses_;
};

float linear(float decibelValue) { return std::pow(10.0f, decibelValue / 20.0f); }

void compress(StereoTrack* track, float thresholdDb, float ratio, float makeupDb) {
  // Level detector on the mean square: 10 ms to react, 150 ms to let go.
  const float attack = std::exp(-1.0f / (0.01f * kMusicSampleRate));
  const float release = std::exp(-1.0f / (0.15f * kMusicSampleRate));
  float meanSquare = 0.0f;
  const float makeup = linear(makeupDb);
  std::vector<float>& left = track->left.samples;
  std::vector<float>& right = track->right.samples;
  for (size_t i = 0; i < left.size(); ++i) {
    const float power = 0.5f * (left[i] * left[i] + right[i] * right[i]);
    const float coefficient = power > meanSquare ? attack : release;
    meanSquare = coefficient * meanSquare + (1.0f - coefficient) * power;
    const float levelDb = 10.0f * std::log10(std::max(meanSquare, 1e-12f)) + 3.0f;
    const float overDb = levelDb - thresholdDb;
    const float gain = overDb > 0.0f ? linear(-overDb * (1.0f - 1.0f / ratio)) * makeup : makeup;
    left[i] *= gain;
    right[i] *= gain;
  }
}

void limit(StereoTrack* track, float ceiling) {
  const size_t lookAhead = static_cast<size_t>(0.005 * kMusicSampleRate);
  std::vector<float>& left = track->left.samples;
  std::vector<float>& right = track->right.samples;
  const size_t count = left.size();
  // The gain each sample needs on its own.
  std::vector<float> needed(count);
  for (size_t i = 0; i < count; ++i) {
    const float peak = std::max(std::fabs(left[i]), std::fabs(right[i]));
    needed[i] = peak > ceiling ? ceiling / peak : 1.0f;
  }
  // The lowest need within the look-ahead window starting at each sample (monotonic queue).
  std::vector<float> ahead(count);
  std::deque<size_t> window;
  for (size_t k = count; k-- > 0;) {
    while (!window.empty() && needed[window.back()] >= needed[k]) window.pop_back();
    window.push_back(k);
    while (window.front() > k + lookAhead) window.pop_front();
    ahead[k] = needed[window.front()];
  }
  // Averaging the look-ahead minima over the window behind each sample gives a gain that ramps
  // down before every peak and is never above what the peak needs; the return is slow.
  const float recovery = 1.0f / (0.08f * kMusicSampleRate);
  double sum = 0.0;
  float gain = 1.0f;
  for (size_t i = 0; i < count; ++i) {
    sum += ahead[i];
    if (i >= lookAhead + 1) sum -= ahead[i - lookAhead - 1];
    const size_t span = std::min(i + 1, lookAhead + 1);
    const float smoothed = static_cast<float>(sum / static_cast<double>(span));
    gain = std::min(smoothed, gain + recovery);
    left[i] = std::clamp(left[i] * gain, -ceiling, ceiling);
    right[i] = std::clamp(right[i] * gain, -ceiling, ceiling);
  }
}

void removeRumble(StereoTrack* track) {
  StateVariableFilter leftFilter;
  StateVariableFilter rightFilter;
  leftFilter.set(28.0f, 0.7f);
  rightFilter.set(28.0f, 0.7f);
  for (float& sample : track->left.samples) sample = leftFilter.highpass(sample);
  for (float& sample : track->right.samples) sample = rightFilter.highpass(sample);
}

}  // namespace

void addReverb(const MonoTrack& send, StereoTrack* output, float roomSize, float damping, float wet) {
  ReverbSide left(0);
  ReverbSide right(kStereoSpread);
  const float feedback = roomSize * 0.28f + 0.7f;
  const float damp = damping * 0.4f;
  const float inputGain = 0.015f;
  for (size_t i = 0; i < send.samples.size(); ++i) {
    const float input = send.samples[i] * inputGain;
    output->left.add(i, left.process(input, feedback, damp) * wet);
    output->right.add(i, right.process(input, feedback, damp) * wet);
  }
}

void addPingPongEcho(const MonoTrack& send, StereoTrack* output, double delaySeconds, float feedback, float wet) {
  const size_t delay = static_cast<size_t>(delaySeconds * kMusicSampleRate);
  std::vector<float> leftLine(delay, 0.0f);
  std::vector<float> rightLine(delay, 0.0f);
  StateVariableFilter leftTone;
  StateVariableFilter rightTone;
  leftTone.set(3500.0f, 0.7f);
  rightTone.set(3500.0f, 0.7f);
  size_t index = 0;
  for (size_t i = 0; i < send.samples.size(); ++i) {
    const float fromLeft = leftLine[index];
    const float fromRight = rightLine[index];
    // The input enters on the left; each side's echo feeds the other, a little duller.
    leftLine[index] = send.samples[i] + leftTone.lowpass(fromRight) * feedback;
    rightLine[index] = rightTone.lowpass(fromLeft) * feedback;
    output->left.add(i, fromLeft * wet);
    output->right.add(i, fromRight * wet);
    index = (index + 1) % delay;
  }
}

void masterTrack(StereoTrack* track, float thresholdDb, float ratio, float makeupDb, float ceiling) {
  removeRumble(track);
  compress(track, thresholdDb, ratio, makeupDb);
  limit(track, ceiling);
}

std::vector<std::int16_t> toPcm16(const StereoTrack& track) {
  BakeRandom random(0x64697468ull);
  std::vector<std::int16_t> pcm(track.frames() * 2);
  for (size_t i = 0; i < track.frames(); ++i) {
    const float values[2] = {track.left.samples[i], track.right.samples[i]};
    for (int channel = 0; channel < 2; ++channel) {
      const float dither = random.fraction() - random.fraction();
      const float scaled = std::clamp(values[channel] * 32767.0f + dither, -32767.0f, 32767.0f);
      pcm[i * 2 + static_cast<size_t>(channel)] = static_cast<std::int16_t>(std::lround(scaled));
    }
  }
  return pcm;
}

}  // namespace baker
