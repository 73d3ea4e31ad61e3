// The browser half of board_page.sh. Usage: node board_page.js <board's address> <stored
// run's id> <the desktop's verdict line> <folder for the screenshots>.
"use strict";

const {execFileSync} = require("child_process");
const path = require("path");
const {Page, runOnPage, sleep, until} = require("./page_driver.js");

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

// The board's gold line near the bottom of the shown picture (app/BoardLine's colour).
function boardLinePixels(file) {
  return Number(execFileSync("convert", [
    file, "-sample", "640x480!", "-crop", "640x24+0+428", "-alpha", "off", "-fill", "black",
    "+opaque", "#F2C840", "-fill", "white", "-opaque", "#F2C840", "-format",
    "%[fx:round(mean*w*h)]", "info:"]).toString());
}

const storedText = (file) =>
  `(() => { try { return Module.FS.readFile('${file}', {encoding: 'utf8'}); } catch (e) { return null; } })()`;
const outboxFiles =
  "(() => { try { return Module.FS.readdir('/korimo/replays/outbox').filter((f) => f.endsWith('.krp')).length; }" +
  " catch (e) { return 0; } })()";

async function boardTop() {
  const response = await fetch(board + "/api/top?length=1&limit=100");
  return (await response.json()).runs;
}

// From the title menu: a one-minute run, flown with the shot held for a few seconds and given
// up from the pause. With the board's runs before it, returns the one it added.
async function playShortRun(page, before) {
  await sleep(5000);  // the logo turns, the menu stands
  await page.key("Space");
  await sleep(1500);
  await page.keyDown("Space");
  await sleep(3000);
  await page.keyUp("Space");
  await page.key("KeyP");
  await sleep(300);
  await page.key("KeyQ");
  if (!before) return null;
  const known = new Set(before.map((run) => run.id));
  return until("the run on the board", async () =>
    (await boardTop()).find((run) => !known.has(run.id)), 30);
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

const watch = board + "/play/?replay=" + encodeURIComponent("/runs/" + id + ".krp");
runOnPage("board_page", () => Page.visit(watch), async (page) => {
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

  // Sending: a run played in the page with the board chosen for the visit goes there under
  // the player's name and key, the ranking screen shows its world place over its picture,
  // and the key stays in the page's storage for the next visit.
  const ranked = await boardTop();
  page.url = board + "/play/?board=" + encodeURIComponent(board);
  await page.load();
  const sent = await playShortRun(page, ranked);
  check(sent.name === "web_user" && sent.score < 33490,
        `the run went to the board under the player's name, ${sent.name} ${sent.score}`);
  const placed = path.join(shots, "placed.png");
  await until("the board's line", async () => {
    await page.screenshot(placed);
    return boardLinePixels(placed) > 40;
  }, 20);
  check(true, "the game-over screen shows the run's world place (" + placed + ")");
  const key = await page.evaluate(storedText("/korimo/board.key"));
  check(/^[0-9a-f]{64}\n$/.test(key), "the player's key is kept in the page's storage");
  check(await page.evaluate(outboxFiles) === 0, "the sent run left the outbox");

  // A board that cannot be reached: the run waits in the outbox, stored with the page, and
  // goes at the next visit that can reach it.
  page.url = board + "/play/?board=" + encodeURIComponent("http://127.0.0.1:9");
  await page.load();
  await playShortRun(page, null);
  await until("the offline line", async () => {
    await page.screenshot(placed);
    return boardLinePixels(placed) > 40;
  }, 20);
  await until("the run kept in the outbox", () => page.evaluate(outboxFiles), 10);
  await until("the outbox stored", () => page.evaluate("Module.korimoStored > 0"), 10);
  check(true, "an unreachable board leaves the run in the outbox (" + placed + ")");
  // The board's top lists a name's best run only: the waiting one is seen by its address,
  // the next the board gives out.
  page.url = board + "/play/?board=" + encodeURIComponent(board);
  await page.load();
  await until("the waiting run on the board", async () =>
    (await fetch(board + "/runs/" + (sent.id + 1) + ".krp")).ok, 30);
  await until("the outbox emptied", async () => await page.evaluate(outboxFiles) === 0, 10);
  check(await page.evaluate(storedText("/korimo/board.key")) === key,
        "the next visit sends the waiting run, with the same key");
});
