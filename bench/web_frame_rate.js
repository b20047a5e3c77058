// Live frames per second of the web edition in headless Chromium beside the native ES program's,
// at the same sizes and over the same spans, with the load average each was measured under.
// Run by scripts/bench-web.sh, which serves the site and sets ORVO_WEB_URL.
'use strict';

const fs = require('node:fs');
const path = require('node:path');
const { launchBrowser, openPage, waitForState, nativeProgram } = require('../tests/web/harness');
const { run } = require('../tests/web/native');

const sizes = [[800, 600], [1280, 720]];
const spans = [[0, 20], [110, 125]];
const kRateLine = /(\d+) frames, ([\d.]+) s of presentation in ([\d.]+) s \(([\d.]+) frames per second\)/;

function loadAverage() {
  return fs.readFileSync('/proc/loadavg', 'utf8').split(' ').slice(0, 3).join(' ');
}

async function webRate(browser, [width, height], [startSeconds, endSeconds]) {
  const { page, consoleLines } = await openPage(browser, `fps&start-at=${startSeconds}&end-at=${endSeconds}`, { width, height });
  await waitForState(page, ['ended', 'failed'], (endSeconds - startSeconds + 120) * 1000);
  await page.close();
  // The program's --fps line is on its standard output, which the page writes to the console.
  const line = consoleLines.map((message) => kRateLine.exec(message)).find((match) => match);
  return line ? Number(line[4]) : NaN;
}

function nativeRate([width, height], [startSeconds, endSeconds]) {
  const result = run('xvfb-run', ['-a', '-s', '-screen 0 1920x1080x24', nativeProgram, '--gl', 'es', '--windowed',
    '--size', `${width}x${height}`, '--fps', '--start-at', String(startSeconds), '--end-at', String(endSeconds)],
  { cwd: path.dirname(nativeProgram) });
  const line = kRateLine.exec(String(result.stdout));
  return line ? Number(line[4]) : NaN;
}

async function main() {
  const browser = await launchBrowser({ sound: true });
  try {
    console.log('size       span        web fps  native fps  web/native  load average (web | native)');
    for (const size of sizes) {
      for (const span of spans) {
        const webLoad = loadAverage();
        const web = await webRate(browser, size, span);
        const nativeLoad = loadAverage();
        const native = nativeRate(size, span);
        console.log(`${size.join('x').padEnd(10)} ${span.join('-').padEnd(11)} ${web.toFixed(1).padStart(7)}  ` +
                    `${native.toFixed(1).padStart(10)}  ${(web / native).toFixed(2).padStart(10)}  ${webLoad} | ${nativeLoad}`);
      }
    }
  } finally {
    await browser.close();
  }
}

main().catch((error) => {
  console.error(`web_frame_rate: ${error.message}`);
  process.exitCode = 1;
});
