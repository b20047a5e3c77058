// The desktop's side of the comparisons: the native program's frames and messages, the track as
// ffmpeg decodes it, and ImageMagick's picture differences.
'use strict';

const { spawnSync } = require('node:child_process');
const path = require('node:path');
const { repoRoot, nativeProgram } = require('./harness');

const runFolder = path.dirname(nativeProgram);

function run(command, args, options = {}) {
  const result = spawnSync(command, args, { cwd: runFolder, maxBuffer: 1 << 28, ...options });
  if (result.error) {
    throw new Error(`${command} could not run: ${result.error.message}`);
  }
  return result;
}

// The native ES program's frame drawn first at or after `seconds`, in a run from `startSeconds`
// with the same seed and fixed step as the page, saved as `file` at width x height.
function nativeFrame({ seed, fixedStep, startSeconds, seconds, width, height, file }) {
  const result = run('xvfb-run', ['-a', '-s', '-screen 0 1024x768x24', nativeProgram,
    '--gl', 'es', '--windowed', '--seed', String(seed), '--fixed-step', String(fixedStep),
    '--start-at', String(startSeconds), '--end-at', String(seconds), '--size', `${width}x${height}`,
    '--screenshot', `${seconds}:${file}`]);
  if (result.status !== 0) {
    throw new Error(`the native program failed (${result.status}): ${result.stderr}`);
  }
}

// The first line the native program writes on stderr when given `args` (without a display).
function nativeFirstErrorLine(args) {
  const result = run(nativeProgram, args, { env: { ...process.env, DISPLAY: '' } });
  return String(result.stderr).split('\n')[0];
}

// The track from `startSeconds` for `lengthSeconds`, mono, at `sampleRate`, as ffmpeg decodes it.
function decodeTrack(startSeconds, lengthSeconds, sampleRate) {
  const result = run('ffmpeg', ['-nostdin', '-v', 'error', '-ss', String(startSeconds), '-t', String(lengthSeconds),
    '-i', path.join(runFolder, 'data', 'Vallomere.mp3'), '-ac', '1', '-ar', String(sampleRate), '-f', 'f32le', '-']);
  if (result.status !== 0) {
    throw new Error(`ffmpeg could not decode the track: ${result.stderr}`);
  }
  const bytes = result.stdout;
  return new Float32Array(bytes.buffer, bytes.byteOffset, Math.floor(bytes.length / 4));
}

// PSNR in dB (Infinity for the same pictures) and the pixels beyond `fuzzPercent` apart.
function comparePictures(fileA, fileB, fuzzPercent) {
  const psnr = run('compare', ['-metric', 'PSNR', fileA, fileB, 'null:']);
  const beyond = run('compare', ['-fuzz', `${fuzzPercent}%`, '-metric', 'AE', fileA, fileB, 'null:']);
  // compare answers 0 for the same pictures, 1 for different ones and 2 for an error.
  for (const result of [psnr, beyond]) {
    if (result.status > 1) {
      throw new Error(`compare failed: ${result.stderr}`);
    }
  }
  const psnrText = String(psnr.stderr).trim();
  const psnrDb = psnrText.startsWith('inf') ? Infinity : parseFloat(psnrText);
  return { psnrDb, pixelsBeyond: parseFloat(String(beyond.stderr)) };
}

function pictureSize(file) {
  const result = run('identify', ['-format', '%w %h', file]);
  const [width, height] = String(result.stdout).split(' ').map(Number);
  return { width, height };
}

module.exports = { repoRoot, nativeFrame, nativeFirstErrorLine, decodeTrack, comparePictures, pictureSize, run };
