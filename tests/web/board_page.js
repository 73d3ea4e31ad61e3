// The browser half of board_page.sh. Usage: node board_page.js <board's address> <stored
// run's id> <the desktop's verdict line> <folder for the screenshots>.
"use strict";

const {execFileSync} = require("child_process");
const path = require("path");
const {Page, sleep, until} = require("./page_driver.js");

const [board, id, desktop, shots] = process.argv.slice(2);

function check(condition, what) {
  if (!condition) throw new Error(what);
  console.log("board_page: " + what);
}

const status = (page) => page.evaluate("document.getElementById('status').textContent");

// The replay viewer's bar along the bottom of the picture: its plum track (#3C2A4E) shows while
// a run is watched, never on the title.
function viewerBarPixels(file) {
  return Number(execFileSync("convert", [
    file, "-sample", "640x480!", "-crop", "640x4+0+476", "-alpha", "off", "-fill", "black",
    "+opaque", "#3C2A4E", "-fill", "white", "-opaque", "#3C2A4E", "-format",
    "%[fx:round(mean*w*h)]", "info:"]).toString());
}

// Addresses a link could carry that the page must not watch: each gets one line on the page,
// naming what went wrong, and the game starts on its title all the same.
const kRefused = [
  {replay: "http://198.51.100.7/runs/" + id + ".krp", says: "this page's own server"},
  {replay: "data:application/octet-stream;base64,S1JQ", says: "this page's own server"},
  {replay: "//198.51.100.7/runs/" + id + ".krp", says: "this page's own server"},
  {replay: "/runs/987654.krp", says: "could not be fetched: 404"},
  {replay: "/healthz", says: board + "/healthz: "},
  {replay: "/play/korimo.wasm", says: "too large to be a replay"},
];

(async () => {
  const watch = board + "/play/?replay=" + encodeURIComponent("/runs/" + id + ".krp");
  const page = await Page.visit(watch);
  try {
    await sleep(8000);
    const shot = path.join(shots, "watching.png");
    await page.screenshot(shot);
    check(viewerBarPixels(shot) > 600, "the run plays in the replay viewer (" + shot + ")");
    // The run plays in real time to its end.
    const shown = await until("the watched run's end", () => status(page).then(
      (line) => line.startsWith("Watched") && line), 150);
    check(shown === "Watched " + board + "/runs/" + id + ".krp: " + desktop,
          `the page's last frame is the desktop's: "${shown}"`);

    for (const {replay, says} of kRefused) {
      page.url = board + "/play/?replay=" + encodeURIComponent(replay);
      await page.load(false);
      await until("the game's start with " + replay, () => page.evaluate("Module.calledRun"), 60);
      await sleep(1500);  // the first frames, and a refusal the program itself prints
      const line = await status(page);
      check(line.includes(says) && !line.includes("\n"), `${replay}: "${line}"`);
      const title = path.join(shots, "refused.png");
      await page.screenshot(title);
      check(viewerBarPixels(title) === 0, replay + ": the game starts on its title, no replay");
    }
  } catch (error) {
    if (page.logs.length) error.message += "; the page said:\n" + page.logs.join("\n");
    throw error;
  } finally {
    await page.close();
  }
})().catch((error) => {
  console.error("board_page: " + error.message);
  process.exit(1);
});
