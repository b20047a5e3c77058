// What the web edition's tests share: Debian's Chromium started headless with the flags the page
// is tested under, a page opened on the served site with every page error, console error and
// failed request recorded, waits on the page's `window.orvo` record, and reading the canvas.
// The site's address comes from ORVO_WEB_URL (scripts/test-web.sh serves build-web/site there).
'use strict';

const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const puppeteer = require('puppeteer-core');

const siteUrl = process.env.ORVO_WEB_URL || 'http://127.0.0.1:8000/';
const repoRoot = path.resolve(__dirname, '..', '..');
const nativeProgram = path.join(repoRoot, 'build', 'run', 'orvo-gl');

// SwiftShader draws a few frames a second: waits are long, but each has its own limit so that a
// stalled page fails with what it was waiting for instead of hanging the run.
const kLoadTimeoutMs = 90000;
const kWebGLWarning = /WebGL|GL_INVALID|GL ERROR/;

// Starts Chromium; `sound` lets the page play sound without a click. (Headless Chromium takes
// every page as one the user has used, so it lets sound start unasked even under
// user-gesture-required: refuseSoundUntilClick stands in for that policy.)
async function launchBrowser({ sound = false } = {}) {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'orvo-web-profile-'));
  const args = [
    '--no-sandbox', '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
    '--disable-background-networking', '--disable-component-update', '--disable-sync', '--no-first-run',
    `--user-data-dir=${profile}`,
  ];
  if (sound) {
    args.push('--autoplay-policy=no-user-gesture-required');
  }
  const browser = await puppeteer.launch({
    executablePath: process.env.ORVO_CHROMIUM || '/usr/bin/chromium',
    headless: true,
    args,
    protocolTimeout: 300000,
  });
  const close = browser.close.bind(browser);
  browser.close = async () => {
    await close();
    fs.rmSync(profile, { recursive: true, force: true });
  };
  return browser;
}

// Opens the page with `query` (without its '?') at width x height CSS pixels, one device pixel
// each; `beforeLoad(...beforeLoadArguments)` runs in the page before its own scripts. The
// returned record's `problems` lists page errors, console errors, WebGL warnings and failed
// requests as they come; `consoleLines` is the whole console.
async function openPage(browser, query, { width = 800, height = 600, beforeLoad = null, beforeLoadArguments = [] } = {}) {
  const page = await browser.newPage();
  await page.setViewport({ width, height, deviceScaleFactor: 1 });
  const problems = [];
  const consoleLines = [];
  page.on('pageerror', (error) => problems.push(`page error: ${error.message}`));
  page.on('console', (message) => {
    consoleLines.push(`${message.type()}: ${message.text()}`);
    if (message.type() === 'error') {
      problems.push(`console error: ${message.text()}`);
    } else if ((message.type() === 'warn' || message.type() === 'warning') && kWebGLWarning.test(message.text())) {
      // Chromium reports the WebGL's errors as console warnings.
      problems.push(`WebGL warning: ${message.text()}`);
    }
  });
  page.on('requestfailed', (request) =>
    problems.push(`failed request: ${request.url()} (${request.failure()?.errorText})`));
  page.on('response', (response) => {
    if (response.status() >= 400) {
      problems.push(`failed request: ${response.url()} (HTTP ${response.status()})`);
    }
  });
  if (beforeLoad) {
    await page.evaluateOnNewDocument(beforeLoad, ...beforeLoadArguments);
  }
  await page.goto(siteUrl + (query ? `?${query}` : ''), { waitUntil: 'load', timeout: kLoadTimeoutMs });
  return { page, problems, consoleLines };
}

// Before the page's scripts: audio contexts behave as under a browser that refuses sound before
// the user's first click. They start suspended, and resume() before a click stays pending until
// one comes, as Chromium's own promise does.
function refuseSoundUntilClick() {
  const NativeContext = window.AudioContext;
  const waiting = [];
  let clicked = false;
  document.addEventListener('click', (event) => {
    if (event.isTrusted && !clicked) {
      clicked = true;
      waiting.splice(0).forEach((resume) => resume());
    }
  }, true);
  window.AudioContext = class extends NativeContext {
    constructor(...options) {
      super(...options);
      if (!clicked) {
        NativeContext.prototype.suspend.call(this);
      }
    }

    resume() {
      if (clicked) {
        return super.resume();
      }
      return new Promise((resolve, reject) =>
        waiting.push(() => NativeContext.prototype.resume.call(this).then(resolve, reject)));
    }
  };
}

// The page's `window.orvo` fields that say where it is.
function orvoRecord(page) {
  return page.evaluate(() => {
    const orvo = window.orvo;
    if (!orvo) {
      return null;
    }
    return { state: orvo.state, frames: orvo.frames, time: orvo.time, status: orvo.status,
             loadMs: orvo.loadMs, messages: [...(orvo.messages || [])] };
  });
}

// Waits until `window.orvo` satisfies `predicate` (a page-side function of orvo); on time out the
// error says what the record was.
async function waitForOrvo(page, predicate, what, timeoutMs = kLoadTimeoutMs) {
  try {
    await page.waitForFunction(predicate, { timeout: timeoutMs, polling: 50 });
  } catch (error) {
    const record = await orvoRecord(page).catch(() => null);
    throw new Error(`waited ${timeoutMs} ms for ${what}; window.orvo is ${JSON.stringify(record)}`);
  }
  return orvoRecord(page);
}

function waitForState(page, states, timeoutMs = kLoadTimeoutMs) {
  const wanted = [].concat(states);
  return waitForOrvo(page, `window.orvo && ${JSON.stringify(wanted)}.includes(window.orvo.state)`,
                     `state ${wanted.join(' or ')}`, timeoutMs);
}

// The canvas as PNG bytes (the drawing buffer is kept, so this is the last frame drawn).
async function readCanvas(page) {
  const dataUrl = await page.evaluate(() => document.getElementById('canvas').toDataURL('image/png'));
  return Buffer.from(dataUrl.slice(dataUrl.indexOf(',') + 1), 'base64');
}

// Whether an element is shown: in the page, displayed, and not hidden by its own style.
function isShown(page, selector) {
  return page.evaluate((selector) => {
    const element = document.querySelector(selector);
    if (!element || element.hidden) {
      return false;
    }
    const style = getComputedStyle(element);
    const box = element.getBoundingClientRect();
    return style.display !== 'none' && style.visibility !== 'hidden' && box.width > 0 && box.height > 0;
  }, selector);
}

function sleep(ms) {
  return new Promise((resolve) => setTimeout(resolve, ms));
}

module.exports = {
  siteUrl, repoRoot, nativeProgram, launchBrowser, openPage, refuseSoundUntilClick, orvoRecord, waitForOrvo, waitForState,
  readCanvas, isShown, sleep,
};
