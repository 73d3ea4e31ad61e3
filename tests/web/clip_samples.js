// The page's decoding of every clip (web/clips.js with the page's WebAssembly libmpg123) gives
// the desktop's samples: exactly the same length, the encoder's delay and padding cut off
// alike, and every sample within one step. The WebAssembly build synthesises in floating point
// and the page rounds each sample itself; a sum that lies at a half step then rounds either way,
// in about one sample in a thousand (the desktop's own library differs as much between its
// plain C and its AVX synthesis).
// Usage: node clip_samples.js <folder written by clip_dump>.
"use strict";

const fs = require("fs");
const path = require("path");
const vm = require("vm");

const web = path.join(__dirname, "../../web");
// The decoder's browser bundle, loaded as the page loads it; it looks for a Worker class only
// to offer a variant in a worker, which this does not use.
globalThis.Worker = globalThis.Worker || class {};
vm.runInThisContext(fs.readFileSync(
  path.join(web, "node_modules/mpg123-decoder/dist/mpg123-decoder.min.js"), "utf8"));
const clips = require(path.join(web, "clips.js"));

(async () => {
  const folder = process.argv[2];
  const names = fs.readdirSync(folder).filter((f) => f.endsWith(".mp3")).map((f) => f.slice(0, -4));
  if (names.length === 0) throw new Error("no clips in " + folder);
  const streams = names.map((name) => ({
    key: name, channels: 1, bytes: new Uint8Array(fs.readFileSync(path.join(folder, name + ".mp3")))}));
  const decoded = await clips.decodeAll(globalThis["mpg123-decoder"].MPEGDecoder, streams);
  let failures = 0;
  for (const name of names) {
    const desktop = fs.readFileSync(path.join(folder, name + ".pcm"));
    const expected = new Int16Array(desktop.buffer, desktop.byteOffset, desktop.length / 2);
    const clip = decoded.get(name);
    if (!clip.pcm) {
      console.log(`${name}: not decoded: ${clip.fault}`);
      failures++;
      continue;
    }
    let differing = 0;
    let largest = 0;
    for (let i = 0; i < Math.min(expected.length, clip.pcm.length); i++) {
      const difference = Math.abs(expected[i] - clip.pcm[i]);
      if (difference) differing++;
      largest = Math.max(largest, difference);
    }
    // A decoder that rounds otherwise, or drops the gapless trim, differs in most samples.
    const alike = expected.length === clip.pcm.length && largest <= 1 &&
                  differing * 100 <= expected.length;
    console.log(`${name}: desktop ${expected.length} samples, page ${clip.pcm.length}, ` +
                `${differing} differ, by at most ${largest}`);
    if (!alike) failures++;
  }
  process.exit(failures ? 1 : 0);
})().catch((error) => {
  console.error(error);
  process.exit(1);
});
