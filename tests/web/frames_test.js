// The page's fixed-step frames against the native ES program's at the same times and size.
// A screenshot takes the first frame at or after its time, and a run ends after the first frame
// past its end-at: both runs start at the same second, the screenshot is asked for at the page's
// end-at, and the page's canvas is read as that frame is shown (ending the run releases the
// canvas), so both sides hold the very same step's frame.
'use strict';

const assert = require('node:assert/strict');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const { test, before, after } = require('node:test');
const { launchBrowser, openPage, waitForState } = require('./harness');
const { nativeFrame, comparePictures, pictureSize } = require('./native');

const kSeed = 3;
const kFixedStep = 0.1;
// Half a second of steps before each frame: SwiftShader draws a few frames a second.
const kLeadSeconds = 0.5;
const kMinimumPsnrDb = 38;
const kMostPixelsBeyondShare = 0.01;
const kWidth = 800;
const kHeight = 600;
// Just before the step's own time, so that a sum of steps a hair short of it still counts.
const frameSeconds = [2, 25, 56, 98, 112].map((seconds) => seconds - kFixedStep / 2);

// Before the page's scripts: the canvas is read when orvo.time first passes `seconds`, that is
// as the frame of that time is shown (the drawing buffer is kept until the next frame).
function readFrameAfter(seconds) {
  let record;
  Object.defineProperty(window, 'orvo', {
    configurable: true,
    get: () => record,
    set: (value) => {
      let time = value.time;
      Object.defineProperty(value, 'time', {
        configurable: true,
        enumerable: true,
        get: () => time,
        set: (frameSeconds) => {
          time = frameSeconds;
          if (!window.orvoFrame && frameSeconds > seconds) {
            window.orvoFrame = { time: frameSeconds,
                                 png: document.getElementById('canvas').toDataURL('image/png') };
          }
        },
      });
      record = value;
    },
  });
}

let browser = null;
let folder = '';
before(async () => {
  browser = await launchBrowser();
  folder = fs.mkdtempSync(path.join(os.tmpdir(), 'orvo-web-frames-'));
});
after(async () => {
  await browser?.close();
  fs.rmSync(folder, { recursive: true, force: true });
});

for (const seconds of frameSeconds) {
  test(`the fixed-step frame at ${seconds.toFixed(2)} s matches the native ES frame`, async () => {
    const startSeconds = Math.round((seconds - kLeadSeconds) * 100) / 100;
    const nativeFile = path.join(folder, `native-${seconds}.png`);
    const webFile = path.join(folder, `web-${seconds}.png`);
    nativeFrame({ seed: kSeed, fixedStep: kFixedStep, startSeconds, seconds, width: kWidth, height: kHeight,
                  file: nativeFile });

    const query = `seed=${kSeed}&fixed-step=${kFixedStep}&start-at=${startSeconds}&end-at=${seconds}`;
    const { page, problems } = await openPage(browser, query, { width: kWidth, height: kHeight,
                                                               beforeLoad: readFrameAfter, beforeLoadArguments: [seconds] });
    const ended = await waitForState(page, ['ended', 'failed'], 180000);
    assert.equal(ended.state, 'ended', `?${query} ${ended.state}: ${ended.messages.join(' | ')}`);
    const frame = await page.evaluate(() => window.orvoFrame);
    await page.close();
    assert.ok(frame, `no frame was shown past ${seconds} s; the run ended at ${ended.time} s`);
    assert.ok(frame.time <= seconds + kFixedStep, `the frame read is at ${frame.time} s; the first step past ${seconds} s was wanted`);
    assert.equal(ended.time, frame.time, `the run went on past the frame read (${frame.time} s) to ${ended.time} s`);
    fs.writeFileSync(webFile, Buffer.from(frame.png.slice(frame.png.indexOf(',') + 1), 'base64'));

    const size = pictureSize(webFile);
    assert.deepEqual(size, { width: kWidth, height: kHeight }, `the canvas read ${size.width}x${size.height}`);
    const { psnrDb, pixelsBeyond } = comparePictures(webFile, nativeFile, 5);
    const share = pixelsBeyond / (kWidth * kHeight);
    console.log(`frame at ${frame.time.toFixed(2)} s (${kWidth}x${kHeight}): PSNR ${psnrDb.toFixed(2)} dB, ` +
                `${(share * 100).toFixed(3)} % of pixels beyond 5 %`);
    if (process.env.ORVO_WEB_KEEP_FRAMES) {
      // The frames kept where asked, for a look or for the README's picture.
      fs.copyFileSync(webFile, path.join(process.env.ORVO_WEB_KEEP_FRAMES, path.basename(webFile)));
      fs.copyFileSync(nativeFile, path.join(process.env.ORVO_WEB_KEEP_FRAMES, path.basename(nativeFile)));
    }
    assert.ok(psnrDb >= kMinimumPsnrDb, `PSNR ${psnrDb.toFixed(2)} dB < ${kMinimumPsnrDb} dB at ${seconds} s`);
    assert.ok(share < kMostPixelsBeyondShare,
              `${(share * 100).toFixed(3)} % of pixels beyond 5 % at ${seconds} s (at most 1 %)`);
    assert.deepEqual(problems, [], `the page reported problems:\n${problems.join('\n')}`);
  });
}
