// The browser half of page_session.sh. Usage: node page_session.js <page folder>
// <desktop's F1 snapshot of the title menu> <scratch folder>.
"use strict";

const {execFileSync} = require("child_process");
const fs = require("fs");
const path = require("path");
const {Page, sleep, until} = require("./page_driver.js");

const [folder, desktopMenu, scratch] = process.argv.slice(2);
let shots = 0;

function check(condition, what) {
  if (!condition) throw new Error(what);
  console.log("page_session: " + what);
}

// The 320x240 picture as raw RGB bytes, from a BMP snapshot or from a screenshot of the canvas
// at any whole factor (one pixel of each square taken).
function pictureBytes(file) {
  return execFileSync("convert", [file, "-sample", "320x240!", "-depth", "8", "rgb:-"],
                      {maxBuffer: 1 << 22});
}

async function shownPicture(page) {
  const file = path.join(scratch, `page-${shots++}.png`);
  const box = await page.screenshot(file);
  if (box.width % 320 || box.height % 240 || box.width / 320 !== box.height / 240)
    throw new Error(`the canvas shows at ${box.width}x${box.height}, not a whole factor of 320x240`);
  return pictureBytes(file);
}

// The save record's best one-minute score: the eleventh of the first table's twelve integers.
async function storedBest(page) {
  const bytes = await page.evaluate(
    "(() => { try { return Array.from(Module.FS.readFile('/korimo/korimo.sav')); }" +
    " catch (e) { return null; } })()");
  if (!bytes || bytes.length !== 100) return null;
  return Buffer.from(bytes).readInt32LE(4 + 10 * 4);
}

// A game pad in the standard layout, as the Gamepad API lists it, whose buttons the session
// presses: headless Chromium has none of its own.
const kPad = `
  window.testPad = {id: "test pad", connected: true, mapping: "standard", axes: [0, 0, 0, 0],
                    buttons: Array.from({length: 17}, () => ({pressed: false, value: 0}))};
  navigator.getGamepads = () => [window.testPad];`;

async function pressPadButton(page, index) {
  await page.evaluate(`testPad.buttons[${index}].pressed = true`);
  await sleep(300);
  await page.evaluate(`testPad.buttons[${index}].pressed = false`);
  await sleep(300);
}

(async () => {
  const page = await Page.open(folder, "", kPad);
  try {
    await sleep(5000);  // the logo turns and the opening picture fades in: then the menu stands
    const desktop = pictureBytes(desktopMenu);
    const menu = await shownPicture(page);
    // Above the bottom line, where the menu names the options key over the shown picture.
    const aboveHint = 320 * 224 * 3;
    check(menu.subarray(0, aboveHint).equals(desktop.subarray(0, aboveHint)),
          "the title menu shows exactly the desktop's snapshot of it");

    // The browser keeps the sound off until the player does something; the title is silent
    // until then anyway. What the game mixes is listened to from here on.
    check(await page.evaluate("Module.korimoAudio.context.state") === "suspended",
          "the sound waits for the first key");
    await page.evaluate(`(() => {
      const node = Module.korimoAudio.node;
      const play = node.onaudioprocess;
      window.loudest = 0;
      node.onaudioprocess = (event) => {
        play(event);
        for (const value of event.outputBuffer.getChannelData(0))
          loudest = Math.max(loudest, Math.abs(value));
      };
    })()`);

    await page.key("ArrowDown");
    await sleep(300);
    check(await page.evaluate("Module.korimoAudio.context.state") === "running",
          "the first key starts the sound");
    const fiveMinutes = await shownPicture(page);
    check(!fiveMinutes.equals(menu), "Down moves the menu's choice");
    await page.key("ArrowUp");
    await sleep(300);
    check((await shownPicture(page)).equals(menu), "Up moves it back, to the same picture");
    await pressPadButton(page, 13);
    check((await shownPicture(page)).equals(fiveMinutes), "the pad's d-pad down does what Down does");
    await pressPadButton(page, 12);
    check((await shownPicture(page)).equals(menu), "and its d-pad up what Up does");

    const before = await storedBest(page);
    await page.key("Space");
    await sleep(1500);
    check(!(await shownPicture(page)).equals(menu), "Space starts the run");
    await until("the run's music", () => page.evaluate("loudest > 0.1"), 10);
    check(true, "the run's music plays");

    // Twenty seconds of flying with the shot held, up and down the screen, then the run is
    // given up from the pause, which keeps its score as a hit would.
    await page.keyDown("Space");
    const end = Date.now() + 20000;
    for (let step = 0; Date.now() < end; step++) {
      const arrow = ["ArrowUp", "ArrowRight", "ArrowDown", "ArrowLeft"][step % 4];
      await page.keyDown(arrow);
      await sleep(700);
      await page.keyUp(arrow);
    }
    await page.keyUp("Space");
    await page.key("KeyP");
    await sleep(300);
    await page.key("KeyQ");
    const best = await until("the run's score in the stored ranking", async () => {
      const value = await storedBest(page);
      return value !== null && value > 0 && value !== before ? value : 0;
    }, 60);
    check(best > 0, `the run's score ${best} is stored in the ranking`);

    await page.load();
    check(await storedBest(page) === best, "after a reload the ranking still holds " + best);
    const replay = await page.evaluate(
      "(() => { try { return Array.from(Module.FS.readFile('/korimo/replays/last1.krp').slice(0, 4)); }" +
      " catch (e) { return null; } })()");
    check(replay && Buffer.from(replay).toString("latin1") === "KRPL",
          "after a reload the run's replay is still kept");
  } finally {
    if (page.logs.length) fs.writeFileSync(path.join(scratch, "page.log"), page.logs.join("\n"));
    await page.close();
  }
})().catch((error) => {
  console.error("page_session: " + error.message);
  process.exit(1);
});
