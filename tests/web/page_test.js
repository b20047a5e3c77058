// The page as a visitor meets it: it loads and shows its first frame cleanly, waits for a click
// when the browser refuses sound, runs the GL without errors, and shows a refused option's message.
'use strict';

const assert = require('node:assert/strict');
const { test, before, after } = require('node:test');
const { launchBrowser, openPage, refuseSoundUntilClick, waitForState, waitForOrvo, orvoRecord, isShown, sleep } =
  require('./harness');
const { nativeFirstErrorLine } = require('./native');

let browser = null;
before(async () => { browser = await launchBrowser({ sound: false }); });
after(async () => { await browser?.close(); });

test('a first visit loads cleanly, shows its first frame under "Click to play", and a click starts the show', async () => {
  const { page, problems } = await openPage(browser, '', { beforeLoad: refuseSoundUntilClick });
  const ready = await waitForState(page, ['ready', 'playing', 'failed']);
  assert.equal(ready.state, 'ready', `without a click the page should wait in 'ready'; it is ${JSON.stringify(ready)}`);
  assert.ok(ready.frames >= 1, `'ready' with ${ready.frames} frames drawn`);
  assert.ok(Number.isFinite(ready.loadMs) && ready.loadMs > 0, `orvo.loadMs is ${ready.loadMs}`);
  console.log(`load to first frame: ${Math.round(ready.loadMs)} ms`);
  assert.equal(await isShown(page, '#progress'), false, 'the loading bar is still shown after the first frame');
  assert.equal(await isShown(page, '#play'), true, 'the "Click to play" layer #play is not shown while sound waits for a click');

  // Nothing moves on before the click.
  await sleep(1000);
  const waiting = await orvoRecord(page);
  assert.equal(waiting.time, ready.time, `orvo.time moved from ${ready.time} to ${waiting.time} s before the click`);

  await page.click('#play');
  const playing = await waitForOrvo(page, `window.orvo.state === 'playing' && window.orvo.time > ${ready.time + 0.5}`,
                                    'the show to play half a second after the click', 30000);
  assert.equal(await isShown(page, '#play'), false, '#play is still shown after the click');
  assert.deepEqual(problems, [], `the page reported problems:\n${problems.join('\n')}`);
  console.log(`after the click: ${playing.frames} frames, ${playing.time.toFixed(2)} s`);
  await page.close();
});

test('a run with gl-debug reports 0 GL errors', async () => {
  const { page, problems } = await openPage(browser, 'gl-debug&seed=3&fixed-step=0.1&start-at=20&end-at=21');
  const ended = await waitForState(page, ['ended', 'failed'], 180000);
  const report = ended.messages.find((line) => /gl-debug: \d+ errors/.test(line));
  assert.ok(report, `no "gl-debug: N errors" line among the program's messages:\n${ended.messages.join('\n')}`);
  console.log(report);
  const errors = Number(/gl-debug: (\d+) errors/.exec(report)[1]);
  assert.equal(errors, 0, `the GL reported ${errors} errors: ${report}`);
  assert.equal(ended.state, 'ended', `the run ${ended.state} with status ${ended.status}`);
  assert.equal(ended.status, 0, `the run ended with status ${ended.status}`);
  // The report itself is a line on stderr, which the page writes as a console error.
  const others = problems.filter((problem) => !problem.endsWith(report));
  assert.deepEqual(others, [], `the page reported problems:\n${others.join('\n')}`);
  await page.close();
});

test('a refused option shows the desktop\'s message on the page', async () => {
  const expected = nativeFirstErrorLine(['--seed', 'x']).trim();
  assert.notEqual(expected, '', 'the native program printed nothing for --seed x');
  const { page } = await openPage(browser, 'seed=x');
  const failed = await waitForState(page, ['failed', 'ready', 'playing']);
  assert.equal(failed.state, 'failed', `?seed=x left the page in '${failed.state}'`);
  assert.notEqual(failed.status, 0, 'a refused option ended with status 0');
  assert.equal(await isShown(page, '#message'), true, '#message is not shown');
  const shown = (await page.$eval('#message', (element) => element.textContent)).trim();
  assert.ok(shown.includes(expected.replace(/^orvo-gl: /, '')),
            `#message says "${shown}"; the desktop says "${expected}"`);
  await page.close();
});
