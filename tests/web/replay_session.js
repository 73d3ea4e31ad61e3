// The browser half of replay_session.sh. Usage: node replay_session.js <served folder>
// <replay file's name in it> <the desktop's verdict line>.
"use strict";

const {Page, runOnPage, until} = require("./page_driver.js");

const [folder, replay, desktop] = process.argv.slice(2);

const open = () => Page.open(folder, "?verify=" + encodeURIComponent(replay));
runOnPage("replay_session", open, async (page) => {
  // The page's own title until the verdict replaces it.
  const shown = await until("the page's verdict", () => page.evaluate(
    "document.title.includes('checksum') && document.title"), 120);
  if (shown !== desktop)
    throw new Error(`the page printed "${shown}", the desktop "${desktop}"`);
  console.log("replay_session: the page printed the same line");
});
