// Drives the page in Debian's headless Chromium through the DevTools protocol: the page
// served on 127.0.0.1, real key events from the browser's automation interface, screenshots
// of the canvas, and expressions evaluated in the page.
"use strict";

const {spawn} = require("child_process");
const fs = require("fs");
const net = require("net");
const os = require("os");
const path = require("path");

const CDP = require(path.join(__dirname, "../../web/node_modules/chrome-remote-interface"));

function freePort() {
  return new Promise((resolve, reject) => {
    const server = net.createServer();
    server.listen(0, "127.0.0.1", () => {
      const {port} = server.address();
      server.close(() => resolve(port));
    });
    server.on("error", reject);
  });
}

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

async function until(what, test, seconds = 30) {
  const end = Date.now() + seconds * 1000;
  for (;;) {
    try {
      const value = await test();
      if (value) return value;
    } catch (error) {
      // not ready yet
    }
    if (Date.now() > end) throw new Error("timed out waiting for " + what);
    await sleep(100);
  }
}

// The key events a real keyboard sends, by the key's code.
const kKeys = {
  Space: {key: " ", windowsVirtualKeyCode: 32, text: " "},
  ArrowUp: {key: "ArrowUp", windowsVirtualKeyCode: 38},
  ArrowDown: {key: "ArrowDown", windowsVirtualKeyCode: 40},
  ArrowLeft: {key: "ArrowLeft", windowsVirtualKeyCode: 37},
  ArrowRight: {key: "ArrowRight", windowsVirtualKeyCode: 39},
  KeyP: {key: "p", windowsVirtualKeyCode: 80, text: "p"},
  KeyQ: {key: "q", windowsVirtualKeyCode: 81, text: "q"},
};

class Page {
  // Serves folder on 127.0.0.1 and opens it in a fresh headless Chromium with its own
  // profile, which keeps the browser's storage across reloads of the page. setUp runs in the
  // page before any of its own scripts.
  static async open(folder, query = "", setUp = "") {
    const httpPort = await freePort();
    const server = spawn("python3", ["-m", "http.server", "--bind", "127.0.0.1",
                                     "--directory", folder, String(httpPort)],
                         {stdio: "ignore", detached: true});
    return Page.visit("http://127.0.0.1:" + httpPort + "/index.html" + query, setUp, server);
  }

  // Opens the page at url, served by someone else (such as a board), or by server, which
  // goes with the page. waitForGame false: the page is loaded, the game may not have started.
  static async visit(url, setUp = "", server = null, waitForGame = true) {
    const page = new Page();
    page.server = server;
    page.url = url;
    page.profile = fs.mkdtempSync(path.join(os.tmpdir(), "korimo-chromium-"));
    const debugPort = await freePort();
    page.browser = spawn("chromium", [
      "--headless=new", "--no-sandbox", "--disable-gpu", "--no-first-run", "--hide-scrollbars",
      "--window-size=1024,768", "--user-data-dir=" + page.profile,
      "--remote-debugging-address=127.0.0.1", "--remote-debugging-port=" + debugPort,
      "about:blank"], {stdio: "ignore", detached: true});
    // Whatever was started goes again when the page cannot be opened.
    try {
      await until("the page's server", () => fetch(page.url).then((r) => r.ok));
      page.client = await until("Chromium", () => CDP({host: "127.0.0.1", port: debugPort}));
      const {Page: pageDomain, Runtime} = page.client;
      page.logs = [];
      Runtime.consoleAPICalled(({type, args}) =>
        page.logs.push(type + ": " + args.map((a) => a.value).join(" ")));
      Runtime.exceptionThrown(({exceptionDetails}) =>
        page.logs.push("exception: " + JSON.stringify(exceptionDetails.exception || {})));
      await pageDomain.enable();
      await Runtime.enable();
      if (setUp) await pageDomain.addScriptToEvaluateOnNewDocument({source: setUp});
      await page.load(waitForGame);
    } catch (error) {
      await page.close();
      throw error;
    }
    return page;
  }

  async load(waitForGame = true) {
    const loaded = this.client.Page.loadEventFired();
    await this.client.Page.navigate({url: this.url});
    await loaded;
    if (!waitForGame) return;
    // The game runs once main has been called and its first frame is on the canvas.
    try {
      await until("the game's first frame", () => this.evaluate(
        "Module.calledRun === true && document.getElementById('status').textContent === ''"));
    } catch (error) {
      error.message += "; the page said:\n" + this.logs.join("\n");
      throw error;
    }
  }

  async evaluate(expression) {
    const {result, exceptionDetails} = await this.client.Runtime.evaluate({
      expression, awaitPromise: true, returnByValue: true});
    if (exceptionDetails) throw new Error(expression + ": " + exceptionDetails.text);
    return result.value;
  }

  async key(code, holdMs = 60) {
    await this.keyDown(code);
    await sleep(holdMs);
    await this.keyUp(code);
  }

  async keyDown(code) {
    await this.client.Input.dispatchKeyEvent({type: "keyDown", code, ...kKeys[code]});
  }

  async keyUp(code) {
    const {text, ...key} = kKeys[code];
    await this.client.Input.dispatchKeyEvent({type: "keyUp", code, ...key});
  }

  // A PNG of the canvas as it shows on the page, and its place there.
  async screenshot(file) {
    const box = await this.evaluate(
      "(() => { const r = document.getElementById('screen').getBoundingClientRect();" +
      " return {x: r.x, y: r.y, width: r.width, height: r.height}; })()");
    const {data} = await this.client.Page.captureScreenshot({
      format: "png", clip: {...box, scale: 1}});
    fs.writeFileSync(file, Buffer.from(data, "base64"));
    return box;
  }

  async close() {
    if (this.client) await this.client.close().catch(() => {});
    // Each was started in a process group of its own, which goes with it (Chromium's helpers).
    for (const child of [this.browser, this.server]) {
      if (child && child.exitCode === null) {
        const exited = new Promise((resolve) => child.once("exit", resolve));
        process.kill(-child.pid, "SIGTERM");
        await exited;
      }
    }
    // Chromium's helper processes may still be writing to the profile for a moment.
    fs.rmSync(this.profile, {recursive: true, force: true, maxRetries: 20, retryDelay: 100});
  }
}

// Runs a test's steps on the page open() gives: whatever goes wrong ends the program with exit
// code 1 and one line naming the test, with what the page said; the page goes in every case.
function runOnPage(name, open, steps) {
  (async () => {
    const page = await open();
    try {
      await steps(page);
    } catch (error) {
      if (page.logs.length) error.message += "; the page said:\n" + page.logs.join("\n");
      throw error;
    } finally {
      await page.close();
    }
  })().catch((error) => {
    console.error(name + ": " + error.message);
    process.exit(1);
  });
}

module.exports = {Page, runOnPage, sleep, until};
