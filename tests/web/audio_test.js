// The music in the page: what goes out of `orvo.audio.output` is the track from the second the
// page says the listener hears (within 5 ms, by cross-correlation with ffmpeg's decoding of the
// same track), each live frame's time is the music's time when the frame began (within 20 ms),
// and a jump ahead moves the sound with the picture.
'use strict';

const assert = require('node:assert/strict');
const { test, before, after } = require('node:test');
const { launchBrowser, openPage, waitForOrvo, sleep } = require('./harness');
const { decodeTrack } = require('./native');

const kMostLagMs = 5;
const kMostFrameGapMs = 20;
const kRecordSeconds = 1.5;
// How far around the expected place the correlation looks.
const kSearchSeconds = 0.1;

// Before the page's scripts: every animation frame notes the music's time as it begins, and
// after it, when it drew a playing frame, that frame's time beside it.
function noteFrameTimes() {
  const original = window.requestAnimationFrame.bind(window);
  window.orvoFrameChecks = [];
  window.requestAnimationFrame = (callback) => original((timestamp) => {
    const orvo = window.orvo;
    const heard = orvo && typeof orvo.audioTime === 'function' ? orvo.audioTime() : null;
    const framesBefore = orvo ? orvo.frames : 0;
    callback(timestamp);
    if (orvo && orvo.state === 'playing' && orvo.frames !== framesBefore && heard !== null) {
      window.orvoFrameChecks.push({ time: orvo.time, heard });
    }
  });
}

// Page side: records `seconds` of what goes through orvo.audio.output with an AudioWorklet, and
// where the page said the music was: `heard` at context time `contextTime - latency`.
async function recordOutput(seconds) {
  const { context, output } = window.orvo.audio;
  if (!window.orvoTapReady) {
    const code = `registerProcessor('orvo-tap', class extends AudioWorkletProcessor {
      process(inputs) {
        const channels = inputs[0];
        if (channels.length > 0) {
          const mono = new Float32Array(channels[0].length);
          for (const channel of channels) {
            for (let i = 0; i < mono.length; ++i) mono[i] += channel[i] / channels.length;
          }
          this.port.postMessage({ frame: currentFrame, samples: mono }, [mono.buffer]);
        }
        return true;
      }
    });`;
    window.orvoTapReady = context.audioWorklet.addModule(
      URL.createObjectURL(new Blob([code], { type: 'application/javascript' })));
  }
  await window.orvoTapReady;
  const tap = new AudioWorkletNode(context, 'orvo-tap');
  // The tap is pulled through a silent gain to the destination, so it runs without being heard.
  const silent = new GainNode(context, { gain: 0 });
  const chunks = [];
  tap.port.onmessage = (event) => chunks.push(event.data);
  output.connect(tap);
  tap.connect(silent).connect(context.destination);
  // The latency the page allows for: the output's where the browser knows it yet, else the
  // context's own (384 frames, 8.7 ms at 44.1 kHz, before the device has reported).
  const anchor = { contextTime: context.currentTime, latency: context.outputLatency || context.baseLatency || 0,
                   heard: window.orvo.audioTime() };
  await new Promise((resolve) => setTimeout(resolve, seconds * 1000));
  output.disconnect(tap);
  tap.disconnect();
  silent.disconnect();
  return { sampleRate: context.sampleRate, anchor, chunks: chunks.map((chunk) =>
    ({ frame: chunk.frame, samples: Array.from(chunk.samples) })) };
}

// The recording as one run of samples from its first chunk, which must have no gap.
function joinChunks(chunks) {
  assert.ok(chunks.length > 0, 'the tap on orvo.audio.output recorded nothing');
  const first = chunks[0].frame;
  const last = chunks[chunks.length - 1];
  const samples = new Float32Array(last.frame + last.samples.length - first);
  for (const chunk of chunks) {
    samples.set(chunk.samples, chunk.frame - first);
  }
  return { firstFrame: first, samples };
}

// How alike `recorded` is to `reference` from `offset` on: the normalised cross-correlation.
function correlation(recorded, reference, offset) {
  let product = 0;
  let recordedEnergy = 0;
  let referenceEnergy = 0;
  for (let i = 0; i < recorded.length; ++i) {
    const value = reference[offset + i];
    product += recorded[i] * value;
    recordedEnergy += recorded[i] * recorded[i];
    referenceEnergy += value * value;
  }
  return product / Math.sqrt(recordedEnergy * referenceEnergy || 1);
}

// Where `recorded` sits within `reference`, searched `searchSamples` either side of
// `expectedOffset`: first every fourth sample, then each sample around the best of those.
function bestOffset(recorded, reference, expectedOffset, searchSamples) {
  const lastOffset = reference.length - recorded.length;
  const search = (from, to, step) => {
    let best = { offset: expectedOffset, score: -Infinity };
    for (let offset = Math.max(0, from); offset <= Math.min(to, lastOffset); offset += step) {
      const score = correlation(recorded, reference, offset);
      if (score > best.score) {
        best = { offset, score };
      }
    }
    return best;
  };
  const coarse = search(expectedOffset - searchSamples, expectedOffset + searchSamples, 4);
  return search(coarse.offset - 4, coarse.offset + 4, 1);
}

// Records the page's output and finds how far its sound is from the track at the second the page
// says it plays: { musicSeconds, lagMs, score }.
async function measureLag(page) {
  const recording = await page.evaluate(recordOutput, kRecordSeconds);
  const { sampleRate, anchor } = recording;
  const { firstFrame, samples } = joinChunks(recording.chunks);
  let energy = 0;
  for (const sample of samples) energy += sample * sample;
  const rms = Math.sqrt(energy / samples.length);
  assert.ok(rms > 1e-3, `the page's output is silent (RMS ${rms.toExponential(2)})`);
  // The music's second of the first recorded sample, as the page's clock gives it.
  const musicSeconds = anchor.heard + firstFrame / sampleRate - (anchor.contextTime - anchor.latency);
  const reference = decodeTrack(musicSeconds - kSearchSeconds, kRecordSeconds + 2 * kSearchSeconds, sampleRate);
  const searchSamples = Math.round(kSearchSeconds * sampleRate);
  const { offset, score } = bestOffset(samples, reference, searchSamples, searchSamples);
  const lagMs = ((offset - searchSamples) / sampleRate) * 1000;
  console.log(`music at ${musicSeconds.toFixed(3)} s: lag ${lagMs.toFixed(2)} ms (correlation ${score.toFixed(3)}, ` +
              `output latency ${(anchor.latency * 1000).toFixed(1)} ms, ${sampleRate} Hz)`);
  return { musicSeconds, lagMs, score };
}

function largestFrameGapMs(checks) {
  return Math.max(...checks.map((check) => Math.abs(check.time - check.heard) * 1000));
}

// The frames' times less the music's, from the lowest to the highest, in ms.
function gapRange(checks) {
  const gaps = checks.map((check) => (check.time - check.heard) * 1000);
  return `${Math.min(...gaps).toFixed(1)} to ${Math.max(...gaps).toFixed(1)} ms`;
}

let browser = null;
before(async () => { browser = await launchBrowser({ sound: true }); });
after(async () => { await browser?.close(); });

// One live page for the three checks, in order; each says its own result.
test('the live music', async (t) => {
  const { page, problems } = await openPage(browser, 'start-at=30&end-at=80', { beforeLoad: noteFrameTimes });
  t.after(() => page.close());
  await waitForOrvo(page, "window.orvo.state === 'playing' && window.orvo.audio && window.orvo.audio.output",
                    'live play with sound');
  assert.equal(await page.evaluate(() => window.orvo.audio.context.state), 'running', 'the AudioContext is not running');

  await t.test('what goes out is the track from the second the page says is heard', async () => {
    const heard = await measureLag(page);
    assert.ok(heard.score > 0.5, `the output does not look like the track (correlation ${heard.score.toFixed(3)})`);
    assert.ok(Math.abs(heard.lagMs) <= kMostLagMs, `the sound is ${heard.lagMs.toFixed(2)} ms off the track`);
  });

  await t.test('each frame\'s time is the music\'s as the frame begins', async () => {
    await page.evaluate(() => { window.orvoFrameChecks = []; });
    await sleep(2000);
    const checks = await page.evaluate(() => window.orvoFrameChecks);
    assert.ok(checks.length >= 2, `only ${checks.length} live frames drawn in 2 s`);
    const gap = largestFrameGapMs(checks);
    console.log(`live play: ${checks.length} frames, largest gap between a frame's time and the music ` +
                `${gap.toFixed(1)} ms (frame less music: ${gapRange(checks)})`);
    assert.ok(gap <= kMostFrameGapMs, `a frame's time was ${gap.toFixed(1)} ms from the music heard (${gapRange(checks)})`);
  });

  await t.test('Right moves the sound with the picture', async () => {
    const beforeJump = await page.evaluate(() => window.orvo.time);
    await page.evaluate(() => { window.orvoFrameChecks = []; });
    await page.keyboard.press('ArrowRight');
    await waitForOrvo(page, `window.orvo.state === 'playing' && window.orvo.time > ${beforeJump + 4.5}`,
                      'the picture to jump ahead', 30000);
    // The jump's own frame may come before the music starts again; the frames after it follow it.
    await sleep(1500);
    const checks = (await page.evaluate(() => window.orvoFrameChecks)).filter((check) => check.time > beforeJump + 4.5);
    assert.ok(checks.length >= 2, `only ${checks.length} frames after the jump`);
    const settled = checks.slice(1);
    const gap = largestFrameGapMs(settled);
    console.log(`after the jump from ${beforeJump.toFixed(2)} s: ${settled.length} frames, largest gap ${gap.toFixed(1)} ms ` +
                `(frame less music: ${gapRange(settled)})`);
    const heard = await measureLag(page);
    assert.ok(heard.musicSeconds > beforeJump + 4.5,
              `the music is at ${heard.musicSeconds.toFixed(2)} s after the jump from ${beforeJump.toFixed(2)} s`);
    assert.ok(heard.score > 0.5, `after the jump the output does not look like the track (correlation ${heard.score.toFixed(3)})`);
    assert.ok(Math.abs(heard.lagMs) <= kMostLagMs, `after the jump the sound is ${heard.lagMs.toFixed(2)} ms off the track`);
    assert.ok(gap <= kMostFrameGapMs, `after the jump a frame's time was ${gap.toFixed(1)} ms from the music heard (${gapRange(settled)})`);
  });

  assert.deepEqual(problems, [], `the page reported problems:\n${problems.join('\n')}`);
});
